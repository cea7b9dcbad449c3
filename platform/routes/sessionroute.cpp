#include <QCoreApplication>
#include <cstdlib>

#include "platform/gnome/shellservice.h"
#include "platform/qtext/qtext.h"
#include "platform/routes/gnomeroute.h"
#include "platform/routes/refusedroute.h"
#include "platform/routes/waylandroutes.h"
#include "platform/routes/x11route.h"
#include "platform/runtimeerror.h"

namespace pw {

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
    if (kwin::KWinWindows::supported(*connection)) return std::make_unique<KWinRoute>(std::move(connection));
    if (wlroots::WlrWindows::supported(*connection)) {
      // Our window is left out by its app id, which Qt makes of the application's name.
      return std::make_unique<WlrootsRoute>(std::move(connection), fromQString(QCoreApplication::applicationName()));
    }
  }
  if (gnome::ShellService::shellRuns()) {
    if (auto why = gnome::ShellService::refusal()) return std::make_unique<RefusedRoute>(std::move(*why));
    return std::make_unique<GnomeRoute>();
  }
  return std::make_unique<RefusedRoute>(wayland::missingRouteDescription(*connection));
}

}  // namespace pw
