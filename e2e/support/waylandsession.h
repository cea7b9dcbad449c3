#pragma once
// A private headless sway for end-to-end tests on Wayland. sway refuses to run as root, so it
// runs as nobody in a runtime folder of its own; the tests and the browsers reach its socket by
// its full path and keep their own runtime folder.
#include <optional>

#include "e2e/support/virtualpointer.h"
#include "e2e/support/xsession.h"

namespace pw::e2e {

struct WaylandOptions {
  bool xwayland = false;        // an X server for X11 programs, as desktops have
  std::string keyboardLayout;   // the layout sway gives keyboards, e.g. "ru"
};

class SwaySession final : public Session {
 public:
  explicit SwaySession(WaylandOptions options = {});
  const std::string& socket() const { return socket_; }

  // Native Wayland browsers.
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  // Runs a sway command; true when sway carried it out.
  bool command(const std::string& text);
  // sway's tree of windows, as JSON.
  std::string tree();
  // The title of the window that has the focus; "" when none has.
  std::string focusedTitle();
  // Where the content of the window titled exactly `title` lies on the screen.
  struct Rect {
    int x, y, width, height;
  };
  std::optional<Rect> windowRect(const std::string& title);
  // Clicks at a point of the screen with a pointer of the session's own.
  void click(int x, int y);
  // The X display of sway's XWayland, for X11 programs; with the `xwayland` option only.
  const std::string& xDisplay() const { return xDisplay_; }

 private:
  std::string socket_, ipc_, xDisplay_;
  std::unique_ptr<VirtualPointer> pointer_;
};

// A private headless KWin. The installed binary carries a file capability that a container may
// not grant, so a copy without it runs.
class KWinSession final : public Session {
 public:
  // `trusted`: the programs an installed desktop entry names as allowed KWin's window management
  // and fake input; none, and KWin offers them to no one. `keyboardLayout` as for sway.
  explicit KWinSession(const std::vector<std::string>& trusted = {}, const std::string& keyboardLayout = {});
  const std::string& socket() const { return socket_; }
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;

 private:
  std::string socket_;
};

}  // namespace pw::e2e
