#pragma once
// Private headless Wayland compositors for end-to-end tests: wlroots ones (sway, labwc, Wayfire),
// Miriway, KWin, GNOME Shell and Weston.
#include <optional>

#include "e2e/support/screen.h"
#include "e2e/support/virtualpointer.h"
#include "e2e/support/xsession.h"
#include "platform/gnome/shellwindows.h"

namespace pw::e2e {

class WlrToplevels;

struct WaylandOptions {
  bool xwayland = false;        // an X server for X11 programs, as desktops have
  std::string keyboardLayout{};  // the keyboards' layout, e.g. "ru"; for KWin a list, "ru,us"
  // KWin only: the programs an installed desktop entry names as allowed its window management,
  // fake input and screenshots; none, and KWin offers them to no one.
  std::vector<std::string> trusted{};
};

// What the Wayland sessions share: the compositor's socket, a pointer of the test's own, and the
// XWayland display where X11 programs such as Pagewick's own window run.
class WaylandSession : public Session {
 public:
  const std::string& socket() const { return socket_; }
  // The X display of the compositor's XWayland; with the `xwayland` option only.
  const std::string& xDisplay() const { return xDisplay_; }
  // Where the content of the X11 window titled exactly `title` lies on the screen.
  struct Rect {
    int x, y, width, height;
  };
  std::optional<Rect> windowRect(const std::string& title);
  // Asks the X11 window titled exactly `title` to close, as its close button does.
  void closeWindow(const std::string& title);
  // Brings the window titled exactly `title` to the front and gives it the focus, as a click on
  // it does; true once the compositor says it has the focus.
  virtual bool bringForward(const std::string& title) = 0;
  // The titles of the compositor's windows, topmost first, in its own stacking order.
  virtual std::vector<Text> stacking() = 0;
  // Whether that order names windows that have a parent, such as message boxes.
  virtual bool stackingNamesDialogs() const { return true; }
  // The screen as the compositor's own screenshot shows it.
  virtual ScreenImage screenshot() = 0;
  // Why the compositor takes no screenshots here, if it takes none.
  virtual std::optional<std::string> withoutScreenshots() { return std::nullopt; }
  // The clipboard's text, as another program reads it.
  virtual std::string clipboard();
  // Puts `text` on the clipboard from a program of the session, which keeps it on offer.
  virtual Process& offerClipboard(const std::string& text);
  // Clicks the point (x, y) of the content of the X11 window titled exactly `title`.
  void click(const std::string& title, int x, int y);

 protected:
  using Session::Session;
  // A shell command for the compositor to run once XWayland is up: it lets us (root) in and
  // writes the display down, as only the compositor's children are told where it is.
  std::string announceXDisplay();
  // That command as a script of its own, for compositors that run a program rather than a command.
  std::string announceXDisplayScript();
  // Waits for that command; then the pointer, on an output `height` pixels high (1280 wide).
  void connect(bool xwayland, int height = 800);
  // The pointer: to a point of the screen, and a click where it is.
  virtual void movePointer(int x, int y) { pointer_->moveTo(x, y); }
  virtual void clickPointer() { pointer_->click(); }
  // Where the compositor's own tree has the window titled `title`, for a failure's message.
  virtual std::string shownAt(const std::string&) { return {}; }

  std::string socket_, xDisplay_;

 private:
  // Where XWayland has the pointer in the top-level X11 `window`, while it has it over that window.
  std::optional<std::pair<int, int>> pointerIn(unsigned long window);
  // Where XWayland has the pointer, and over which top-level: for a failure's message.
  std::string pointerReport(unsigned long window, const std::string& title);
  std::unique_ptr<VirtualPointer> pointer_;
};

// A wlroots compositor, headless. sway and labwc refuse to run as root, so they run as nobody in
// a runtime folder of their own; the tests and the browsers reach the socket by its full path and
// keep their own runtime folder.
class WlrootsSession : public WaylandSession {
 public:
  // By grim, through wlroots' screen copy.
  ScreenImage screenshot() override;

 protected:
  explicit WlrootsSession(const std::string& kind);
  // Starts the compositor `argv` as nobody, with `env` besides the headless set, and waits for
  // its socket; then points programs at it.
  void launch(std::vector<std::string> argv, const std::map<std::string, std::string>& env);
  // The compositor's runtime folder, where its sockets are.
  std::string runtime() const { return folder() + "/compositor-run"; }
};

class SwaySession final : public WlrootsSession {
 public:
  explicit SwaySession(WaylandOptions options = {});

  // Native Wayland browsers.
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  // Runs a sway command; true when sway carried it out.
  bool command(const std::string& text);
  // sway's tree of windows, as JSON.
  std::string tree();
  // The title of the window that has the focus; "" when none has.
  std::string focusedTitle();
  bool bringForward(const std::string& title) override;
  std::vector<Text> stacking() override;

 protected:
  std::string shownAt(const std::string& title) override;

 private:
  std::string ipc_;
};

// A wlroots compositor the tests give no commands: they work its windows through the
// foreign-toplevel list, as a task bar does.
class ToplevelListSession : public WlrootsSession {
 public:
  ~ToplevelListSession() override;
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  bool bringForward(const std::string& title) override;
  // The active window first; the list tells no more of the order.
  std::vector<Text> stacking() override;

