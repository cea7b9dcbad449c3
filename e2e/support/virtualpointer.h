#pragma once
// A pointer device of the test's own on a wlroots compositor: a headless sway has no pointer,
// and without one no client is offered a pointer at all.
#include <memory>

struct zwlr_virtual_pointer_v1;

namespace pw::wayland {
class Connection;
}

namespace pw::e2e {

class VirtualPointer {
 public:
  // On the compositor at `socket`, whose output is `width` × `height`.
  VirtualPointer(const std::string& socket, int width, int height);
  ~VirtualPointer();
  // Moves to a point of the output and clicks the left button there.
  void click(int x, int y);

 private:
  std::unique_ptr<wayland::Connection> connection_;
  zwlr_virtual_pointer_v1* pointer_ = nullptr;
  int width_, height_;
};

}  // namespace pw::e2e
