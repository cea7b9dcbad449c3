#include "e2e/support/wlrtoplevels.h"

#include <wayland-client.h>

#include <stdexcept>

#include "platform/wayland/connection.h"
#include "platform/wlroots/wlrwindows.h"
#include "wlr-foreign-toplevel-management-unstable-v1.h"

namespace pw::e2e {
namespace {

using Toplevel = WlrToplevels::Toplevel;

Toplevel& of(void* data) { return *static_cast<Toplevel*>(data); }

// A window's state arrives piece by piece and holds once "done" comes.
const zwlr_foreign_toplevel_handle_v1_listener kListener{
    .title = [](void* d, zwlr_foreign_toplevel_handle_v1*, const char* title) { of(d).nextTitle = fromUtf8(title); },
    .app_id = [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {},
    .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .state =
        [](void* d, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
          const wlroots::ToplevelStates s = wlroots::readStates(states);
          of(d).nextActivated = s.activated;
          of(d).nextMinimized = s.minimized;
        },
    .done =
        [](void* d, zwlr_foreign_toplevel_handle_v1*) {
          Toplevel& t = of(d);
          t.title = t.nextTitle;
          t.activated = t.nextActivated;
          t.minimized = t.nextMinimized;
        },
    .closed = [](void* d, zwlr_foreign_toplevel_handle_v1*) { of(d).closed = true; },
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

}  // namespace

WlrToplevels::WlrToplevels(const std::string& socket)
    : connection_(std::make_unique<wayland::Connection>(socket.c_str())),
      manager_(static_cast<zwlr_foreign_toplevel_manager_v1*>(
          connection_->bind(zwlr_foreign_toplevel_manager_v1_interface, 3))) {
  if (!manager_) throw std::logic_error("the compositor offers no foreign-toplevel list");
  static const zwlr_foreign_toplevel_manager_v1_listener listener{
      .toplevel =
          [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* proxy) {
            Toplevel& t = static_cast<WlrToplevels*>(data)->toplevels_.emplace_back();
            t.proxy = proxy;
            zwlr_foreign_toplevel_handle_v1_add_listener(proxy, &kListener, &t);
          },
      .finished = [](void*, zwlr_foreign_toplevel_manager_v1*) {},
  };
  zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &listener, this);
  connection_->roundtrip();  // the windows
  connection_->roundtrip();  // their titles and states
}

WlrToplevels::~WlrToplevels() {
  for (const auto& t : toplevels_) zwlr_foreign_toplevel_handle_v1_destroy(t.proxy);
  zwlr_foreign_toplevel_manager_v1_destroy(manager_);
}

std::vector<Text> WlrToplevels::titles() {
  connection_->roundtrip();
  std::vector<Text> titles;
  for (const auto& t : toplevels_) {
    if (t.closed) continue;
    titles.insert(t.activated ? titles.begin() : titles.end(), t.title);
  }
  return titles;
}

Toplevel* WlrToplevels::find(TextView title, bool whole) {
  for (auto& t : toplevels_) {
    if (!t.closed && (whole ? t.title == title : t.title.find(title) != Text::npos)) return &t;
  }
  return nullptr;
}

bool WlrToplevels::settle(Toplevel& window, bool activated) {
  const auto done = [&] { return activated ? window.activated && !window.minimized : window.minimized && !window.activated; };
  for (int i = 0; i < 100 && !done(); ++i) connection_->serveFor(50);
  return done();
}

bool WlrToplevels::activate(TextView title) {
  Toplevel* window = find(title, true);
  if (!window) return false;
  zwlr_foreign_toplevel_handle_v1_activate(window->proxy, connection_->seat());
  return settle(*window, true);
}

bool WlrToplevels::minimise(TextView part) {
  Toplevel* window = find(part, false);
  if (!window) return false;
  zwlr_foreign_toplevel_handle_v1_set_minimized(window->proxy);
  return settle(*window, false);
}

bool WlrToplevels::active(TextView part) {
  connection_->roundtrip();
  const Toplevel* window = find(part, false);
  return window && window->activated && !window->minimized;
}

}  // namespace pw::e2e
