#pragma once
#include "platform/activationpolicy.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtstacking.h"
#include "platform/routes/clipboardhandover.h"
#include "platform/routes/guardedclipboard.h"
#include "platform/routes/route.h"
#include "platform/x11/selectionprobe.h"
#include "platform/x11/x11windows.h"

namespace pw {

// An X11 session (or a WAYLAND_DISPLAY left over from one that has ended): Xlib and XTest for
// other programs' windows, Qt's clipboard, which is then the X clipboard. Under a Wayland
// compositor that offers no route of its own the session is refused instead: XWayland sees only
// XWayland's windows, and browsers there are Wayland programs.
class X11Route final : public Route {
 public:
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  WindowStacking& stacking() override { return stacking_; }
  void handOver() override { handOverQtClipboard(qtClipboard_); }

 private:
  x11::X11Windows windows_;
  ActivationPolicy automation_{windows_, x11::X11Windows::kTiming};
  qt::QtClipboard qtClipboard_;
  x11::SelectionProbe probe_;
  GuardedClipboard clipboard_{qtClipboard_, probe_};
  qt::QtStacking stacking_;
};

}  // namespace pw
