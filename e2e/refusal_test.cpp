// A Wayland desktop that offers no way to other programs' windows to us. KWin gives its window
// management and fake input only to programs its desktop entries name, and none names this test;
// GNOME needs our shell extension, which is either missing or answers another program only;
// Weston offers none of the protocols at all, and Miriway none until its user adds them.
// PAGEWICK_E2E_REFUSAL=kwin, gnome-missing, gnome-stranger, weston or miriway picks the case. The capture must say
// so at its first step, and what to do.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/capturecommands.h"
#include "e2e/support/realdesktop.h"
#include "e2e/support/waylandsession.h"
#include "platform/gnome/shellservice.h"
#include "platform/wayland/refusingautomation.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {
namespace {

Text expected;  // how the box's text starts

TEST(WaylandRefusal, TheCaptureSaysWhatIsMissingAndWhatWorks) {
  test::TempDir dir;
  RealDesktop desk{dir.path()};
  ModelWindow window;
  window.options[2] = true;
  PushButton2_Click(desk.services, window);
  ASSERT_EQ(desk.messages.shown.size(), 1u);
  const Text& prompt = desk.messages.shown[0].prompt;
  EXPECT_EQ(desk.messages.shown[0].title, u"Application Error");
  EXPECT_TRUE(prompt.starts_with(expected)) << toUtf8(prompt);
  EXPECT_NE(prompt.find(u".Form1.PushButton2_Click at line "), Text::npos) << toUtf8(prompt);
  EXPECT_EQ(window.text1_, u"\r");  // as when no browser is open: the line break, nothing copied
}

}  // namespace
}  // namespace pw::e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  using namespace pw::e2e;
  const std::string refusal = std::getenv("PAGEWICK_E2E_REFUSAL") ? std::getenv("PAGEWICK_E2E_REFUSAL") : "kwin";
  std::unique_ptr<Session> session;
  if (refusal == "kwin") {
    session = std::make_unique<KWinSession>();
    expected = u"KDE Plasma lets Pagewick find, bring forward and type into other programs' windows only when "
               u"Pagewick's installed desktop entry allows it, and it does not here. Install Pagewick from its "
               u"package";
  } else if (refusal == "weston") {
    session = std::make_unique<WestonSession>();
    expected = u"This Wayland desktop does not let Pagewick find, bring forward or type into other programs' "
               u"windows: the compositor lacks zwlr_foreign_toplevel_manager_v1, zwp_virtual_keyboard_manager_v1, ";
  } else if (refusal == "miriway") {
    session = std::make_unique<MiriwaySession>(WaylandOptions{}, false);
    expected = u"This Wayland desktop does not let Pagewick find, bring forward or type into other programs' "
               u"windows: the compositor lacks zwlr_foreign_toplevel_manager_v1, zwp_virtual_keyboard_manager_v1, "
               u"ext_data_control_manager_v1 or zwlr_data_control_manager_v1. Mir offers them once its "
               u"configuration adds them: on Miriway, add the line " + pw::ascii(pw::wayland::kMirExtensionsLine);
  } else if (refusal == "gnome-missing") {
    session = std::make_unique<GnomeSession>(WaylandOptions{}, false);
    expected = pw::gnome::extensionMissingDescription();
  } else {
    // The extension answers the installed program only; this test is another.
    session = std::make_unique<GnomeSession>(WaylandOptions{.trusted = {"/usr/lib/pagewick/pagewick"}});
    expected = u"Pagewick's GNOME Shell extension answers Pagewick's installed program only, and this one is not it (";
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
