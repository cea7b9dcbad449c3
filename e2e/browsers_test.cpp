// The capture against real browsers under a private X server: the services alone, then both
// capture commands. Run with PAGEWICK_E2E_NO_WM=1 for a server without a window manager,
// PAGEWICK_E2E_LAYOUT=ru for a Russian keyboard layout in front of the Latin one, and
// PAGEWICK_E2E_WAYLAND=sway, =labwc, =wayfire, =miriway, =kwin or =gnome for native Wayland
// browsers under that compositor, headless.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/capturecommands.h"
#include "capture/capture.h"
#include "capture/clipboardretry.h"
#include "capture/pause.h"
#include "e2e/support/plasmawindows.h"
#include "e2e/support/program.h"
#include "e2e/support/realdesktop.h"
#include "e2e/support/waylandsession.h"
#include "e2e/support/wlrtoplevels.h"
#include "e2e/support/xsession.h"
#include "platform/x11/x11windows.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {
namespace {

Session* session = nullptr;
XSession* xsession = nullptr;    // when the session is an X server
SwaySession* sway = nullptr;     // when it is a Wayland compositor: sway
ToplevelListSession* listed = nullptr;  // or labwc or Wayfire
KWinSession* kwin = nullptr;     // or KWin
GnomeSession* gnome = nullptr;   // or GNOME Shell


const std::string kLongLine = [] {
  std::string line;
  for (int i = 0; i < 300; ++i) line += std::to_string(i % 10) + "abcdefghi";
  return line;
}();

std::string page(const std::string& title) {
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
         "</title></head><body>"
         "<h1>Съешь же ещё этих мягких булок</h1>"
         "<p>Ünïcödé café — naïve 😀</p>"
         "<table><tr><td>a1</td><td>b1</td></tr><tr><td>a2</td><td>b2</td></tr></table>"
         "<p>" + kLongLine + "</p></body></html>";
}

// The page's pieces, in order, each on a line of its own; table cells apart by a tab.
void expectPage(const Text& captured) {
  const std::string text = toUtf8(captured);
  std::size_t at = 0;
  for (const std::string& piece : {std::string("Съешь же ещё этих мягких булок"), std::string("Ünïcödé café — naïve 😀"),
                                   std::string("a1\tb1"), std::string("a2\tb2"), kLongLine}) {
    const std::size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << "missing " << piece << " in:\n" << text;
    at = found + piece.size();
  }
}

struct Browser {
  const char16_t* name;   // what the capture activates
  const char16_t* title;  // part of the loaded window's title
};

class BrowsersTest : public ::testing::TestWithParam<Browser> {
 public:
  static void SetUpTestSuite() {
    session->startFirefox("file://" + session->writeFile("firefox.html", page("Pagewick Test Page")));
    // Chromium's window ends in its own name: the "Google Chrome" choice finds it as Chrome's stand-in.
    session->startChromium("file://" + session->writeFile("chromium.html", page("Pagewick Chromium Page")));
    ASSERT_TRUE(session->waitForWindow(u"Pagewick Test Page")) << "no Firefox window";
    // A private window's title ends in words of its own after "Firefox"; found as Firefox's stand-in.
    if (std::getenv("PAGEWICK_E2E_FIREFOX_PRIVATE")) {
      ASSERT_TRUE(session->waitForWindow(u"Mozilla Firefox Private Browsing")) << "no private Firefox window";
    }
    ASSERT_TRUE(session->waitForWindow(u"Pagewick Chromium Page")) << "no Chromium window";
  }

