#pragma once
#include <QSocketNotifier>
#include <memory>

#include "platform/activationpolicy.h"
#include "platform/kwin/kwinwindows.h"
#include "platform/qt/qtstacking.h"
#include "platform/routes/route.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"
#include "platform/wlroots/wlrwindows.h"

namespace pw {

// What a compositor's own route shares: the connection, whose events are handled from Qt's loop
// so that the clipboard is served while the window idles, and the data-control clipboard.
class WaylandRoute : public Route {
 public:
  Clipboard& clipboard() override { return clipboard_; }
  void handOver() override;

 protected:
  explicit WaylandRoute(std::unique_ptr<wayland::Connection> connection);
  wayland::Connection& connection() { return *connection_; }

 private:
  std::unique_ptr<wayland::Connection> connection_;
  wayland::DataClipboard clipboard_{*connection_};
  QSocketNotifier events_{connection_->fd(), QSocketNotifier::Read};
};

// KDE Plasma: KWin's window management, which also keeps our window above.
class KWinRoute final : public WaylandRoute {
 public:
  explicit KWinRoute(std::unique_ptr<wayland::Connection> connection) : WaylandRoute(std::move(connection)) {}
  WindowAutomation& automation() override { return automation_; }
  WindowStacking& stacking() override { return windows_; }

 private:
  kwin::KWinWindows windows_{connection()};
  ActivationPolicy automation_{windows_, kwin::KWinWindows::kTiming};
};

// sway and other wlroots compositors. Our window, an XWayland one, is kept above through Qt.
class WlrootsRoute final : public WaylandRoute {
 public:
  // Windows whose app id is `ownAppId` are ours and left out.
  WlrootsRoute(std::unique_ptr<wayland::Connection> connection, Text ownAppId)
      : WaylandRoute(std::move(connection)), windows_(this->connection(), std::move(ownAppId)) {}
  WindowAutomation& automation() override { return automation_; }
  WindowStacking& stacking() override { return stacking_; }

 private:
  wlroots::WlrWindows windows_;
  ActivationPolicy automation_{windows_, wlroots::WlrWindows::kTiming};
  qt::QtStacking stacking_;
};

}  // namespace pw
