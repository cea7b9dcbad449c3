#pragma once
// How this session reaches other programs' windows and the clipboard, and keeps our own window
// above: one route per kind of desktop, chosen once at start-up.
#include <memory>

#include "platform/clipboard.h"
#include "platform/windowautomation.h"

namespace pw {

class Route {
 public:
  virtual ~Route() = default;
  virtual WindowAutomation& automation() = 0;
  virtual Clipboard& clipboard() = 0;
  virtual WindowStacking& stacking() = 0;
  // At the end: our clipboard text stays served after we are gone.
  virtual void handOver() = 0;
};

// The route the session offers: X11, a Wayland compositor's own (wlroots or KWin), GNOME's through
// our shell extension, or, where there is none, one that says why at the capture's first step.
// Needs the application object to exist.
std::unique_ptr<Route> sessionRoute();

}  // namespace pw
