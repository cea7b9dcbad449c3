// Windows that must never be activated, and titles meant to break the search, on a real X
// server with and without a window manager.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>
#include <thread>

#include "e2e/support/program.h"
#include "e2e/support/xsession.h"
#include "platform/activationpolicy.h"
#include "platform/runtimeerror.h"
#include "platform/x11/x11windows.h"

namespace pw::e2e {
namespace {

// Windows made on a connection of their own, as another program would make them.
class Windows {
 public:
  explicit Windows(const std::string& display) : d_(XOpenDisplay(display.c_str())) {}
  ~Windows() { XCloseDisplay(d_); }

  Window make(const std::string& utf8Title, bool map, bool overrideRedirect, long pid = 0) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = overrideRedirect;
    Window w = XCreateWindow(d_, DefaultRootWindow(d_), 10, 10, 200, 100, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect, &attributes);
    XChangeProperty(d_, w, XInternAtom(d_, "_NET_WM_NAME", False), XInternAtom(d_, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8Title.data()),
                    static_cast<int>(utf8Title.size()));
    if (pid) {
      XChangeProperty(d_, w, XInternAtom(d_, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&pid), 1);
    }
    if (map) XMapWindow(d_, w);
    XSync(d_, False);
    return w;
  }

 private:
  Display* d_;
};

void neverActivatesTheDecoys(bool windowManager) {
  XSession session({.windowManager = windowManager});
  Windows windows(session.display());
  windows.make("Firefox", false, false);                 // never mapped
  windows.make("Firefox", true, true);                   // override-redirect, like a menu
  windows.make("Firefox", true, false, getpid());        // one of our own
  windows.make("\xFF\xFE bad \xC0 UTF-8 \xED\xA0\x80 Firefox", true, false);
  x11::X11Windows system(session.display().c_str());
  ActivationPolicy automation(system, x11::X11Windows::kTiming);
  ASSERT_TRUE(session.waitForWindow(u"UTF-8", 30000)) << session.describe();
  windows.make(std::string(64 * 1024, 'x'), true, false);  // a 64 KB title
  ASSERT_TRUE(session.waitForWindow([](const WindowCandidate& w) { return w.title.size() == 64 * 1024; }, 30000));

  // Only the title with bad bytes counts: it ends with the name.
  std::vector<WindowCandidate> found = system.windows();
  auto matches = std::count_if(found.begin(), found.end(), [](auto& w) { return matchTitle(w.title, u"Firefox") != TitleMatch::NoMatch; });
  EXPECT_EQ(matches, 1);

  const Window real = windows.make("Real page — Mozilla Firefox", true, false);
  ASSERT_TRUE(session.waitForWindow(u"Real page", 30000));
  // The window manager focuses new windows as it gets to them; let it finish first.
  std::string focus, previous;
  ASSERT_TRUE(eventually([&] {
    previous = focus;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    focus = session.output({"xdotool", "getwindowfocus"});
    return focus == previous;
  }));
  // The decoy with bad bytes is older; the real window is on top.
  automation.activate(u"Firefox");
  EXPECT_EQ(session.output({"xdotool", "getwindowfocus"}), std::to_string(real) + "\n");
}

TEST(HostileWindows, AreNeverActivatedWithAWindowManager) { neverActivatesTheDecoys(true); }
TEST(HostileWindows, AreNeverActivatedWithoutOne) { neverActivatesTheDecoys(false); }

}  // namespace
}  // namespace pw::e2e
