#include "platform/kwin/kwinwindows.h"

#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <sstream>

#include "fake-input.h"
#include "plasma-window-management.h"
#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"
#include "platform/wayland/connection.h"
#include "platform/xkb/uskeys.h"

namespace pw::kwin {

struct KWinWindows::Window {
  Window(WindowHandle h, std::string u, org_kde_plasma_window* p) : handle(h), uuid(std::move(u)), proxy(p) {}
  WindowHandle handle;
  std::string uuid;
  org_kde_plasma_window* proxy;
  Text title;
  std::uint32_t state = 0;
  std::uint32_t pid = 0;
  bool unmapped = false;
};

namespace {

using Window = KWinWindows::Window;
Window& of(void* data) { return *static_cast<Window*>(data); }

template <class... Args>
void ignore(void*, org_kde_plasma_window*, Args...) {}

const org_kde_plasma_window_listener kWindowListener{
    .title_changed = [](void* d, org_kde_plasma_window*, const char* title) { of(d).title = fromUtf8(title); },
    .app_id_changed = ignore<const char*>,
    .state_changed = [](void* d, org_kde_plasma_window*, std::uint32_t flags) { of(d).state = flags; },
    .virtual_desktop_changed = ignore<std::int32_t>,
    .themed_icon_name_changed = ignore<const char*>,
    .unmapped = [](void* d, org_kde_plasma_window*) { of(d).unmapped = true; },
    .initial_state = ignore<>,
    .parent_window = ignore<org_kde_plasma_window*>,
    .geometry = ignore<std::int32_t, std::int32_t, std::uint32_t, std::uint32_t>,
    .icon_changed = ignore<>,
    .pid_changed = [](void* d, org_kde_plasma_window*, std::uint32_t pid) { of(d).pid = pid; },
    .virtual_desktop_entered = ignore<const char*>,
    .virtual_desktop_left = ignore<const char*>,
    .application_menu = ignore<const char*, const char*>,
    .activity_entered = ignore<const char*>,
    .activity_left = ignore<const char*>,
    .resource_name_changed = ignore<const char*>,
};

}  // namespace

bool KWinWindows::supported(const Connection& connection) {
  return connection.offers(org_kde_plasma_window_management_interface.name) &&
         connection.offers(org_kde_kwin_fake_input_interface.name);
}

KWinWindows::KWinWindows(Connection& connection)
    : connection_(connection),
      management_(static_cast<org_kde_plasma_window_management*>(
          connection.bind(org_kde_plasma_window_management_interface, 16))),
      input_(static_cast<org_kde_kwin_fake_input*>(connection.bind(org_kde_kwin_fake_input_interface, 4))) {
  static const org_kde_plasma_window_management_listener listener{
      .show_desktop_changed = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .window = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .stacking_order_changed = [](void*, org_kde_plasma_window_management*, wl_array*) {},
      .stacking_order_uuid_changed =
          [](void* data, org_kde_plasma_window_management*, const char* uuids) {
            auto& self = *static_cast<KWinWindows*>(data);
            self.stacking_.clear();
            std::istringstream words(uuids);
            for (std::string uuid; std::getline(words, uuid, ';');) self.stacking_.push_back(uuid);
          },
      .window_with_uuid = [](void* data, org_kde_plasma_window_management*, std::uint32_t,
                             const char* uuid) { static_cast<KWinWindows*>(data)->adopt(uuid); },
  };
  org_kde_plasma_window_management_add_listener(management_, &listener, this);
  org_kde_kwin_fake_input_authenticate(input_, "Pagewick", "copies the text of the page in your browser");
  connection.roundtrip();
  connection.roundtrip();  // the windows' first state follows their announcement
}

KWinWindows::~KWinWindows() {
  for (auto& w : windows_) org_kde_plasma_window_destroy(w->proxy);
  org_kde_kwin_fake_input_destroy(input_);
  org_kde_plasma_window_management_destroy(management_);
}

void KWinWindows::adopt(const char* uuid) {
  auto* proxy = org_kde_plasma_window_management_get_window_by_uuid(management_, uuid);
  auto& w = *windows_.emplace_back(new Window(nextHandle_++, uuid, proxy));
  org_kde_plasma_window_add_listener(proxy, &kWindowListener, &w);
}

KWinWindows::Window* KWinWindows::find(WindowHandle window) {
  for (auto& w : windows_) {
    if (w->handle == window && !w->unmapped) return w.get();
  }
  return nullptr;
}

std::vector<WindowCandidate> KWinWindows::windows() {
  connection_.roundtrip();
  std::erase_if(windows_, [](const auto& w) {
    if (w->unmapped) org_kde_plasma_window_destroy(w->proxy);
    return w->unmapped;
  });
  const auto self = static_cast<std::uint32_t>(::getpid());
  std::vector<WindowCandidate> candidates;
  for (auto uuid = stacking_.rbegin(); uuid != stacking_.rend(); ++uuid) {
    for (const auto& w : windows_) {
      if (w->uuid == *uuid && w->pid != self) candidates.push_back({w->handle, w->title});
    }
  }
  return candidates;
}

void KWinWindows::raise(WindowHandle window, int) {
  Window* w = find(window);
  if (!w) return;
  if (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED) {
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED, 0);
  }
  org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE,
                                  ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
  connection_.dispatch();
}

bool KWinWindows::hasFocus(WindowHandle window) {
  connection_.dispatch();
  const Window* w = find(window);
  return w && (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
}

std::optional<Text> KWinWindows::focusedTitle() {
  for (const auto& w : windows_) {
    if (!w->unmapped && (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE)) return w->title;
  }
  return std::nullopt;
}

void KWinWindows::prepareKeys(TextView keys) { xkb::usKeyPresses(keys); }

void KWinWindows::typeKeys(TextView keys) {
  for (const auto& [code, down] : xkb::usKeyPresses(keys)) {
    org_kde_kwin_fake_input_keyboard_key(input_, code, down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                            : WL_KEYBOARD_KEY_STATE_RELEASED);
  }
  connection_.roundtrip();
}

void KWinWindows::pause(int ms) {
  connection_.serveFor(ms);
}

void KWinWindows::makeTopmost(WindowHandle) {
  connection_.roundtrip();
  const auto self = static_cast<std::uint32_t>(::getpid());
  for (const auto& w : windows_) {
    if (w->pid != self || w->unmapped) continue;
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE,
                                    ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE);
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE,
                                    ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
  }
  connection_.dispatch();
}

}  // namespace pw::kwin
