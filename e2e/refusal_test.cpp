// A Wayland desktop that offers no way to other programs' windows to us: KWin gives its window
// management and fake input only to programs its desktop entries name, and none names this
// test. The capture must say so at its first step, and what to do.
#include <gtest/gtest.h>

#include <QApplication>

#include "capture/capturecommands.h"
#include "e2e/support/realdesktop.h"
#include "e2e/support/waylandsession.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {
namespace {

TEST(WaylandRefusal, TheCaptureSaysWhatIsMissingAndWhatWorks) {
  test::TempDir dir;
  RealDesktop desk{dir.path()};
  ModelWindow window;
  window.options[2] = true;
  PushButton2_Click(desk.services, window);
  ASSERT_EQ(desk.messages.shown.size(), 1u);
  const Text& prompt = desk.messages.shown[0].prompt;
  EXPECT_EQ(desk.messages.shown[0].title, u"Application Error");
  EXPECT_TRUE(prompt.starts_with(u"KDE Plasma lets Pagewick find, bring forward and type into other programs' "
                                 u"windows only when Pagewick's installed desktop entry allows it, and it does not "
                                 u"here. Install Pagewick from its package")) << toUtf8(prompt);
  EXPECT_NE(prompt.find(u".Form1.PushButton2_Click at line "), Text::npos) << toUtf8(prompt);
  EXPECT_EQ(window.text1_, u"\r");  // as when no browser is open: the line break, nothing copied
}

}  // namespace
}  // namespace pw::e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  pw::e2e::KWinSession session;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
