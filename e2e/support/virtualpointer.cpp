#include "e2e/support/virtualpointer.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <stdexcept>

#include "platform/wayland/wlconnection.h"
#include "wlr-virtual-pointer-unstable-v1.h"

namespace pw::e2e {

VirtualPointer::VirtualPointer(const std::string& socket, int width, int height)
    : connection_(std::make_unique<wayland::Connection>(socket.c_str())), width_(width), height_(height) {
  auto* manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
      connection_->bind(zwlr_virtual_pointer_manager_v1_interface, 1));
  if (!manager) throw std::runtime_error("the compositor offers no virtual pointer");
  pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, connection_->seat());
  zwlr_virtual_pointer_manager_v1_destroy(manager);
  connection_->roundtrip();
}

VirtualPointer::~VirtualPointer() {
  if (pointer_) zwlr_virtual_pointer_v1_destroy(pointer_);
}

void VirtualPointer::click(int x, int y) {
  std::uint32_t time = 0;
  zwlr_virtual_pointer_v1_motion_absolute(pointer_, ++time, static_cast<std::uint32_t>(x),
                                          static_cast<std::uint32_t>(y), static_cast<std::uint32_t>(width_),
                                          static_cast<std::uint32_t>(height_));
  zwlr_virtual_pointer_v1_frame(pointer_);
  for (const auto state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
    zwlr_virtual_pointer_v1_button(pointer_, ++time, BTN_LEFT, state);
    zwlr_virtual_pointer_v1_frame(pointer_);
  }
  connection_->roundtrip();
}

}  // namespace pw::e2e