 protected:
  using WlrootsSession::WlrootsSession;
  // The keyboard and clipboard of the session's user, on a connection of their own; made at
  // the first call.
  struct User;
  User& user();
  // What the session's user does once waitForWindow has found the window titled `title`;
  // false when the window is not fit for the tests.
  virtual bool found(WlrToplevels&, const Text&) { return true; }

 private:
  std::unique_ptr<User> user_;
};

// labwc, with its default configuration.
class LabwcSession final : public ToplevelListSession {
 public:
  explicit LabwcSession(WaylandOptions options = {});
};

// Wayfire, with the plugins the tests need alone: the foreign-toplevel list, and autostart for
// the command that names XWayland's display.
class WayfireSession final : public ToplevelListSession {
 public:
  explicit WayfireSession(WaylandOptions options = {});

 protected:
  // Wayfire 0.10 keeps offering a keyboard once the active one is gone, as the program's goes
  // when it ends, but hands a client that asks for it then no keymap: Chromium dies of the first
  // modifiers. The user's keyboard mends that with its next key, so the session's user has one
  // and presses F16 before starting a browser.
  void beforeBrowser() override;
};

// Miriway on Mir's virtual display, with the extensions Pagewick needs added in its user's
// configuration file, as Pagewick's refusal there tells its user to; with `extensions` false,
// Mir's default ones alone. Mir's keyboards take the US layout whatever xkbcommon's variables say,
// so there is no `keyboardLayout` here.
class MiriwaySession final : public ToplevelListSession {
 public:
  explicit MiriwaySession(WaylandOptions options = {}, bool extensions = true);
  // Mir's list leaves out the windows that have a parent.
  bool stackingNamesDialogs() const override { return false; }

 protected:
  // Chromium just started on Mir takes no keys for a while after its first activation: the
  // user copies from each browser once, until it answers.
  bool found(WlrToplevels& list, const Text& title) override;
};

// The desktop the foreign-toplevel list serves by its name ("labwc", "wayfire", "miriway"), or
// none for another name.
std::unique_ptr<ToplevelListSession> toplevelListSession(const std::string& name, WaylandOptions options);

// A private headless KWin. The installed binary carries a file capability that a container may
// not grant, so a copy without it runs.
class KWinSession final : public WaylandSession {
 public:
  explicit KWinSession(WaylandOptions options = {});
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  bool bringForward(const std::string& title) override;
  std::vector<Text> stacking() override;
  // Through KWin's ScreenShot2 on the session's own bus, which KWin offers to the trusted programs.
  ScreenImage screenshot() override;
  // Only KWin's screenshot effect offers ScreenShot2, and it loads only while KWin composites with
  // OpenGL: from KWin 6 on, its virtual screen does only with a GPU's render node.
  std::optional<std::string> withoutScreenshots() override;

 private:
  // A session bus with no services to start, for KWin's own interfaces; its address.
  std::string startBus();
  std::string bus_;
};

// A private headless GNOME Shell on session and system buses of its own (the shell aborts without
// a system bus), with Pagewick's extension installed for the session's user and answering the
// programs in `trusted`; or, with `extension` false, without it. Its XWayland always runs.
class GnomeSession final : public WaylandSession {
 public:
  explicit GnomeSession(WaylandOptions options = {}, bool extension = true);
  ~GnomeSession() override;
  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  bool bringForward(const std::string& title) override;
  std::vector<Text> stacking() override;
  // Through the shell's Screenshot interface, which it offers to a few well-known bus names.
  ScreenImage screenshot() override;
  // Through XWayland, which shares the clipboard with Wayland programs: wl-paste and wl-copy need
  // an extension GNOME lacks, or a focused surface of their own.
  std::string clipboard() override;
  Process& offerClipboard(const std::string& text) override;
  // Through XTest on XWayland: the shell offers no pointer of ours, and our window is an X11 one.
  void movePointer(int x, int y) override;
  void clickPointer() override;
  // Minimises the window whose title holds `part` as its user would, with Super+H (the shell
  // offers no other way); true once it has lost the focus.
  bool minimise(TextView part);
  // The title of the window that has the focus, as the shell reports it.
  std::optional<Text> focusedTitle() { return windows().focusedTitle(); }
  // Ends the shell and starts it again with the user's settings as they are now, as a new log-in
  // does, with the extension installed for the user again, answering `trusted`. Programs of the
  // old log-in end with it.
  void logInAgain(const std::vector<std::string>& trusted);

 private:
  void installExtension(const std::vector<std::string>& trusted);
  // Starts the shell; waits for it, for its XWayland and, when `extension`, for the extension.
  void logIn(const std::map<std::string, std::string>& shellEnv, bool extension);
  // The lock files and sockets of the shell's X displays, which a stopped shell may leave.
  void removeXFiles();
  // The extension, on this session's bus: a process's own session bus stays the first one.
  gnome::ShellService service();
  gnome::ShellWindows windows() { return gnome::ShellWindows(service()); }
  // The window titled `title`, or whose title holds it.
  std::optional<WindowHandle> find(TextView title, bool whole);
  // Activates `window`; true once it has the focus.
  bool focus(WindowHandle window);
  std::string sessionBus_;
  std::map<std::string, std::string> shellEnv_;
  Process* shell_ = nullptr;
  int shellPid_ = 0;
};

// A private headless Weston, which offers clients no way to other programs' windows, keys or
// clipboard; no window is ever looked for there.
class WestonSession final : public Session {
 public:
  WestonSession();
  bool waitForWindow(TextView, int = 60000) override { return false; }
};

}  // namespace pw::e2e
