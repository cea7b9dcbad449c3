#include "platform/x11/x11windows.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"
#include "platform/x11/keyboard.h"
#include "platform/x11/properties.h"

namespace pw::x11 {
namespace {

// Windows may vanish between listing and reading them; their errors are expected, not fatal.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

Text unavailableReason(const char* name) {
  const char* display = name ? name : std::getenv("DISPLAY");
  if (!display || !*display) {
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) {
      return u"Browser windows cannot be reached: this is a Wayland session and no X server "
             u"(XWayland) is available. Run Pagewick in an X11 session or under XWayland.";
    }
    return u"Browser windows cannot be reached: no X display is set (DISPLAY is empty).";
  }
  return u"Browser windows cannot be reached: the X display \"" + fromUtf8(display) +
         u"\" does not answer.";
}

}  // namespace

X11Windows::X11Windows(const char* displayName) {
  XSetErrorHandler(ignoreErrors);
  display_ = XOpenDisplay(displayName);
  if (display_) props_.emplace(display_);
  else unavailable_ = unavailableReason(displayName);
}

X11Windows::~X11Windows() {
  if (display_) XCloseDisplay(display_);
}

Display* X11Windows::display() {
  if (!display_) throw RuntimeError(err::ServiceUnavailable, unavailable_);
  return display_;
}

Properties& X11Windows::props() {
  display();
  return *props_;
}

bool X11Windows::windowManagerRunning() {
  Properties& props = this->props();
  const auto check = props.window(DefaultRootWindow(display_), props.atoms.netSupportingWmCheck);
  return check && props.window(*check, props.atoms.netSupportingWmCheck) == check;
}

std::vector<WindowCandidate> X11Windows::windows() {
  Properties& props = this->props();
  const Window root = DefaultRootWindow(display_);
  std::vector<unsigned long> windows;  // bottom first
  if (windowManagerRunning()) {
    windows = props.windows(root, props.atoms.netClientListStacking);
    if (windows.empty()) windows = props.windows(root, props.atoms.netClientList);
  } else {
    for (const Window child : props.children(root)) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display_, child, &attributes) && attributes.map_state == IsViewable &&
          !attributes.override_redirect) {
        windows.push_back(child);
      }
    }
  }
  std::vector<WindowCandidate> result;
  const auto self = static_cast<unsigned long>(::getpid());
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (props.cardinal(*it, props.atoms.netWmPid) == self) continue;
    if (auto title = props.title(*it)) result.push_back({*it, std::move(*title)});
  }
  return result;
}

void X11Windows::raise(WindowHandle window, int attempt) {
  Display* d = display();
  const bool viaWindowManager = attempt == 0 && windowManagerRunning();
  Properties& props = this->props();
  const Window root = DefaultRootWindow(d);
  if (viaWindowManager) {
    auto desktop = props.cardinal(window, props.atoms.netWmDesktop);
    auto current = props.cardinal(root, props.atoms.netCurrentDesktop);
    if (desktop && current && *desktop != 0xFFFFFFFFul && *desktop != *current) {
      props.sendToRoot(root, props.atoms.netCurrentDesktop, {static_cast<long>(*desktop), CurrentTime});
    }
    // Source 2: a pager acting for the user, which window managers do not refuse.
    props.sendToRoot(window, props.atoms.netActiveWindow, {2, CurrentTime, 0});
  } else {
    XMapRaised(d, window);
    XRaiseWindow(d, window);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, window, &attributes) && attributes.map_state == IsViewable) {
      XSetInputFocus(d, window, RevertToParent, CurrentTime);
    }
  }
  XSync(d, False);
}

// The windows from the one with the input focus up to its top-level window, until `stop` says so.
template <class Stop>
void X11Windows::upFromFocus(Stop stop) {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display(), &focus, &revert);
  for (int depth = 0; focus > PointerRoot && depth < 64; ++depth) {
    if (stop(focus)) return;
    const auto parent = props().parent(focus);
    if (!parent) return;
    focus = *parent;
  }
}

// The focus may sit on one of the window's children.
bool X11Windows::hasFocus(WindowHandle window) {
  bool found = false;
  upFromFocus([&](Window w) { return found = w == window; });
  return found;
}

// The first window up from the focus that has a title: the client, inside any frame.
std::optional<Text> X11Windows::focusedTitle() {
  std::optional<Text> title;
  upFromFocus([&](Window w) { return (title = props().title(w)).has_value(); });
  return title;
}

Text X11Windows::heldModifier() { return Keyboard(display()).heldModifier(); }

void X11Windows::prepareKeys(TextView keys) {
  Display* d = display();
  parseKeys(keys);
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(d, &event, &error, &major, &minor)) {
    throw RuntimeError(err::ServiceUnavailable, u"Keystrokes cannot be sent: the X server has no XTEST extension.");
  }
}

void X11Windows::typeKeys(TextView keys) {
  Keyboard keyboard(display());
  for (const KeyStroke& stroke : parseKeys(keys)) keyboard.press(stroke, keys);
}

void X11Windows::pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace pw::x11
