#pragma once
// A pointer device of the test's own: a headless compositor has no pointer, and without one no
// client is offered a pointer at all. wlroots' virtual pointer where offered, else KWin's fake
// input, which KWin grants only to a program it trusts.
#include <cstdint>
#include <memory>
#include <string>

struct zwlr_virtual_pointer_v1;
struct org_kde_kwin_fake_input;

namespace pw::wayland {
class Connection;
}

namespace pw::e2e {

class VirtualPointer {
 public:
  // On the compositor at `socket`, whose output is `width` × `height`.
  VirtualPointer(const std::string& socket, int width, int height);
  ~VirtualPointer();
  // Moves to a point of the output.
  void moveTo(int x, int y);
  // Clicks the left button where the pointer is.
  void click();

 private:
  std::unique_ptr<wayland::Connection> connection_;
  zwlr_virtual_pointer_v1* pointer_ = nullptr;
  org_kde_kwin_fake_input* fakeInput_ = nullptr;
  int width_, height_;
  std::uint32_t time_ = 0;
};

}  // namespace pw::e2e
