#include "platform/wlroots/wlrwindows.h"

#include <wayland-client.h>

#include <algorithm>

#include "platform/runtimeerror.h"
#include "platform/wayland/connection.h"
#include "virtual-keyboard-unstable-v1.h"
#include "wlr-foreign-toplevel-management-unstable-v1.h"

namespace pw::wlroots {

struct WlrWindows::Toplevel {
  Toplevel(WlrWindows* o, WindowHandle h, zwlr_foreign_toplevel_handle_v1* p) : owner(o), handle(h), proxy(p) {}
  WlrWindows* owner;
  WindowHandle handle;
  zwlr_foreign_toplevel_handle_v1* proxy;
  Text title, appId;
  bool activated = false, minimized = false, closed = false;
  std::uint64_t lastActive = 0;  // when we last saw it become active; 0 never
  // What the compositor has sent since its last "done".
  Text nextTitle, nextAppId;
  bool nextActivated = false, nextMinimized = false;
};

namespace {

using Toplevel = WlrWindows::Toplevel;

Toplevel& of(void* data) { return *static_cast<Toplevel*>(data); }

// Toolkits write an app id as the application's name, some with a capital first letter.
bool sameAppId(TextView a, TextView b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return asciiLower(x) == asciiLower(y); });
}

const zwlr_foreign_toplevel_handle_v1_listener kToplevelListener{
    .title = [](void* d, zwlr_foreign_toplevel_handle_v1*, const char* title) { of(d).nextTitle = fromUtf8(title); },
    .app_id = [](void* d, zwlr_foreign_toplevel_handle_v1*, const char* id) { of(d).nextAppId = fromUtf8(id); },
    .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .state =
        [](void* d, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
          const ToplevelStates s = readStates(states);
          of(d).nextActivated = s.activated;
          of(d).nextMinimized = s.minimized;
        },
    .done =
        [](void* d, zwlr_foreign_toplevel_handle_v1*) {
          Toplevel& t = of(d);
          t.title = t.nextTitle;
          t.appId = t.nextAppId;
          t.minimized = t.nextMinimized;
          if (t.nextActivated && !t.activated) t.lastActive = t.owner->noteActivation();
          t.activated = t.nextActivated;
        },
    .closed = [](void* d, zwlr_foreign_toplevel_handle_v1*) { of(d).closed = true; },
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

}  // namespace

ToplevelStates readStates(const wl_array* states) {
  ToplevelStates read;
  const auto* state = static_cast<const std::uint32_t*>(states->data);
  for (std::size_t i = 0; i < states->size / sizeof *state; ++i) {
    read.activated |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    read.minimized |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
  }
  return read;
}

bool WlrWindows::supported(const Connection& connection) {
  return connection.offers(zwlr_foreign_toplevel_manager_v1_interface.name) &&
         connection.offers(zwp_virtual_keyboard_manager_v1_interface.name);
}

WlrWindows::WlrWindows(Connection& connection, Text ownAppId)
    : connection_(connection),
      ownAppId_(std::move(ownAppId)),
      manager_(static_cast<zwlr_foreign_toplevel_manager_v1*>(
          connection.bind(zwlr_foreign_toplevel_manager_v1_interface, 3))) {
  static const zwlr_foreign_toplevel_manager_v1_listener listener{
      .toplevel =
          [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* proxy) {
            auto& self = *static_cast<WlrWindows*>(data);
            auto& t = *self.toplevels_.emplace_back(new Toplevel(&self, self.nextHandle_++, proxy));
            zwlr_foreign_toplevel_handle_v1_add_listener(proxy, &kToplevelListener, &t);
          },
      .finished = [](void*, zwlr_foreign_toplevel_manager_v1*) {},
  };
  zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &listener, this);
  auto* keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
      connection.bind(zwp_virtual_keyboard_manager_v1_interface, 1));
  keyboard_.emplace(connection, keyboards);
  zwp_virtual_keyboard_manager_v1_destroy(keyboards);
  connection.roundtrip();
}

WlrWindows::~WlrWindows() {
  for (auto& t : toplevels_) zwlr_foreign_toplevel_handle_v1_destroy(t->proxy);
  zwlr_foreign_toplevel_manager_v1_destroy(manager_);
}

std::uint64_t WlrWindows::noteActivation() { return ++activations_; }

WlrWindows::Toplevel* WlrWindows::find(WindowHandle window) {
  for (auto& t : toplevels_) {
    if (t->handle == window && !t->closed) return t.get();
  }
  return nullptr;
}

std::vector<WindowCandidate> WlrWindows::windows() {
  connection_.roundtrip();
  std::erase_if(toplevels_, [](const auto& t) {
    if (t->closed) zwlr_foreign_toplevel_handle_v1_destroy(t->proxy);
    return t->closed;
  });
  std::vector<const Toplevel*> order;
  for (const auto& t : toplevels_) {
    if (!sameAppId(t->appId, ownAppId_)) order.push_back(t.get());
  }
  // The active one, then the most recently active, then the newest.
  std::stable_sort(order.begin(), order.end(), [](const Toplevel* a, const Toplevel* b) {
    if (a->activated != b->activated) return a->activated;
    if (a->lastActive != b->lastActive) return a->lastActive > b->lastActive;
    return a->handle > b->handle;
  });
  std::vector<WindowCandidate> candidates;
  for (const Toplevel* t : order) candidates.push_back({t->handle, t->title});
  return candidates;
}

void WlrWindows::raise(WindowHandle window, int) {
  Toplevel* t = find(window);
  if (!t) return;
  if (t->minimized) zwlr_foreign_toplevel_handle_v1_unset_minimized(t->proxy);
  zwlr_foreign_toplevel_handle_v1_activate(t->proxy, connection_.seat());
  connection_.dispatch();
}

bool WlrWindows::hasFocus(WindowHandle window) {
  connection_.dispatch();
  const Toplevel* t = find(window);
  return t && t->activated;
}

std::optional<Text> WlrWindows::focusedTitle() {
  for (const auto& t : toplevels_) {
    if (t->activated && !t->closed) return t->title;
  }
  return std::nullopt;
}

void WlrWindows::prepareKeys(TextView keys) { parseKeys(keys); }

void WlrWindows::typeKeys(TextView keys) { keyboard_->type(parseKeys(keys)); }

void WlrWindows::pause(int ms) {
  connection_.serveFor(ms);
}

}  // namespace pw::wlroots
