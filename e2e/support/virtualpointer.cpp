#include "e2e/support/virtualpointer.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <stdexcept>

#include "platform/wayland/connection.h"
#include "fake-input.h"
#include "wlr-virtual-pointer-unstable-v1.h"

namespace pw::e2e {

VirtualPointer::VirtualPointer(const std::string& socket, int width, int height)
    : connection_(std::make_unique<wayland::Connection>(socket.c_str())), width_(width), height_(height) {
  if (auto* manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
          connection_->bind(zwlr_virtual_pointer_manager_v1_interface, 1))) {
    pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, connection_->seat());
    zwlr_virtual_pointer_manager_v1_destroy(manager);
  } else if (connection_->offers(org_kde_kwin_fake_input_interface.name)) {
    fakeInput_ = static_cast<org_kde_kwin_fake_input*>(connection_->bind(org_kde_kwin_fake_input_interface, 4));
    org_kde_kwin_fake_input_authenticate(fakeInput_, "Pagewick tests", "clicks the program's buttons");
  }
  // A session whose compositor grants neither can still drive what needs no pointer.
  connection_->roundtrip();
}

VirtualPointer::~VirtualPointer() {
  if (pointer_) zwlr_virtual_pointer_v1_destroy(pointer_);
  if (fakeInput_) org_kde_kwin_fake_input_destroy(fakeInput_);
}

void VirtualPointer::moveTo(int x, int y) {
  if (fakeInput_) {
    org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput_, wl_fixed_from_int(x), wl_fixed_from_int(y));
  } else if (pointer_) {
    zwlr_virtual_pointer_v1_motion_absolute(pointer_, ++time_, static_cast<std::uint32_t>(x),
                                            static_cast<std::uint32_t>(y), static_cast<std::uint32_t>(width_),
                                            static_cast<std::uint32_t>(height_));
    zwlr_virtual_pointer_v1_frame(pointer_);
  } else {
    throw std::logic_error("the compositor offers this test no pointer");
  }
  connection_->roundtrip();
}

void VirtualPointer::click() {
  for (const auto state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
    if (fakeInput_) {
      org_kde_kwin_fake_input_button(fakeInput_, BTN_LEFT, state);
    } else {
      zwlr_virtual_pointer_v1_button(pointer_, ++time_, BTN_LEFT, state);
      zwlr_virtual_pointer_v1_frame(pointer_);
    }
  }
  connection_->roundtrip();
}

}  // namespace pw::e2e