 protected:
  test::TempDir dir;
  RealDesktop desk{dir.path()};
};

TEST_P(BrowsersTest, ServicesCopyThePageText) {
  ClipboardClear(desk.clipboard);
  // A browser's copy was there: were it still offered, it would be read as this one.
  ASSERT_FALSE(desk.clipboard.hasText()) << "the cleared clipboard still offers text";
  desk.automation.activate(GetParam().name);
  Pause(desk.events, 0.1);
  desk.automation.sendKeys(u"^a");
  Pause(desk.events, 0.1);
  desk.automation.sendKeys(u"^c");
  Pause(desk.events, 0.1);
  WaitForCopiedText(desk.clipboard, desk.events);
  expectPage(ClipboardGetText(desk.clipboard, 0));
}

TEST_P(BrowsersTest, CaptureCommandsDeliverTheTextExactly) {
  ModelWindow window;
  window.options[GetParam().name == Text(u"Firefox") ? 2 : 1] = true;
  window.text2_ = fromUtf8(dir / "out.txt");
  ASSERT_TRUE(ClipboardSetText(desk.clipboard, u"the user's text", 0));

  PushButton2_Click(desk.services, window);
  EXPECT_TRUE(desk.messages.shown.empty());
  ASSERT_TRUE(window.text1_.starts_with(u"\r"));
  const Text captured = window.text1_.substr(1);
  expectPage(captured);
  if (std::getenv("PAGEWICK_E2E_SHOW")) std::cout << toUtf8(captured).substr(0, 200) << "\n";
  EXPECT_EQ(ClipboardGetText(desk.clipboard, 0), u"the user's text");
  // Only a window manager keeps a window above others; sway has no such state.
  if (xsession && !std::getenv("PAGEWICK_E2E_NO_WM")) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.above(); }, 5000));
  }

  PushButton4_Click(desk.services, window);
  PushButton4_Click(desk.services, window);
  EXPECT_TRUE(desk.messages.shown.empty());
  const std::string once = toUtf8(captured) + "\r\n";
  EXPECT_EQ(test::readBytes(dir / "out.txt"), once + once);
  EXPECT_EQ(ClipboardGetText(desk.clipboard, 0), captured);
}

TEST_P(BrowsersTest, AMinimisedWindowOrOneOnAnotherDesktopIsBroughtBack) {
  if (std::getenv("PAGEWICK_E2E_NO_WM")) GTEST_SKIP() << "minimising and desktops need a window manager";
  const std::string title = toUtf8(GetParam().title);
  if (sway) {
    // sway hides a window in its scratchpad rather than minimising it, or on another workspace.
    ASSERT_TRUE(sway->command("[title=\"" + title + "\"] move scratchpad"));
    desk.automation.activate(GetParam().name);
    EXPECT_NE(sway->focusedTitle().find(title), std::string::npos) << sway->focusedTitle();
    ASSERT_TRUE(sway->command("[title=\"" + title + "\"] floating disable, move workspace 2"));
    desk.automation.activate(GetParam().name);
    EXPECT_NE(sway->focusedTitle().find(title), std::string::npos) << sway->focusedTitle();
    sway->command("[title=\"" + title + "\"] move workspace 1");
    return;
  }
  if (gnome) {
    ASSERT_TRUE(gnome->minimise(GetParam().title));
    desk.automation.activate(GetParam().name);
    EXPECT_NE(gnome->focusedTitle().value_or(u"").find(GetParam().title), Text::npos);
    return;
  }
  // Minimised as the window's title bar does, through the compositor's list of windows.
  const auto minimiseAndBringBack = [&](auto&& windows) {
    ASSERT_TRUE(windows.minimise(GetParam().title));
    desk.automation.activate(GetParam().name);
    EXPECT_TRUE(windows.active(GetParam().title));
  };
  if (kwin) return minimiseAndBringBack(PlasmaWindows(kwin->socket()));
  if (listed) return minimiseAndBringBack(WlrToplevels(listed->socket()));
  // The managed window itself: a search by name may also find a browser's hidden windows.
  const auto found = xsession->waitForWindow(
      [&](const WindowCandidate& w) { return w.title.find(GetParam().title) != Text::npos; }, 30000);
  ASSERT_TRUE(found);
  const std::string window = std::to_string(*found);
  ASSERT_EQ(session->run({"xdotool", "windowminimize", "--sync", window}), 0);
  desk.automation.activate(GetParam().name);
  ASSERT_EQ(session->run({"xdotool", "set_num_desktops", "2"}), 0);
  ASSERT_EQ(session->run({"xdotool", "set_desktop_for_window", window, "1"}), 0);
  // Both are requests to the window manager, carried out when it gets to them: activating before
  // would find the window still here, and a busy machine saw it moved away only afterwards.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return session->output({"xdotool", "get_desktop_for_window", window}) == "1\n" &&
           session->output({"xdotool", "getactivewindow"}) != window + "\n";
  }, 10000));
  desk.automation.activate(GetParam().name);
  // The window manager announces the change a moment after the focus moved.
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return session->output({"xdotool", "getactivewindow", "getwindowname"}).find(title) != std::string::npos;
  }, 5000));
  EXPECT_EQ(session->output({"xdotool", "get_desktop"}), "1\n");
  session->run({"xdotool", "set_desktop_for_window", window, "0"});
  session->run({"xdotool", "set_desktop", "0"});
}

