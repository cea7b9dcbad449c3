#pragma once
// One connection to the Wayland compositor and the globals it offers. Everything in this folder
// runs on the thread that made the connection; the program hands its event loop the descriptor
// so that what we serve (the clipboard's text) is served while it idles.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

struct wl_display;
struct wl_registry;
struct wl_interface;
struct wl_seat;

namespace pw::wayland {

class Connection {
 public:
  // `name` null means $WAYLAND_DISPLAY. Throws RuntimeError when no compositor answers there.
  explicit Connection(const char* name = nullptr);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool offers(const char* interface) const;
  // Binds the global of that interface at the lower of `version` and what it offers; null when
  // the compositor has none.
  void* bind(const wl_interface& interface, std::uint32_t version);
  wl_seat* seat() { return seat_; }

  int fd() const;
  // Sends what is queued and handles what has arrived, waiting at most `ms` for something.
  void dispatch(int ms = 0);
  // Waits `ms`, handling what arrives meanwhile.
  void serveFor(int ms);
  // Returns once the compositor has handled every request sent so far and we its answers.
  void roundtrip();
  // Throws RuntimeError when the compositor has closed the connection.
  void check() const;

 private:
  struct Global {
    std::uint32_t name;
    std::string interface;
    std::uint32_t version;
  };
  static void onGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version);
  static void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_seat* seat_ = nullptr;
  std::vector<Global> globals_;
};

}  // namespace pw::wayland
