#pragma once
// The real pagewick binary in a test session, driven as a user would: clicks and keys through
// XTest (xdotool), its settings read from where it keeps them.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "e2e/support/screen.h"
#include "e2e/support/xsession.h"

namespace pw::e2e {

// Where the layout puts each control's centre, in the window's client coordinates.
struct Spot {
  int x;
  int y;
};
namespace spot {
inline constexpr Spot Help{268, 21};
inline constexpr Spot Option1{40, 67};
inline constexpr Spot Option2{40, 90};
inline constexpr Spot Option3{40, 114};
inline constexpr Spot Text1{268, 221};
inline constexpr Spot CaptureToBox{268, 289};
inline constexpr Spot ClearBox{144, 323};
inline constexpr Spot CopyBox{392, 323};
inline constexpr Spot Text2{272, 383};
inline constexpr Spot ChooseFile{488, 383};
inline constexpr Spot CaptureToFile{268, 415};
inline constexpr Spot ClearFile{268, 449};
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
  // What the message boxes said so far; waits until there are at least `count`. Of a build that
  // keeps no record, only the boxes open now are seen, by title.
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
  bool waitForStored(const std::string& key, const Text& value, int timeoutMs = 30000) const;

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
// The window the window manager stacks above all others.
std::optional<unsigned long> topXWindow(const std::string& display);
// The window the window manager has made the active one.
std::optional<unsigned long> activeXWindow(const std::string& display);
// Sends `window` the request to close that its close button sends.
void askToClose(const std::string& display, unsigned long window);

// The clipboard as another program sees it.
std::string clipboardText(XSession& session);
// Offers `text` on the clipboard from an xclip process of the session.
void offerClipboard(XSession& session, const std::string& text);
// What the browser window titled with `title` puts on the clipboard for Ctrl+A, Ctrl+C.
std::string copyFromBrowser(XSession& session, const std::string& title);

}  // namespace pw::e2e