// What another program reads from the clipboard; this process serves it meanwhile.
std::string clipboardElsewhere() {
  const std::string out = session->folder() + "/clipboard-read.txt";
  std::remove(out.c_str());
  // KWin tells a new reader nothing while the clipboard is empty, and wl-paste waits for word.
  // On GNOME through XWayland, which shares the clipboard with Wayland programs.
  Process& reader = session->start(!xsession && !gnome
                                       ? std::vector<std::string>{"timeout", "3", "wl-paste", "--no-newline"}
                                       : std::vector<std::string>{"xclip", "-o", "-selection", "clipboard"},
                                   {}, "clipboard-read.txt");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !reader.running(); }, 30000));
  std::ifstream in(out, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Clipboard, ClearingReallyEmptiesIt) {
  RealDesktop desk{"/nonexistent"};
  Clipboard& clipboard = desk.clipboard;
  ClipboardSetText(clipboard, u"left over", 0);
  EXPECT_EQ(clipboardElsewhere(), "left over");
  ClipboardClear(clipboard);
  EXPECT_FALSE(clipboard.hasText());
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"");
  EXPECT_EQ(clipboardElsewhere().find("left over"), std::string::npos);
}

// A large text from another program arrives whole and exact, however long its owner takes.
TEST(Clipboard, ALargeTextFromAnotherProgramArrivesWhole) {
  // The GNOME session offers through xclip on XWayland. The shell hands on an X11 owner's text
  // only once all of it has come, and xclip's first large transfer took about 5 s, past the
  // extension's 2 s limit; even another xclip's read of it at times took over 30 s.
  // bench/gnome_routes_bench.cpp reads 10 MB from native Wayland Chromium instead.
  if (gnome) GTEST_SKIP() << "xclip's large offer through XWayland is too slow, at times stalls";
  std::string large;
  for (int i = 0; large.size() < 10 * 1024 * 1024; ++i) large += "Line " + std::to_string(i) + " — ещё\n";
  if (xsession) {
    offerClipboard(*xsession, large);
  } else {
    dynamic_cast<WaylandSession*>(session)->offerClipboard(large);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboardElsewhere().size() == large.size(); }, 60000));
  }
  RealDesktop desk{"/nonexistent"};
  // A compositor learns of an X11 owner's offer a moment after X11 programs do.
  ASSERT_TRUE(QTest::qWaitFor([&] { return desk.clipboard.hasText(); }, 30000));
  const std::string got = toUtf8(ClipboardGetText(desk.clipboard, 0));
  EXPECT_EQ(got.size(), large.size());
  EXPECT_TRUE(got == large);  // not printed: 10 MB
}

// A program that takes the clipboard and then never answers: reading gives up after one short
// wait instead of Qt's 5 s a request, and taking the clipboard works at once.
TEST(Clipboard, AnOwnerThatNeverAnswersCostsABoundedStall) {
  // On X11 a client that takes the selection and never reads its requests; on Wayland a wl-copy
  // (on GNOME an xclip) that offers its text and is then stopped.
  Display* hostile = nullptr;
  Process* stopped = nullptr;
  if (xsession) {
    hostile = XOpenDisplay(xsession->display().c_str());
    const Window w = XCreateSimpleWindow(hostile, DefaultRootWindow(hostile), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(hostile, XInternAtom(hostile, "CLIPBOARD", False), w, CurrentTime);
    XSync(hostile, False);
  } else {
    stopped = &dynamic_cast<WaylandSession*>(session)->offerClipboard("never given");
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboardElsewhere() == "never given"; }, 30000));
    ::kill(stopped->pid(), SIGSTOP);
  }
  RealDesktop desk{"/nonexistent"};
  Clipboard& clipboard = desk.clipboard;
  QTest::qWait(100);  // Qt learns of the new owner

  using Clock = std::chrono::steady_clock;
  double longest = 0;
  const auto timed = [&](auto&& call) {
    const auto start = Clock::now();
    call();
    longest = std::max(longest, std::chrono::duration<double>(Clock::now() - start).count());
  };
  timed([&] { EXPECT_EQ(ClipboardGetText(clipboard, 0), u""); });
  timed([&] { clipboard.hasText(); });
  std::printf("longest stall with a silent clipboard owner: %.2f s\n", longest);
  EXPECT_LT(longest, 5.0);  // a bound on a hang (Qt alone: 15 s), not a speed target
  timed([&] { ClipboardSetText(clipboard, u"ours now", 0); });
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"ours now");
  if (hostile) XCloseDisplay(hostile);
  if (stopped) ::kill(stopped->pid(), SIGCONT);
}

