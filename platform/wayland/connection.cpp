#include "platform/wayland/connection.h"

#include <poll.h>
#include <signal.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/runtimeerror.h"

namespace pw::wayland {

Connection::Connection(const char* name) {
  display_ = wl_display_connect(name);
  if (!display_) {
    const char* socket = name ? name : std::getenv("WAYLAND_DISPLAY");
    throw RuntimeError(err::InvalidProcedureCall, u"No Wayland compositor answers at \"" +
                                                      fromUtf8(socket ? socket : "wayland-0") + u"\".");
  }
  // A program that reads our clipboard may close its end early; that must not end us.
  struct sigaction ignore{};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, nullptr);

  static const wl_registry_listener listener{&Connection::onGlobal, &Connection::onGlobalRemove};
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &listener, this);
  roundtrip();
  seat_ = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
}

Connection::~Connection() {
  if (seat_) wl_seat_destroy(seat_);
  if (registry_) wl_registry_destroy(registry_);
  wl_display_disconnect(display_);
}

void Connection::onGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
  static_cast<Connection*>(data)->globals_.push_back({name, interface, version});
}

bool Connection::offers(const char* interface) const {
  return std::any_of(globals_.begin(), globals_.end(), [&](const Global& g) { return g.interface == interface; });
}

void* Connection::bind(const wl_interface& interface, std::uint32_t version) {
  for (const Global& g : globals_) {
    if (g.interface == interface.name) {
      return wl_registry_bind(registry_, g.name, &interface, std::min(version, g.version));
    }
  }
  return nullptr;
}

int Connection::fd() const { return wl_display_get_fd(display_); }

void Connection::dispatch(int ms) {
  while (wl_display_prepare_read(display_) != 0) wl_display_dispatch_pending(display_);
  wl_display_flush(display_);
  pollfd ready{fd(), POLLIN, 0};
  if (::poll(&ready, 1, ms) > 0) wl_display_read_events(display_);
  else wl_display_cancel_read(display_);
  wl_display_dispatch_pending(display_);
  check();
}

void Connection::serveFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (auto left = ms; left > 0;) {
    dispatch(left);
    left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
  }
}

void Connection::roundtrip() {
  wl_display_roundtrip(display_);
  check();
}

void Connection::check() const {
  if (const int error = wl_display_get_error(display_)) {
    throw RuntimeError(err::InvalidProcedureCall,
                       u"The Wayland compositor closed the connection: " + fromUtf8(std::strerror(error)) + u".");
  }
}

}  // namespace pw::wayland
