#include "e2e/support/plasmawindows.h"

#include <wayland-client.h>

#include <stdexcept>

#include "plasma-window-management.h"
#include "platform/wayland/connection.h"

namespace pw::e2e {
namespace {

using Window = PlasmaWindows::Window;
constexpr std::uint32_t kMinimised = ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED;
constexpr std::uint32_t kActive = ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE;

template <class... Args>
void ignore(void*, org_kde_plasma_window*, Args...) {}

// The window's events up to the version bound below, as the program's own route binds it.
const org_kde_plasma_window_listener kWindowListener{
    .title_changed = [](void* d, org_kde_plasma_window*,
                        const char* title) { static_cast<Window*>(d)->title = fromUtf8(title); },
    .app_id_changed = ignore<const char*>,
    .state_changed = [](void* d, org_kde_plasma_window*, std::uint32_t flags) { static_cast<Window*>(d)->state = flags; },
    .virtual_desktop_changed = ignore<std::int32_t>,
    .themed_icon_name_changed = ignore<const char*>,
    .unmapped = ignore<>,
    .initial_state = ignore<>,
    .parent_window = ignore<org_kde_plasma_window*>,
    .geometry = ignore<std::int32_t, std::int32_t, std::uint32_t, std::uint32_t>,
    .icon_changed = ignore<>,
    .pid_changed = ignore<std::uint32_t>,
    .virtual_desktop_entered = ignore<const char*>,
    .virtual_desktop_left = ignore<const char*>,
    .application_menu = ignore<const char*, const char*>,
    .activity_entered = ignore<const char*>,
    .activity_left = ignore<const char*>,
    .resource_name_changed = ignore<const char*>,
};

}  // namespace

PlasmaWindows::PlasmaWindows(const std::string& socket)
    : connection_(std::make_unique<wayland::Connection>(socket.c_str())),
      management_(static_cast<org_kde_plasma_window_management*>(
          connection_->bind(org_kde_plasma_window_management_interface, 16))) {
  if (!management_) throw std::logic_error("this test is not trusted by KWin");
  static const org_kde_plasma_window_management_listener listener{
      .show_desktop_changed = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .window = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .stacking_order_changed = [](void*, org_kde_plasma_window_management*, wl_array*) {},
      .stacking_order_uuid_changed = [](void*, org_kde_plasma_window_management*, const char*) {},
      // By uuid: KWin 6 ignores state changes asked through a window got by its number.
      .window_with_uuid =
          [](void* data, org_kde_plasma_window_management* management, std::uint32_t, const char* uuid) {
            auto& windows = static_cast<PlasmaWindows*>(data)->windows_;
            Window& window =
                windows.emplace_back(Window{org_kde_plasma_window_management_get_window_by_uuid(management, uuid), {}});
            org_kde_plasma_window_add_listener(window.proxy, &kWindowListener, &window);
          },
  };
  org_kde_plasma_window_management_add_listener(management_, &listener, this);
  connection_->roundtrip();  // the windows
  connection_->roundtrip();  // their titles and states
}

PlasmaWindows::~PlasmaWindows() {
  for (const auto& window : windows_) org_kde_plasma_window_destroy(window.proxy);
  org_kde_plasma_window_management_destroy(management_);
}

Window* PlasmaWindows::find(TextView part) {
  for (auto& window : windows_) {
    if (window.title.find(part) != Text::npos) return &window;
  }
  return nullptr;
}

bool PlasmaWindows::change(TextView part, std::uint32_t flag) {
  Window* window = find(part);
  if (!window) return false;
  org_kde_plasma_window_set_state(window->proxy, flag, flag);
  for (int i = 0; i < 100 && !(window->state & flag); ++i) connection_->serveFor(50);
  return window->state & flag;
}

bool PlasmaWindows::minimise(TextView part) { return change(part, kMinimised); }

bool PlasmaWindows::activate(TextView part) { return change(part, kActive); }

bool PlasmaWindows::active(TextView part) {
  connection_->roundtrip();
  const Window* window = find(part);
  return window && (window->state & kActive) && !(window->state & kMinimised);
}

}  // namespace pw::e2e
