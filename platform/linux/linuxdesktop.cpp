// The Linux desktop: Qt for the window, event loop and dialogs; POSIX for the clock, the settings
// and the output file; and for other programs' windows and the clipboard, the route the session
// offers: Xlib and XTest on X11, the compositor's extensions on Wayland, and on GNOME our own
// shell extension.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdlib>

#include "platform/desktop.h"
#include "platform/gnome/shellclipboard.h"
#include "platform/gnome/shellwindows.h"
#include "platform/linux/clipboardhandover.h"
#include "platform/linux/guardedclipboard.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/posix/localclock.h"
#include "platform/posix/posixfiles.h"
#include "platform/qtext.h"
#include "platform/runtimeerror.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtsavedialog.h"
#include "platform/stdrandom.h"
#include "platform/wayland/dataclipboard.h"
#include "platform/wayland/kwinwindows.h"
#include "platform/wayland/waylandroute.h"
#include "platform/wayland/wlconnection.h"
#include "platform/wayland/wlrwindows.h"
#include "platform/x11/x11automation.h"

namespace pw {
namespace {

// How this session reaches other programs' windows and the clipboard.
class Route {
 public:
  virtual ~Route() = default;
  virtual WindowAutomation& automation() = 0;
  virtual Clipboard& clipboard() = 0;
  // How our own window is kept above, where the route has its own way.
  virtual WindowStacking* stacking() { return nullptr; }
  // At the end: our clipboard text stays served after we are gone.
  virtual void handOver() = 0;
};

// Qt's clipboard is the X clipboard when our window is an X11 one (under XWayland too).
void handOverQtClipboard(qt::QtClipboard& clipboard) {
  if (QGuiApplication::platformName() == u"xcb" && clipboard.ownsClipboard()) {
    handOverClipboard("pagewick-clipboard", toUtf8(clipboard.text(std::nullopt)));
  }
}

class X11Route final : public Route {
 public:
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  void handOver() override { handOverQtClipboard(qtClipboard_); }

 private:
  x11::X11Windows windows_;
  ActivationPolicy automation_{windows_, x11::X11Windows::kTiming};
  qt::QtClipboard qtClipboard_;
  x11::SelectionProbe probe_;
  GuardedClipboard clipboard_{qtClipboard_, probe_};
};

// A Wayland compositor's own route (wlroots or KWin). The connection's events are handled from
// Qt's loop, so that the clipboard is served while the window idles.
class WaylandRoute final : public Route {
 public:
  template <class Windows, class... Args>
  static std::unique_ptr<Route> make(std::unique_ptr<wayland::Connection> connection, ActivationTiming timing,
                                     Args&&... args) {
    auto windows = std::make_unique<Windows>(*connection, std::forward<Args>(args)...);
    return std::unique_ptr<Route>(new WaylandRoute(std::move(connection), std::move(windows), timing));
  }
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  WindowStacking* stacking() override { return dynamic_cast<WindowStacking*>(windows_.get()); }
  void handOver() override {
    if (const std::string* text = clipboard_.ownText()) handOverClipboard("pagewick-wayland-clipboard", *text);
  }

 private:
  WaylandRoute(std::unique_ptr<wayland::Connection> connection, std::unique_ptr<WindowSystem> windows,
               ActivationTiming timing)
      : connection_(std::move(connection)), windows_(std::move(windows)), automation_(*windows_, timing) {
    QObject::connect(&events_, &QSocketNotifier::activated, [this] { connection_->dispatch(); });
  }
  std::unique_ptr<wayland::Connection> connection_;
  std::unique_ptr<WindowSystem> windows_;
  ActivationPolicy automation_;
  wayland::DataClipboard clipboard_{*connection_};
  QSocketNotifier events_{connection_->fd(), QSocketNotifier::Read};
};

// GNOME, through Pagewick's shell extension. What we put on the clipboard belongs to the shell,
// which keeps it served after we are gone.
class GnomeRoute final : public Route {
 public:
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  WindowStacking* stacking() override { return &windows_; }
  void handOver() override {}

 private:
  gnome::ShellWindows windows_;
  ActivationPolicy automation_{windows_, gnome::ShellWindows::kTiming};
  gnome::ShellClipboard clipboard_;
};

// A Wayland compositor that offers no route: the capture says so at its first step.
class RefusedRoute final : public Route {
 public:
  explicit RefusedRoute(Text why) : automation_(std::move(why)) {}
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  void handOver() override { handOverQtClipboard(clipboard_); }

 private:
  wayland::RefusingAutomation automation_;
  qt::QtClipboard clipboard_;
};

std::unique_ptr<Route> sessionRoute() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!wayland || !*wayland) return std::make_unique<X11Route>();
  std::unique_ptr<wayland::Connection> connection;
  try {
    connection = std::make_unique<wayland::Connection>();
  } catch (const RuntimeError&) {
    return std::make_unique<X11Route>();  // a stale variable; the X server may still be there
  }
  if (wayland::DataClipboard::supported(*connection)) {
    if (wayland::KWinWindows::supported(*connection)) {
      return WaylandRoute::make<wayland::KWinWindows>(std::move(connection), wayland::KWinWindows::kTiming);
    }
    if (wayland::WlrWindows::supported(*connection)) {
      // Our window is left out by its app id, which Qt makes of the application's name.
      return WaylandRoute::make<wayland::WlrWindows>(std::move(connection), wayland::WlrWindows::kTiming,
                                                     fromQString(QCoreApplication::applicationName()));
    }
  }
  // Where our extension cannot serve us, the capture says why at its first step, and the clipboard
  // is the X clipboard, which XWayland shares with Wayland programs.
  if (gnome::ShellService::shellRuns()) {
    if (auto why = gnome::ShellService::refusal()) return std::make_unique<RefusedRoute>(std::move(*why));
    return std::make_unique<GnomeRoute>();
  }
  return std::make_unique<RefusedRoute>(wayland::missingRouteDescription(*connection));
}

std::unique_ptr<SettingsStore> userSettings() {
  return std::make_unique<posix::FileSettingsStore>(posix::FileSettingsStore::defaultRoot());
}

class LinuxDesktop final : public Desktop {
 public:
  explicit LinuxDesktop(DesktopOptions options)
      : settings_(options.settings ? std::move(options.settings) : userSettings()),
        wrapped_(options.wrapMessages ? options.wrapMessages(messages_, app_) : nullptr) {}
  Services& services() override { return services_; }

 private:
  std::unique_ptr<Route> route_ = sessionRoute();
  qt::QtStacking stacking_;
  posix::LocalClock clock_;
  qt::QtEventPump events_{clock_};
  std::unique_ptr<SettingsStore> settings_;
  // End leaves at once: the last saves reach the disk first.
  qt::QtApplication app_{[this] {
    settings_->flush();
    route_->handOver();
  }};
  qt::QtMessageBoxes messages_{app_};
  qt::QtSaveDialog saveDialog_;
  posix::PosixFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{route_->automation(), route_->stacking() ? *route_->stacking() : stacking_, route_->clipboard(),
                     events_, *settings_,
                     wrapped_ ? *wrapped_ : messages_, saveDialog_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) {
  return std::make_unique<LinuxDesktop>(std::move(options));
}

}  // namespace pw
