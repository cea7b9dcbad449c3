#include "e2e/support/program.h"

#include <gtest/gtest.h>
// After GoogleTest, whose names X11's macros (None) would replace.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "e2e/support/screen.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/x11/x11windows.h"

namespace pw::e2e {

using namespace std::chrono_literals;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

bool eventually(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

Launch linuxBuild(const std::string& configHome) {
  std::filesystem::create_directories(configHome);
  // PAGEWICK_E2E_BINARY runs another build of the program, e.g. the installed package's.
  const char* binary = std::getenv("PAGEWICK_E2E_BINARY");
  const std::string log = binary ? "" : configHome + "/messages.log";
  return {{binary ? binary : PAGEWICK_BINARY},
          {{"XDG_CONFIG_HOME", configHome}, {"PAGEWICK_MESSAGE_LOG", log}},
          log,
          [configHome](const std::string& key) {
            posix::FileSettingsStore store(configHome);
            return store.get(u"Kelvarin", u"Pagewick", fromUtf8(key), u"<absent>");
          }};
}

Program::Program(XSession& session, const std::string& configHome) : Program(session, linuxBuild(configHome)) {}

Program::Program(XSession& session, Launch launch) : session_(session), launch_(std::move(launch)) {
  process_ = &session_.start(launch_.argv, launch_.env, "pagewick.log");
  // The main window is the one titled exactly "Pagewick" that is not a message box. A build that
  // loads before it shows its window reports start-up errors first; each is answered, and again
  // if it is still there two seconds later: a key sent as a box maps can be lost on a busy machine.
  std::map<unsigned long, std::chrono::steady_clock::time_point> answered;
  auto found = session_.waitForWindow([&](const WindowCandidate& w) {
    const auto now = std::chrono::steady_clock::now();
    if (launch_.answerStartErrors && w.title == u"Application Error" &&
        (!answered.contains(w.handle) || now - answered[w.handle] > 2s)) {
      answered[w.handle] = now;
      session_.run({"xdotool", "windowactivate", "--sync", std::to_string(w.handle), "key", "Return"});
    }
    return w.title == u"Pagewick";
  }, launch_.windowMs);
  if (!found) throw std::runtime_error("pagewick showed no window");
  window_ = *found;
}

Program::~Program() {
  if (process_) process_->stop();
}

void Program::click(Spot at) {
  // A browser window may lie over ours until ours is in front.
  session_.run({"xdotool", "windowactivate", "--sync", std::to_string(window_)});
  session_.run({"xdotool", "mousemove", "--window", std::to_string(window_), std::to_string(at.x),
                std::to_string(at.y), "click", "1"});
}

void Program::key(const std::string& keys) { session_.run({"xdotool", "key", "--clearmodifiers", keys}); }

void Program::type(const std::string& text) { session_.run({"xdotool", "type", "--delay", "5", text}); }

std::vector<ShownMessage> Program::messages(std::size_t count) {
  std::vector<ShownMessage> shown;
  const auto read = [&] {
    shown.clear();
    if (launch_.messageLog.empty()) {
      session_.waitForWindow([&](const WindowCandidate& w) {
        if (w.handle != window_) shown.push_back({w.title, u""});
        return false;
      }, 0);
      return;
    }
    const Text all = fromUtf8(readFile(launch_.messageLog));
    std::size_t start = 0;
    for (std::size_t end; (end = all.find(u'\x1E', start)) != Text::npos; start = end + 1) {
      const Text entry = all.substr(start, end - start);
      const auto split = entry.find(u'\x1F');
      shown.push_back({entry.substr(0, split), entry.substr(split + 1)});
    }
  };
  // Fewer than asked for fails the test here, instead of an index past the end in it.
  if (!eventually([&] { return read(), shown.size() >= count; })) {
    throw std::runtime_error(std::to_string(shown.size()) + " message boxes shown, not " + std::to_string(count));
  }
  return shown;
}

unsigned long Program::find(TextView title) {
  const unsigned long main = window_;
  auto window = session_.waitForWindow([&](const WindowCandidate& w) { return w.handle != main && w.title == title; });
  if (!window) throw std::runtime_error("no window titled " + toUtf8(title));
  return *window;
}

unsigned long Program::focus(TextView title) {
  const unsigned long window = find(title);
  session_.run({"xdotool", "windowactivate", "--sync", std::to_string(window)});
  return window;
}

void Program::answer(TextView title, const std::string& key) {
  const unsigned long box = focus(title);
  this->key(key);
  eventually([&] { return !session_.waitForWindow([&](const WindowCandidate& w) { return w.handle == box; }, 0); });
}

void Program::close() { askToClose(session_.display(), window_); }

bool Program::exited(int timeoutMs) {
  const bool gone = process_->wait(timeoutMs) >= 0;
  if (gone) process_ = nullptr;
  return gone;
}

bool Program::topmost() { return keptAbove(session_.display(), window_); }

void Program::screenshot(const std::string& name) { saveScreenImage(grabScreen(session_.display()), name); }

Text Program::stored(const std::string& key) const { return launch_.stored(key); }

::testing::AssertionResult Program::waitForStored(const std::string& key, const Text& value, int timeoutMs) const {
  if (eventually([&] { return stored(key) == value; }, timeoutMs)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << key << " holds \"" << toUtf8(stored(key)) << "\"; the boxes said: \""
                                       << (launch_.messageLog.empty() ? "(not recorded)" : readFile(launch_.messageLog))
                                       << "\"";
}

std::string clipboardText(XSession& session) { return session.output({"xclip", "-o", "-selection", "clipboard"}); }

void offerClipboard(XSession& session, const std::string& text) {
  const std::string file = session.writeFile("clipboard.txt", text);
  session.start({"xclip", "-quiet", "-selection", "clipboard", "-i", file}, {}, "xclip.log");
  eventually([&] { return clipboardText(session) == text; });
}

std::string copyFromBrowser(XSession& session, const std::string& title) {
  session.run({"xdotool", "search", "--name", title, "windowactivate", "--sync", "key", "--clearmodifiers",
               "ctrl+a", "ctrl+c"});
  std::string text;
  eventually([&] { return !(text = clipboardText(session)).empty(); });
  return text;
}

std::optional<unsigned long> xWindow(const std::string& display, TextView title) {
  x11::X11Windows windows(display.c_str());
  for (const auto& window : windows.windows()) {
    if (window.title == title) return window.handle;
  }
  return std::nullopt;
}

namespace {

// An X property of 32-bit items, such as a list of atoms or a window; empty when it is not set.
std::vector<unsigned long> property(const std::string& display, unsigned long window, const char* name,
                                    Atom wantedType) {
  Display* d = XOpenDisplay(display.c_str());
  if (!window) window = DefaultRootWindow(d);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(d, window, XInternAtom(d, name, False), 0, 1024, False, wantedType, &type, &format, &count,
                         &after, &data) == Success && data) {
    if (format == 32) items.assign(reinterpret_cast<const unsigned long*>(data), reinterpret_cast<const unsigned long*>(data) + count);
    XFree(data);
  }
  XCloseDisplay(d);
  return items;
}

}  // namespace

ScreenImage grabScreen(const std::string& display) {
  Display* d = XOpenDisplay(display.c_str());
  const Window root = DefaultRootWindow(d);
  XWindowAttributes attributes{};
  XGetWindowAttributes(d, root, &attributes);
  ScreenImage screen{attributes.width, attributes.height, {}};
  XImage* image = XGetImage(d, root, 0, 0, static_cast<unsigned>(screen.width), static_cast<unsigned>(screen.height),
                            AllPlanes, ZPixmap);
  screen.pixels.reserve(static_cast<std::size_t>(screen.width) * static_cast<std::size_t>(screen.height));
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) screen.pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
  }
  XDestroyImage(image);
  XCloseDisplay(d);
  return screen;
}

