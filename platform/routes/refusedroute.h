#pragma once
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtstacking.h"
#include "platform/routes/clipboardhandover.h"
#include "platform/routes/route.h"
#include "platform/wayland/refusingautomation.h"

namespace pw {

// A Wayland desktop that gives us no way to other programs' windows: the capture says why at its
// first step, and the clipboard is the X clipboard, which XWayland shares with Wayland programs.
class RefusedRoute final : public Route {
 public:
  explicit RefusedRoute(Text why) : automation_(std::move(why)) {}
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  WindowStacking& stacking() override { return stacking_; }
  void handOver() override { handOverQtClipboard(clipboard_); }

 private:
  wayland::RefusingAutomation automation_;
  qt::QtClipboard clipboard_;
  qt::QtStacking stacking_;
};

}  // namespace pw
