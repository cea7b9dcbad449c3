// The Windows services against real windows of another process: the stand-in browser.
#include <gtest/gtest.h>

#include "capture/capture.h"
#include "capture/clipboardretry.h"
#include "platform/activationpolicy.h"
#include "platform/win/registrysettingsstore.h"
#include "platform/win/winstacking.h"
#include "platform/win/winwindows.h"
#include "platform/win/winclock.h"
#include "platform/win/winclipboard.h"
#include "platform/win/wineventpump.h"
#include "platform/win/winfiles.h"
#include "platform/win/winsavedialog.h"
#include "platform/wintext/wintext.h"
#include "tests/doubles/doubles.h"
#include "tests/win/support/testpage.h"

namespace pw::test {
namespace {

HWND hwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

// Our own main window stand-in, for the topmost step.
class OwnWindow final : public CaptureWindow {
 public:
  explicit OwnWindow(DWORD exStyle = 0) {
    window_ = CreateWindowExW(exStyle, L"STATIC", L"Pagewick under test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnWindow() override { DestroyWindow(window_); }
  bool option(int number) override { return number == chosen; }
  Text text1() override { return {}; }
  void setText1(TextView) override {}
  Text text2() override { return {}; }
  WindowHandle handle() override { return reinterpret_cast<WindowHandle>(window_); }

  int chosen = 2;

 private:
  HWND window_;
};

Text activatedTitle(WindowAutomation& automation, TextView wanted) {
  automation.activate(wanted);
  wchar_t title[256];
  GetWindowTextW(GetForegroundWindow(), title, 256);
  return win::fromWide(title);
}

TEST(WinAutomation, ExactTitleWinsThenTheTopmostPartialOne) {
  TestPage exact(u"Firefox", u"exact");
  TestPage partialLow(u"Notes - Google Chrome", u"low");
  TestPage partialTop(u"Google Chrome Beta", u"top");
  TestPage onTop(u"Page - Firefox", u"partial, on top");
  TestPage middle(u"About Firefox Tips", u"contains the name only");
  win::WinWindows windows;
  ActivationPolicy automation(windows, win::WinWindows::kTiming);

  ASSERT_EQ(activatedTitle(automation, u"Google Chrome Beta"), u"Google Chrome Beta");
  EXPECT_EQ(activatedTitle(automation, u"FIREFOX"), u"Firefox") << "exact match, though below a partial one";
  EXPECT_EQ(activatedTitle(automation, u"google chrome"), u"Google Chrome Beta") << "the topmost partial match";
  // Raised above the others (the window manager restacks a moment later), the lower one wins.
  SetWindowPos(partialLow.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(waitFor(10000, [&] {
    const auto windows = win::switchableWindows();
    return !windows.empty() && windows.front().handle == reinterpret_cast<WindowHandle>(partialLow.window());
  }));
  EXPECT_EQ(activatedTitle(automation, u"google chrome"), u"Notes - Google Chrome") << "now it is the topmost";
  try {
    automation.activate(u"Firefox Tip");
    FAIL() << "a title that only contains the name matched";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::WindowNotFound);
    EXPECT_EQ(e.description(), windowNotFoundDescription(u"Firefox Tip", win::switchableWindows()));
    EXPECT_NE(e.description().find(u"\"Notes - Google Chrome\""), Text::npos) << e.what();
  }
}

TEST(WinAutomation, HiddenToolAndOwnWindowsAreNeverActivated) {
  TestPage hidden(u"Internet Explorer", u"", {.hidden = true});
  TestPage tool(u"Internet Explorer Tools", u"", {.tool = true});
  OwnWindow own;
  SetWindowTextW(hwnd(own.handle()), L"Internet Explorer");
  for (const auto& window : win::switchableWindows()) {
    EXPECT_NE(window.handle, reinterpret_cast<WindowHandle>(hidden.window()));
    EXPECT_NE(window.handle, reinterpret_cast<WindowHandle>(tool.window()));
    EXPECT_NE(window.handle, own.handle());
  }
  win::WinWindows windows;
  ActivationPolicy automation(windows, win::WinWindows::kTiming);
  EXPECT_THROW(automation.activate(u"Internet Explorer"), RuntimeError);
}

TEST(WinAutomation, MinimisedWindowIsRestoredAndTakesTheKeys) {
  TestPage page(u"Minimised - Google Chrome", u"minimised page", {.minimized = true});
  ASSERT_TRUE(IsIconic(page.window()));
  win::WinWindows windows;
  ActivationPolicy automation(windows, win::WinWindows::kTiming);
  win::WinClipboard clipboard;
  clipboard.clear();
  automation.activate(u"Google Chrome");
  EXPECT_FALSE(IsIconic(page.window()));
  EXPECT_EQ(GetForegroundWindow(), page.window());

  const DWORD before = GetClipboardSequenceNumber();
  automation.sendKeys(u"^a");
  automation.sendKeys(u"^c");
  ASSERT_TRUE(waitFor(10000, [&] { return GetClipboardSequenceNumber() != before && clipboard.hasText(); }));
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"minimised page");
}

// The whole capture procedure on the real services: the text arrives unit for unit, and our window
// ends up topmost.
TEST(WinAutomation, CaptureCopiesThePageExactlyAndLeavesOurWindowTopmost) {
  const Text page = u"First line\r\nTab\there\r\n\r\nNot in the BMP: \U0001F600 \U0001D11E, and \u00E9 \u00DF \u0416\r\nend";
  TestPage browser(u"Test Page - Google Chrome", page);
  // The window manager gives our window the focus at its own pace, for its creation and for each
  // round's topmost step, and under load that can be in the middle of the next round: the keys
  // then go to our window and the capture is empty. A user's click reaches Pagewick through the
  // window manager, after what it still had to do; these back-to-back rounds do not. So here the
  // window manager may not give our window the focus at all.
  OwnWindow own(WS_EX_NOACTIVATE);
  win::WinClock clock;
  win::WinEventPump events(clock);

  CallLog log;
  win::WinWindows windows;
  ActivationPolicy automation(windows, win::WinWindows::kTiming);
  win::WinStacking stacking;
  win::WinClipboard clipboard;
  win::RegistrySettingsStore settings;
  RecordingMessageBoxes messages(log);
  win::WinSaveDialog saveDialog;
  win::WinFiles files;
  FakeApplication app;
  FakeRandom random;
  Services services{automation, stacking, clipboard, events, settings, messages, saveDialog, files, app, random};

  for (int round = 0; round < 3; ++round) {
    Procedure procedure(messages, "PushButton2_Click");
    std::optional<Text> captured;
    CaptureFromBrowser(procedure, services, own, 10, [&](Text text) { captured = std::move(text); });
    ASSERT_TRUE(messages.shown.empty()) << narrow(messages.shown.front().prompt);
    ASSERT_TRUE(captured);
    EXPECT_EQ(*captured, page) << "round " << round;
    EXPECT_TRUE(GetWindowLongPtrW(hwnd(own.handle()), GWL_EXSTYLE) & WS_EX_TOPMOST);
  }
}

TEST(WinClipboard, TextRoundTripsExactly) {
  win::WinClipboard clipboard;
  const Text text = u"a\r\nb\rc\nd\t\U0001F600 \u00E9 " + Text(1, char16_t(0xD800)) + u" lone surrogate";
  clipboard.setText(text, std::nullopt);
  EXPECT_TRUE(clipboard.hasText());
  EXPECT_EQ(clipboard.text(std::nullopt), text);
  EXPECT_EQ(clipboard.text(1), text) << "format 1 is plain text too";
  EXPECT_THROW(clipboard.text(2), RuntimeError);
  clipboard.clear();
  EXPECT_FALSE(clipboard.hasText());
  EXPECT_EQ(clipboard.text(std::nullopt), u"");
}

TEST(WinClipboard, RetryLoopRidesOutAnotherProgramHoldingTheClipboard) {
  win::WinClipboard clipboard;
  {
    ClipboardHolder holder(200);
    try {
      clipboard.text(std::nullopt);
      FAIL() << "the clipboard opened while another program held it";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::ClipboardBusy);
    }
    EXPECT_EQ(ClipboardGetText(clipboard, 0), u"held");
  }
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"held") << "the text outlives the program that put it there";
  EXPECT_TRUE(ClipboardSetText(clipboard, u"ours", 0));
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"ours");
}

}  // namespace
}  // namespace pw::test
