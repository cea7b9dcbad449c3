#include "e2e/support/waylandsession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <X11/Xlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "e2e/support/plasmawindows.h"
#include "e2e/support/program.h"
#include "e2e/support/wlrtoplevels.h"
#include "platform/kwin/kwinwindows.h"
#include "platform/keystrokes.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"
#include "platform/wayland/refusingautomation.h"
#include "platform/wayland/virtualkeyboard.h"
#include "virtual-keyboard-unstable-v1.h"

namespace pw::e2e {
namespace {

using namespace std::chrono_literals;
constexpr uid_t kNobody = 65534;

// The first entry of `folder` whose name starts with `prefix` and is a socket.
std::string findSocket(const std::string& folder, const std::string& prefix) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && entry.is_socket()) return entry.path().string();
  }
  return {};
}

// Waits (generously: a loaded machine starts a compositor slowly) for that socket of the
// compositor `kind`, which logs to <kind>.log.
std::string awaitSocket(const std::string& folder, const std::string& prefix, const std::string& kind) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  std::string socket;
  while ((socket = findSocket(folder, prefix)).empty()) {
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error(kind + " did not start; see " + kind + ".log");
    std::this_thread::sleep_for(20ms);
  }
  return socket;
}

constexpr int kXDisplays = 64;  // the display numbers looked at for the shell's

// The process that holds display `n`, by its lock file; 0 when none does.
int xLockHolder(int n) {
  std::ifstream lock("/tmp/.X" + std::to_string(n) + "-lock");
  int pid = 0;
  return lock >> pid ? pid : 0;
}

// XWayland's sockets go where every X server's do, which a machine that has run none lacks; GNOME
// Shell 48 does not make the folder either.
void makeXSocketFolder() {
  std::filesystem::create_directories("/tmp/.X11-unix");
  ::chmod("/tmp/.X11-unix", 01777);
}

}  // namespace

std::string WaylandSession::announceXDisplay() {
  makeXSocketFolder();
  const std::string shared = folder() + "/shared";
  std::filesystem::create_directories(shared);
  ::chmod(shared.c_str(), 01777);  // wlroots compositors run as nobody
  return "xhost +si:localuser:root >/dev/null && echo $DISPLAY > " + shared + "/display";
}