BoxOnScreen Program::onScreen(unsigned long box, const ScreenImage& before) {
  return judgeBox(session_.display(), box, window_, topXWindow(session_.display()) == box, before,
                  grabScreen(session_.display()));
}

namespace {

// Whether the atom list `name` of `window` (0: the root) holds the atom `atom`.
bool listsAtom(const std::string& display, unsigned long window, const char* name, const char* atom) {
  Display* d = XOpenDisplay(display.c_str());
  const Atom wanted = XInternAtom(d, atom, False);
  XCloseDisplay(d);
  const auto atoms = property(display, window, name, XA_ATOM);
  return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
}

}  // namespace

bool keptAbove(const std::string& display, unsigned long window) {
  return listsAtom(display, window, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE");
}

bool offersKeepAbove(const std::string& display) {
  return listsAtom(display, 0, "_NET_SUPPORTED", "_NET_WM_STATE_ABOVE");
}

std::optional<unsigned long> topXWindow(const std::string& display) {
  const auto windows = x11::X11Windows(display.c_str()).windows();
  if (windows.empty()) return std::nullopt;
  return windows.front().handle;
}

std::optional<unsigned long> activeXWindow(const std::string& display) {
  const auto active = property(display, 0, "_NET_ACTIVE_WINDOW", XA_WINDOW);
  if (active.empty() || !active[0]) return std::nullopt;
  return active[0];
}

void askToClose(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window, False, NoEventMask, &event);
  XCloseDisplay(d);
}

void askToRedraw(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  if (!d) return;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(d, window, &attributes)) {
    XEvent event{};
    event.xexpose.type = Expose;
    event.xexpose.window = window;
    event.xexpose.width = attributes.width;
    event.xexpose.height = attributes.height;
    XSendEvent(d, window, False, NoEventMask, &event);
  }
  XCloseDisplay(d);
}

}  // namespace pw::e2e