INSTANTIATE_TEST_SUITE_P(Real, BrowsersTest,
                         ::testing::Values(Browser{u"Firefox", u"Pagewick Test Page"},
                                           Browser{u"Google Chrome", u"Pagewick Chromium Page"}),
                         [](const auto& info) { return info.index == 0 ? "Firefox" : "Chromium"; });

// The report names what it looked for and what it found instead: the browsers' windows.
TEST(NoBrowser, ActivationNamesWhatItLookedForAndWhatIsOpen) {
  RealDesktop desk{"/nonexistent"};
  const auto open = xsession ? x11::X11Windows().windows() : std::vector<WindowCandidate>{};
  try {
    desk.automation.activate(u"Internet Explorer");
    FAIL() << "activated something";
  } catch (const RuntimeError& e) {
    EXPECT_TRUE(e.description().starts_with(
        u"No window whose title is, starts with or ends with \"Internet Explorer\" was found, nor a Microsoft Edge window. "))
        << e.what();
    if (xsession) {
      EXPECT_EQ(e.description(), windowNotFoundDescription(u"Internet Explorer", open));
    }
    for (const auto& window : open) EXPECT_NE(e.description().find(window.title), Text::npos) << toUtf8(window.title);
  }
}

}  // namespace
}  // namespace pw::e2e

namespace {

// A Wayland session of kind S, kept in `current` for the tests.
template <class S, class Current>
std::unique_ptr<pw::e2e::Session> waylandSession(Current*& current, pw::e2e::WaylandOptions options) {
  auto session = std::make_unique<S>(std::move(options));
  current = session.get();
  return session;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const char* layout = std::getenv("PAGEWICK_E2E_LAYOUT");
  const bool russian = layout && std::string(layout) == "ru";
  std::unique_ptr<pw::e2e::Session> session;
  const std::string wayland = std::getenv("PAGEWICK_E2E_WAYLAND") ? std::getenv("PAGEWICK_E2E_WAYLAND") : "";
  // KWin lets only the programs its desktop entries name list windows and type, and our GNOME
  // extension answers only the programs it names: this test. Their keys are read with the user's
  // layout; Russian is the active one, Latin the second.
  const pw::e2e::WaylandOptions trusted{.keyboardLayout = russian ? "ru,us" : "",
                                        .trusted = {std::filesystem::read_symlink("/proc/self/exe").string()}};
  if (wayland == "kwin") {
    session = waylandSession<pw::e2e::KWinSession>(pw::e2e::kwin, trusted);
  } else if (wayland == "gnome") {
    session = waylandSession<pw::e2e::GnomeSession>(pw::e2e::gnome, trusted);
  } else if (!wayland.empty()) {
    // Russian is the keyboards' layout; our keys come through a keyboard of their own.
    const pw::e2e::WaylandOptions options{.keyboardLayout = russian ? "ru" : ""};
    if (auto listed = pw::e2e::toplevelListSession(wayland, options)) {
      pw::e2e::listed = listed.get();
      session = std::move(listed);
    } else {
      session = waylandSession<pw::e2e::SwaySession>(pw::e2e::sway, options);
    }
  } else {
    pw::e2e::SessionOptions options;
    options.windowManager = std::getenv("PAGEWICK_E2E_NO_WM") == nullptr;
    auto x = std::make_unique<pw::e2e::XSession>(options);
    // Russian is the active group; Latin letters exist only in the second.
    if (russian && x->run({"setxkbmap", "-layout", "ru,us"}) != 0) return 2;
    pw::e2e::xsession = x.get();
    session = std::move(x);
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  pw::e2e::session = session.get();
  if (!wayland.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");  // the stand-in window needs no screen there
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
