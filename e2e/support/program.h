#pragma once
// The real pagewick binary in a test session, driven as a user would: clicks and keys through
// XTest (xdotool), its settings read from where it keeps them.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "e2e/support/screen.h"
#include "e2e/support/xsession.h"

namespace testing {
class AssertionResult;  // GoogleTest's; not included here, as X11's macros break it
}  // namespace testing

namespace pw::e2e {

// A point in the window's client coordinates, in pixels at 96 dpi.
struct Spot {
  int x;
  int y;
};

// Where a user clicks a control, from the window's layout: its centre; an option button's on the
// start of its caption, as the rest of its width takes no click.
constexpr Spot spotOf(ControlKind kind, int number) {
  for (const layout::Control& c : layout::kControls) {
    if (c.kind != kind || c.number != number) continue;
    const layout::Rect at = layout::inWindow(c);
    const int x = kind == ControlKind::OptionButton ? (at.left + 240) / 15 : (2 * at.left + at.width) / 30;
    return {x, (2 * at.top + at.height) / 30};
  }
  throw "no such control";
}

namespace spot {
inline constexpr Spot Help = spotOf(ControlKind::PushButton, 9);
inline constexpr Spot Option1 = spotOf(ControlKind::OptionButton, 1);
inline constexpr Spot Option2 = spotOf(ControlKind::OptionButton, 2);
inline constexpr Spot Option3 = spotOf(ControlKind::OptionButton, 3);
inline constexpr Spot Text1 = spotOf(ControlKind::TextBox, 1);
inline constexpr Spot CaptureToBox = spotOf(ControlKind::PushButton, 2);
inline constexpr Spot ClearBox = spotOf(ControlKind::PushButton, 1);
inline constexpr Spot CopyBox = spotOf(ControlKind::PushButton, 5);
inline constexpr Spot Text2 = spotOf(ControlKind::TextBox, 2);
inline constexpr Spot ChooseFile = spotOf(ControlKind::PushButton, 6);
inline constexpr Spot CaptureToFile = spotOf(ControlKind::PushButton, 4);
inline constexpr Spot ClearFile = spotOf(ControlKind::PushButton, 3);
// Pinned to where users have always found them: a layout change that moves one is seen here.
static_assert(Help.x == 268 && Help.y == 21 && Option3.x == 40 && Option3.y == 114);
static_assert(ChooseFile.x == 488 && ChooseFile.y == 383 && ClearFile.x == 268 && ClearFile.y == 449);
}  // namespace spot

struct ShownMessage {
  Text title;
  Text prompt;
};

// The screen's pixels as the X server shows them.
ScreenImage grabScreen(const std::string& display);

// How one build of the program is started, and where its settings are read back.
struct Launch {
  std::vector<std::string> argv;
  std::map<std::string, std::string> env;
  std::string messageLog;  // what the recording build writes; empty for a build that keeps none
  std::function<Text(const std::string& key)> stored;  // "<absent>" for a setting never saved
  bool answerStartErrors = false;  // answers error boxes shown before the window with Return
  int windowMs = 60000;            // how long the window may take to come
};

// The Linux build, with its settings under `configHome` and its message boxes recorded.
Launch linuxBuild(const std::string& configHome);

class Program {
 public:
  // Starts the Linux build with the settings under `configHome` and waits for its window.
  Program(XSession& session, const std::string& configHome);
  Program(XSession& session, Launch launch);
  Program(const Program&) = delete;  // one owner stops the process
  Program& operator=(const Program&) = delete;
  ~Program();

  unsigned long window() const { return window_; }
  void click(Spot at);
  void key(const std::string& keys);          // e.g. "ctrl+a", to the focused window
  void type(const std::string& text);
  // What the message boxes said so far; waits until there are at least `count`, and throws when
  // they do not come. Of a build that keeps no record, only the boxes open now are seen, by title.
  std::vector<ShownMessage> messages(std::size_t count = 0);
  // Brings the box or dialog titled `title` (not the main window) to the front; its handle.
  unsigned long focus(TextView title);
  // The box or dialog titled `title`, found without touching the focus.
  unsigned long find(TextView title);
  // How `box` stands, against a picture of the screen taken before it opened.
  BoxOnScreen onScreen(unsigned long box, const ScreenImage& before);
  // Answers the open message box (or dialog) titled `title` with a key, e.g. "Return".
  void answer(TextView title, const std::string& key);
  // Sends the window manager's close request.
  void close();
  bool exited(int timeoutMs);
  bool topmost();
  void screenshot(const std::string& name);

  Text stored(const std::string& key) const;
  // Waits until the setting `key` holds `value`; a failure says what it holds, and what the boxes
  // shown meanwhile said, which is most often why.
  ::testing::AssertionResult waitForStored(const std::string& key, const Text& value, int timeoutMs = 30000) const;

 private:
  XSession& session_;
  Launch launch_;
  Process* process_ = nullptr;
  unsigned long window_ = 0;
};

// Polls `done` every 20 ms until it holds or `timeoutMs` passes.
bool eventually(const std::function<bool()>& done, int timeoutMs = 30000);

// The managed X11 window titled exactly `title` on `display`, if there is one.
std::optional<unsigned long> xWindow(const std::string& display, TextView title);
// Whether the window manager keeps `window` above the others.
bool keptAbove(const std::string& display, unsigned long window);
// Whether the window manager says it supports keeping a window above the others.
bool offersKeepAbove(const std::string& display);
// The window the window manager stacks above all others.
std::optional<unsigned long> topXWindow(const std::string& display);
// The window the window manager has made the active one.
std::optional<unsigned long> activeXWindow(const std::string& display);
// Sends `window` the request to close that its close button sends.
void askToClose(const std::string& display, unsigned long window);
// Tells the program of `window` that all of it was exposed, as the X server does when it must be
// drawn again; the program then draws it afresh.
void askToRedraw(const std::string& display, unsigned long window);

// The clipboard as another program sees it.
std::string clipboardText(XSession& session);
// Offers `text` on the clipboard from an xclip process of the session.
void offerClipboard(XSession& session, const std::string& text);
// What the browser window titled with `title` puts on the clipboard for Ctrl+A, Ctrl+C.
std::string copyFromBrowser(XSession& session, const std::string& title);

}  // namespace pw::e2e