std::string WaylandSession::announceXDisplayScript() {
  const std::string script = writeFile("announce.sh", "#!/bin/sh\n" + announceXDisplay() + "\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

void WaylandSession::connect(bool xwayland, int height) {
  pointer_ = std::make_unique<VirtualPointer>(socket_, 1280, height);
  if (!xwayland) return;
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (xDisplay_.empty() || xDisplay_.back() != '\n') {
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error("no XWayland display was named");
    std::this_thread::sleep_for(20ms);
    std::ifstream in(folder() + "/shared/display");
    xDisplay_.assign(std::istreambuf_iterator<char>(in), {});
  }
  xDisplay_.pop_back();
}

std::optional<WaylandSession::Rect> WaylandSession::windowRect(const std::string& title) {
  const auto window = xWindow(xDisplay_, fromUtf8(title));
  if (!window) return std::nullopt;
  Display* d = XOpenDisplay(xDisplay_.c_str());
  XWindowAttributes attributes{};
  int x = 0, y = 0;
  Window child = 0;
  const bool known = XGetWindowAttributes(d, *window, &attributes) &&
                     XTranslateCoordinates(d, *window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  XCloseDisplay(d);
  if (!known || attributes.map_state != IsViewable) return std::nullopt;
  return Rect{x, y, attributes.width, attributes.height};
}

// KWin tells a new reader nothing while the clipboard is empty, and wl-paste waits for word.
std::string WaylandSession::clipboard() { return output({"timeout", "3", "wl-paste", "--no-newline"}); }

Process& WaylandSession::offerClipboard(const std::string& text) {
  // From a file: a large text does not fit on a command line.
  return start({"sh", "-c", "exec wl-copy --foreground < \"$0\"", writeFile("offered.txt", text)}, {}, "wl-copy.log");
}

// A press goes to the window the compositor shows under the pointer, which for a while after a
// window maps or moves is not yet where X11, the compositor's tree and its keyboard focus already
// have it: KWin 6.3 shows it later than 5.27, and sway 1.10 only once the transactions that map
// and place it apply, each of which waits up to 200 ms for the X11 window to draw itself at its
// new place, as a window that keeps its size never does. XWayland learns where the pointer lies on
// its windows from the compositor alone, so the press waits until XWayland has the pointer on our
// window at the point: then the compositor shows our window there too. The motion goes again
// meanwhile, for a compositor that does not tell a window moved under a still pointer.
//
// sway 1.10 learns how large an X11 window's content is only from the first frame the window
// draws after it maps. When the transaction that maps the window times out before that frame,
// sway centres the content as if it had no size, and so shows our window offset by half its size
// until it draws again, which a still window does not. So while the pointer is not on our window
// at the point, the window is told it was exposed and draws itself afresh, as a press would make it.
void WaylandSession::click(const std::string& title, int x, int y) {
  const auto window = xWindow(xDisplay_, fromUtf8(title));
  if (!window) throw std::runtime_error("no window titled " + title);
  bool told = false;
  const bool there = eventually([&] {
    const auto rect = windowRect(title);
    if (!rect) return false;
    movePointer(rect->x + x, rect->y + y);
    const auto seen = pointerIn(*window);
    if (seen && std::abs(seen->first - x) <= 1 && std::abs(seen->second - y) <= 1) return true;
    if (seen && !told) {
      std::cerr << "XWayland has the pointer at " << seen->first << "," << seen->second << " of the window titled "
                << title << ", not at " << x << "," << y << "; the window is asked to draw itself again\n";
      told = true;
    }
    askToRedraw(xDisplay_, *window);
    return false;
  }, 10000);
  if (!there) {
    throw std::runtime_error("the compositor never showed the window titled " + title + " under the pointer at " +
                             std::to_string(x) + "," + std::to_string(y) + " of it; " +
                             pointerReport(*window, title) + shownAt(title));
  }
  clickPointer();
}

namespace {

// The child of the root that holds `window`: the window itself, or a frame its manager put it in.
Window topLevel(Display* d, Window window) {
  for (;;) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, window, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (parent == root) return window;
    window = parent;
  }
}

// Where XWayland has the pointer: on the root, in `window`, and over which top-level.
struct PointerSeen {
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  bool sameScreen = false;
  Window top = 0, ours = 0;
};

std::optional<PointerSeen> pointerSeen(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  if (!d) return std::nullopt;
  PointerSeen seen;
  Window root = 0, child = 0;
  int ignored = 0;
  unsigned mask = 0;
  seen.sameScreen =
      XQueryPointer(d, window, &root, &child, &seen.rootX, &seen.rootY, &seen.windowX, &seen.windowY, &mask);
  XQueryPointer(d, root, &root, &seen.top, &seen.rootX, &seen.rootY, &ignored, &ignored, &mask);
  seen.ours = topLevel(d, window);
  XCloseDisplay(d);
  return seen;
}

}  // namespace

// An absolute motion may land a pixel short: sway scales it to the layout and back in floating
// point, and hands it on in fixed point. The place alone could be one XWayland kept from before
// the pointer left its windows, so the pointer must also be over our window.
std::optional<std::pair<int, int>> WaylandSession::pointerIn(unsigned long window) {
  const auto seen = pointerSeen(xDisplay_, window);
  if (!seen || !seen->sameScreen || seen->top == 0 || seen->top != seen->ours) return std::nullopt;
  return std::pair{seen->windowX, seen->windowY};
}

std::string WaylandSession::pointerReport(unsigned long window, const std::string& title) {
  const auto seen = pointerSeen(xDisplay_, window);
  if (!seen) return "XWayland cannot be reached";
  std::ostringstream report;
  report << "XWayland has it at " << seen->rootX << "," << seen->rootY << " over top-level 0x" << std::hex << seen->top
         << " (ours 0x" << seen->ours << ")";
  if (const auto rect = windowRect(title)) report << std::dec << "; X11 has ours at " << rect->x << "," << rect->y;
  return report.str();
}

void WaylandSession::closeWindow(const std::string& title) {
  if (const auto window = xWindow(xDisplay_, fromUtf8(title))) askToClose(xDisplay_, *window);
}

WlrootsSession::WlrootsSession(const std::string& kind) : WaylandSession(kind) {
  const std::string run = runtime(), own = folder() + "/run";
  std::filesystem::create_directories(run);
  std::filesystem::create_directories(own);
  ::chmod(folder().c_str(), 0711);
  ::chmod(own.c_str(), 0700);
  if (::chown(run.c_str(), kNobody, kNobody) != 0 || ::chmod(run.c_str(), 0700) != 0) {
    throw std::runtime_error("cannot prepare the compositor's runtime folder " + run);
  }
}

void WlrootsSession::launch(std::vector<std::string> argv, const std::map<std::string, std::string>& env) {
  const std::string run = runtime(), kind = argv.front();
  argv.insert(argv.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  std::map<std::string, std::string> all{{"XDG_RUNTIME_DIR", run}, {"HOME", run}, {"WLR_BACKENDS", "headless"},
                                         {"WLR_LIBINPUT_NO_DEVICES", "1"}, {"WLR_RENDERER", "pixman"},
                                         {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}};
  all.insert(env.begin(), env.end());
  start(argv, all, kind + ".log");
  socket_ = awaitSocket(run, "wayland-", kind);
  env_ = {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", folder() + "/run"}, {"DISPLAY", ""},
          {"MOZ_ENABLE_WAYLAND", "1"}, {"XDG_SESSION_TYPE", "wayland"}};
  chromiumFlags_ = {"--ozone-platform=wayland"};
  exportEnvironment();
}

SwaySession::SwaySession(WaylandOptions options) : WlrootsSession("sway") {
  std::string config = "output HEADLESS-1 resolution 1280x800\n";
  config += options.xwayland ? "xwayland enable\n" : "xwayland disable\n";
  if (!options.keyboardLayout.empty()) config += "input type:keyboard xkb_layout " + options.keyboardLayout + "\n";
  const std::string configFile = writeFile("sway.conf", config);
  ::chmod(configFile.c_str(), 0644);

  const std::string announce = options.xwayland ? announceXDisplay() : "";
  // A kept session keeps sway's debug log too: its transactions say when a window is shown.
  std::vector<std::string> argv{"sway", "-c", configFile};
  if (std::getenv("PAGEWICK_E2E_KEEP")) argv.push_back("-d");
  launch(argv, {{"SWAYSOCK", ""}});
  ipc_ = awaitSocket(runtime(), "sway-ipc", "sway");
  env_["SWAYSOCK"] = ipc_;
  exportEnvironment();
  if (options.xwayland) command("exec " + announce);
  connect(options.xwayland);
}

// labwc starts XWayland for the first X client, the announcing command's xhost. Its headless
// output is wlroots' default, 1280 by 720, as labwc sets no mode of its own; the keyboard's
// layout comes from xkbcommon's variable.
LabwcSession::LabwcSession(WaylandOptions options) : ToplevelListSession("labwc") {
  // labwc readies XWayland even when no X client comes, and where the X socket folder is missing
  // makes it as nobody, which X servers run as root later refuse.
  makeXSocketFolder();
  std::vector<std::string> argv{"labwc"};
  // labwc splits the startup command into words itself, without a shell.
  if (options.xwayland) argv.insert(argv.end(), {"--startup", "sh -c '" + announceXDisplay() + "'"});
  std::map<std::string, std::string> env;
  if (!options.keyboardLayout.empty()) env["XKB_DEFAULT_LAYOUT"] = options.keyboardLayout;
  launch(argv, env);
  connect(options.xwayland, 720);
}

struct ToplevelListSession::User {
  explicit User(const std::string& socket)
      : connection(socket.c_str()),
        keyboard(connection, static_cast<zwp_virtual_keyboard_manager_v1*>(
                                 connection.bind(zwp_virtual_keyboard_manager_v1_interface, 1))),
        clipboard(connection) {}
  wayland::Connection connection;
  wayland::VirtualKeyboard keyboard;
  wayland::DataClipboard clipboard;
};

ToplevelListSession::~ToplevelListSession() = default;

ToplevelListSession::User& ToplevelListSession::user() {
  if (!user_) user_ = std::make_unique<User>(socket_);
  return *user_;
}

// Wayfire's headless output, too, is 1280 by 720; autostart runs its commands through a shell.
WayfireSession::WayfireSession(WaylandOptions options) : ToplevelListSession("wayfire") {
  makeXSocketFolder();
  std::string config = "[core]\nplugins = foreign-toplevel autostart\nxwayland = ";
  config += options.xwayland ? "true\n" : "false\n";
  if (!options.keyboardLayout.empty()) config += "[input]\nxkb_layout = " + options.keyboardLayout + "\n";
  config += "[autostart]\nautostart_wf_shell = false\n";
  if (options.xwayland) config += "announce = " + announceXDisplay() + "\n";
  const std::string configFile = writeFile("wayfire.ini", config);
  ::chmod(configFile.c_str(), 0644);
  launch({"wayfire", "-c", configFile}, {});
  connect(options.xwayland, 720);
  user();
}

void WayfireSession::beforeBrowser() { user().keyboard.type({KeyStroke{.named = NamedKey::F16}}); }

// Mir reads its user's configuration file besides the system's. The tests' pointer and grim's
// screen copy are extensions to add too. Mir starts XWayland for the first X client, the
// announcing command's xhost.
MiriwaySession::MiriwaySession(WaylandOptions options, bool extensions) : ToplevelListSession("miriway") {
  makeXSocketFolder();
  std::filesystem::create_directories(runtime() + "/.config");
  std::ofstream config(runtime() + "/.config/miriway-shell.config");
  if (extensions) config << wayland::kMirExtensionsLine << ":zwlr_virtual_pointer_manager_v1:zwlr_screencopy_manager_v1\n";
  // A shell component that ends is started again a few times; each run announces the same display.
  if (options.xwayland) config << "enable-x11=1\nshell-component=" << announceXDisplayScript() << "\n";
  config.close();
  launch({"miriway-shell", "--platform-display-libs=mir:virtual", "--virtual-output=1280x720", "--console-provider=none"},
         {});
  connect(options.xwayland, 720);
  // Mir takes a window's new title only with a commit of the window's own surface, and Firefox
  // draws its page into another one: the title of a loaded page could stay unseen. With its tabs
  // out of the title bar, GTK draws that bar, title and all, into the window's surface.
  firefoxPrefs_ = "user_pref(\"browser.tabs.inTitlebar\", 0);\n";
}

// Measured on Mir 2.28 with Chromium 156: a copy 0.1 to 0.35 s after Chromium's first activation
// brought nothing in about a third of the runs, and one 1.5 s after it always worked; at later
// activations it works at once.
bool MiriwaySession::found(WlrToplevels& list, const Text& title) {
  User& me = user();
  return eventually([&] {
    if (!list.activate(title)) return false;
    me.clipboard.clear();
    me.keyboard.type(parseKeys(u"^a^c"));
    return eventually([&] { return me.clipboard.hasText(); }, 2000);
  }, 60000);
}

std::unique_ptr<ToplevelListSession> toplevelListSession(const std::string& name, WaylandOptions options) {
  if (name == "labwc") return std::make_unique<LabwcSession>(std::move(options));
  if (name == "wayfire") return std::make_unique<WayfireSession>(std::move(options));
  if (name == "miriway") return std::make_unique<MiriwaySession>(std::move(options));
  return nullptr;
}

bool ToplevelListSession::waitForWindow(TextView part, int timeoutMs) {
  WlrToplevels list(socket_);
  Text shown;
  return eventually([&] {
    for (const Text& title : list.titles()) {
      if (title.find(part) == Text::npos) continue;
      shown = title;
      return true;
    }
    return false;
  }, timeoutMs) && found(list, shown);
}

bool ToplevelListSession::bringForward(const std::string& title) {
  return WlrToplevels(socket_).activate(fromUtf8(title));
}

std::vector<Text> ToplevelListSession::stacking() { return WlrToplevels(socket_).titles(); }

namespace {

// Every window node of sway's tree, tiled or floating, depth first.
template <class Visit>
void eachWindow(const QJsonObject& node, const Visit& visit) {
  if (node[u"type"].toString().endsWith(u"con")) visit(node);
  for (const char* children : {"nodes", "floating_nodes"}) {
    for (const auto& child : node[QLatin1String(children)].toArray()) eachWindow(child.toObject(), visit);
  }
}

}  // namespace

std::string SwaySession::focusedTitle() {
  std::string title;
  eachWindow(QJsonDocument::fromJson(QByteArray::fromStdString(tree())).object(), [&](const QJsonObject& node) {
    if (node[u"focused"].toBool()) title = node[u"name"].toString().toStdString();
  });
  return title;
}

bool SwaySession::bringForward(const std::string& title) {
  return command("[title=\"^" + title + "$\"] focus") && focusedTitle() == title;
}

// Depth first is bottom first: a workspace's tiled windows, then its floating ones in the order
// sway draws them.
std::vector<Text> SwaySession::stacking() {
  std::vector<Text> titles;
  eachWindow(QJsonDocument::fromJson(QByteArray::fromStdString(tree())).object(), [&](const QJsonObject& node) {
    if (node.contains(u"shell")) titles.insert(titles.begin(), node[u"name"].toString().toStdU16String());
  });
  return titles;
}

std::string SwaySession::shownAt(const std::string& title) {
  std::string shown;
  eachWindow(QJsonDocument::fromJson(QByteArray::fromStdString(tree())).object(), [&](const QJsonObject& node) {
    if (node[u"name"].toString().toStdString() != title) return;
    const QJsonObject rect = node[u"rect"].toObject(), content = node[u"window_rect"].toObject();
    shown = "; sway's tree has it at " + std::to_string(rect[u"x"].toInt() + content[u"x"].toInt()) + "," +
            std::to_string(rect[u"y"].toInt() + content[u"y"].toInt());
  });
  return shown;
}

bool SwaySession::command(const std::string& text) { return run({"swaymsg", text}) == 0; }

std::string SwaySession::tree() { return output({"swaymsg", "-r", "-t", "get_tree"}); }

bool SwaySession::waitForWindow(TextView part, int timeoutMs) {
  // swaymsg -r gives titles as they are, in UTF-8, within JSON strings.
  const std::string wanted = toUtf8(part);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (tree().find(wanted) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

KWinSession::KWinSession(WaylandOptions options) : WaylandSession("kwin") {
  const std::string run = folder() + "/run", binary = folder() + "/kwin_wayland";
  std::filesystem::create_directories(run);
  std::filesystem::create_directories(folder() + "/share/applications");
  for (std::size_t i = 0; i < options.trusted.size(); ++i) {
    writeFile("share/applications/pagewick-test-" + std::to_string(i) + ".desktop",
              "[Desktop Entry]\nType=Application\nName=Pagewick test " + std::to_string(i) +
                  "\nExec=" + options.trusted[i] +
                  "\nX-KDE-Wayland-Interfaces=org_kde_plasma_window_management,org_kde_kwin_fake_input"
                  "\nX-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n");
  }
  // KWin finds desktop entries through the applications menu, which a Plasma session brings and
  // KDE's 6 libraries alone do not.
  std::filesystem::create_directories(folder() + "/config/menus");
  writeFile("config/menus/applications.menu",
            "<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n");
  if (!options.keyboardLayout.empty()) {
    writeFile("config/kxkbrc", "[Layout]\nUse=true\nLayoutList=" + options.keyboardLayout + "\n");
  }
  ::chmod(run.c_str(), 0700);
  std::filesystem::copy_file("/usr/bin/kwin_wayland", binary);
  ::chmod(binary.c_str(), 0755);
  std::vector<std::string> argv{binary, "--virtual", "--no-lockscreen", "--width", "1280", "--height", "800",
                                "--socket", "pagewick-kwin"};
  if (options.xwayland) {
    // KWin runs the programs named after its options once XWayland is up.
    argv.insert(argv.end(), {"--xwayland", announceXDisplayScript()});
  }
  bus_ = startBus();
  start(argv,
        {{"XDG_RUNTIME_DIR", run}, {"QT_QPA_PLATFORM", "offscreen"}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""},
         {"DBUS_SESSION_BUS_ADDRESS", bus_},
         {"HOME", folder()}, {"XDG_DATA_DIRS", folder() + "/share:/usr/share"},
         {"XDG_CACHE_HOME", folder() + "/cache"}, {"XDG_CONFIG_HOME", folder() + "/config"}},
        "kwin.log");
  socket_ = awaitSocket(run, "pagewick-kwin", "kwin");
  env_ = {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", run}, {"DISPLAY", ""}, {"MOZ_ENABLE_WAYLAND", "1"},
          {"XDG_SESSION_TYPE", "wayland"}};
  chromiumFlags_ = {"--ozone-platform=wayland"};
  exportEnvironment();
  connect(options.xwayland);
}

bool KWinSession::bringForward(const std::string& title) {
  return PlasmaWindows(socket()).activate(fromUtf8(title));
}

std::vector<Text> KWinSession::stacking() {
  wayland::Connection connection(socket_.c_str());
  std::vector<Text> titles;
  for (const auto& w : kwin::KWinWindows(connection).windows()) titles.push_back(w.title);
  return titles;
}

// Through KWin's window management, which only a trusted test may use.
bool KWinSession::waitForWindow(TextView part, int timeoutMs) {
  wayland::Connection connection(socket_.c_str());
  if (!kwin::KWinWindows::supported(connection)) throw std::logic_error("this test is not trusted by KWin");
  kwin::KWinWindows windows(connection);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (const auto& w : windows.windows()) {
      if (w.title.find(part) != Text::npos) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    connection.serveFor(50);
  }
}

namespace {

// A bus of the session's own; its policy lets everyone in, as the machine's buses do for a user.
const char* kSystemBusPolicy = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=@SOCKET@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/><allow send_type="signal"/>
    <allow send_type="method_return"/><allow send_type="error"/>
    <allow receive_type="method_call"/><allow receive_type="signal"/>
    <allow receive_type="method_return"/><allow receive_type="error"/>
  </policy>
</busconfig>
)";

void waitFor(const std::function<bool()>& done, const std::string& what) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error(what);
    std::this_thread::sleep_for(20ms);
  }
}

}  // namespace

GnomeSession::GnomeSession(WaylandOptions options, bool extension) : WaylandSession("gnome") {
  const std::string run = folder() + "/run";
  std::filesystem::create_directories(run);
  ::chmod(run.c_str(), 0700);
  const std::string systemBus = folder() + "/system_bus", sessionBus = sessionBus_ = folder() + "/session_bus";
  const std::map<std::string, std::string> buses{{"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + sessionBus},
                                                 {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + systemBus}};
  // For the shell and for the services its buses start on demand (the accessibility bus, the
  // shell's helpers). Those would otherwise take this process's environment, which after an
  // earlier session still names that session's folders: they made them again once it was gone.
  auto shellEnv = buses;
  shellEnv.insert({{"XDG_RUNTIME_DIR", run}, {"HOME", folder()}, {"XDG_DATA_HOME", folder() + "/data"},
                   {"XDG_CONFIG_HOME", folder() + "/config"}, {"XDG_CACHE_HOME", folder() + "/cache"},
                   {"GSETTINGS_BACKEND", "keyfile"}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}});
  std::string policy = kSystemBusPolicy;
  policy.replace(policy.find("@SOCKET@"), 8, systemBus);
  start({"dbus-daemon", "--nofork", "--config-file=" + writeFile("system.conf", policy)}, shellEnv, "system-bus.log");
  start({"dbus-daemon", "--nofork", "--session", "--address=unix:path=" + sessionBus}, shellEnv, "session-bus.log");
  waitFor([&] { return std::filesystem::is_socket(systemBus) && std::filesystem::is_socket(sessionBus); },
          "the session's buses did not start");

  // The shell's settings in a key file: the extension enabled before the shell starts, as after
  // a user's log-in, and the keyboard's layouts.
  std::string settings = "[org/gnome/shell]\ndisable-user-extensions=false\nenabled-extensions=[";
  if (extension) settings += std::string("'") + gnome::kExtensionId + "'";
  settings += "]\n";
  if (!options.keyboardLayout.empty()) {
    settings += "[org/gnome/desktop/input-sources]\nsources=[";
    std::istringstream layouts(options.keyboardLayout);
    for (std::string layout; std::getline(layouts, layout, ',');) settings += "('xkb', '" + layout + "'),";
    settings.back() = ']';
    settings += "\n";
  }
  std::filesystem::create_directories(folder() + "/config/glib-2.0/settings");
  writeFile("config/glib-2.0/settings/keyfile", settings);
  if (extension) installExtension(options.trusted);
  // The session's programs share the user's settings with the shell, as in a log-in.
  env_ = buses;
  env_.insert({{"XDG_RUNTIME_DIR", run}, {"XDG_CONFIG_HOME", folder() + "/config"}, {"GSETTINGS_BACKEND", "keyfile"},
               {"MOZ_ENABLE_WAYLAND", "1"}, {"XDG_SESSION_TYPE", "wayland"}, {"XDG_CURRENT_DESKTOP", "GNOME"}});
  chromiumFlags_ = {"--ozone-platform=wayland"};
  logIn(shellEnv, extension);
}

void GnomeSession::installExtension(const std::vector<std::string>& trusted) {
  // The build's extension, or another copy of it such as a package's (PAGEWICK_E2E_SHELL_EXTENSION).
  const char* other = std::getenv("PAGEWICK_E2E_SHELL_EXTENSION");
  const std::string installed = folder() + "/data/gnome-shell/extensions/" + gnome::kExtensionId;
  std::filesystem::create_directories(installed);
  std::filesystem::copy(other ? other : PAGEWICK_SHELL_EXTENSION, installed,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  std::string callers;
  for (const auto& program : trusted) callers += program + "\n";
  std::ofstream(installed + "/callers") << callers;
}

void GnomeSession::logIn(const std::map<std::string, std::string>& shellEnv, bool extension) {
  makeXSocketFolder();
  Process& shell = start({"gnome-shell", "--headless", "--wayland", "--virtual-monitor", "1280x800",
                          "--wayland-display", "pagewick-gnome"},
                         shellEnv, "gnome-shell.log");
  shell_ = &shell;
  shellPid_ = shell.pid();
  shellEnv_ = shellEnv;
  socket_ = shellEnv.at("XDG_RUNTIME_DIR") + "/pagewick-gnome";
  env_["WAYLAND_DISPLAY"] = socket_;
  env_["DISPLAY"] = "";
  // The shell is up once it has its name on the bus; the extension once it has its own.
  const auto owned = [&](const std::string& name) {
    return output({"gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                   "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", name})
               .starts_with("(true,)");
  };
  waitFor([&] { return std::filesystem::is_socket(socket_) && owned("org.gnome.Shell"); },
          "GNOME Shell did not start; see gnome-shell.log");
  if (extension) waitFor([&] { return owned("org.kelvarin.Pagewick.Shell"); }, "the extension did not start");
  // The shell's XWayland: the first display whose lock the shell holds (it takes two), and its cookie.
  xDisplay_.clear();
  waitFor([&] {
    for (int n = 0; n < kXDisplays && xDisplay_.empty(); ++n) {
      if (xLockHolder(n) == shellPid_) xDisplay_ = ":" + std::to_string(n);
    }
    return !xDisplay_.empty();
  }, "GNOME Shell started no XWayland");
  for (const auto& entry : std::filesystem::directory_iterator(shellEnv.at("XDG_RUNTIME_DIR"))) {
    if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth.")) env_["XAUTHORITY"] = entry.path().string();
  }
  env_["DISPLAY"] = xDisplay_;
  exportEnvironment();
  connect(false);
}

void GnomeSession::logInAgain(const std::vector<std::string>& trusted) {
  shell_->stop();
  removeXFiles();
  // The old cookie, which the new XWayland would not take.
  for (const auto& entry : std::filesystem::directory_iterator(shellEnv_.at("XDG_RUNTIME_DIR"))) {
    if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth.")) std::filesystem::remove(entry.path());
  }
  installExtension(trusted);
  logIn(shellEnv_, true);
}

// A shell stopped by a signal may leave its displays' lock files and sockets; they name the shell.
GnomeSession::~GnomeSession() {
  stopAll();
  removeXFiles();
}

void GnomeSession::removeXFiles() {
  if (shellPid_ == 0) return;
  for (int n = 0; n < kXDisplays; ++n) {
    if (xLockHolder(n) != shellPid_) continue;
    std::error_code ignored;
    std::filesystem::remove("/tmp/.X11-unix/X" + std::to_string(n), ignored);
    std::filesystem::remove("/tmp/.X" + std::to_string(n) + "-lock", ignored);
  }
}

gnome::ShellService GnomeSession::service() {
  const QString address = QString::fromStdString("unix:path=" + sessionBus_);
  return gnome::ShellService(QDBusConnection::connectToBus(address, address));
}

// Through the extension, which only a trusted test may use.
bool GnomeSession::waitForWindow(TextView part, int timeoutMs) {
  gnome::ShellWindows windows = this->windows();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (const auto& w : windows.windows()) {
      if (w.title.find(part) != Text::npos) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
}

// Without the shell's own windows, which are the desktop's: GNOME 43's maps one of 1 by 1 pixels
// off the screen, titled gnome-shell, above every program's.
std::vector<Text> GnomeSession::stacking() {
  std::vector<Text> titles;
  for (const auto& w : windows().list()) {
    if (static_cast<int>(w.pid) != shellPid_) titles.push_back(w.title);
  }
  return titles;
}

std::string GnomeSession::clipboard() { return output({"timeout", "3", "xclip", "-o", "-selection", "clipboard"}); }

Process& GnomeSession::offerClipboard(const std::string& text) {
  return start({"xclip", "-quiet", "-selection", "clipboard", "-i", writeFile("offered.txt", text)}, {}, "xclip.log");
}

void GnomeSession::movePointer(int x, int y) { run({"xdotool", "mousemove", std::to_string(x), std::to_string(y)}); }

void GnomeSession::clickPointer() { run({"xdotool", "click", "1"}); }

std::optional<WindowHandle> GnomeSession::find(TextView title, bool whole) {
  for (const auto& w : windows().windows()) {
    if (whole ? w.title == title : w.title.find(title) != Text::npos) return w.handle;
  }
  return std::nullopt;
}

bool GnomeSession::focus(WindowHandle window) {
  gnome::ShellWindows windows = this->windows();
  windows.raise(window, 0);
  return eventually([&] { return windows.hasFocus(window); }, 5000);
}

bool GnomeSession::bringForward(const std::string& title) {
  const auto window = find(fromUtf8(title), true);
  return window && focus(*window);
}

bool GnomeSession::minimise(TextView part) {
  const auto window = find(part, false);
  if (!window || !focus(*window)) return false;
  constexpr uint kLeftMeta = 125, kH = 35;
  service().call("SendKeys", {QVariant::fromValue(QList<uint>{kLeftMeta, kH, kH, kLeftMeta}),
                              QVariant::fromValue(QList<bool>{true, true, false, false})});
  gnome::ShellWindows windows = this->windows();
  return eventually([&] { return !windows.hasFocus(*window); }, 5000);
}

WestonSession::WestonSession() : Session("weston") {
  const std::string run = folder() + "/run";
  std::filesystem::create_directories(run);
  ::chmod(run.c_str(), 0700);
  start({"weston", "--backend=headless-backend.so", "--socket=pagewick-weston", "--idle-time=0"},
        {{"XDG_RUNTIME_DIR", run}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}}, "weston.log");
  env_ = {{"WAYLAND_DISPLAY", awaitSocket(run, "pagewick-weston", "weston")}, {"XDG_RUNTIME_DIR", run},
          {"DISPLAY", ""}, {"XDG_SESSION_TYPE", "wayland"}};
  exportEnvironment();
}

}  // namespace pw::e2e
