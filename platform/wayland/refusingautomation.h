#pragma once
// Which Wayland route this compositor allows, and the refusal where it allows none.
#include "platform/windowautomation.h"

namespace pw::wayland {

class Connection;

// What a Mir desktop's configuration must add to its default extensions for Pagewick, as the line
// of its configuration file (miriway-shell.config) says it.
inline constexpr char kMirExtensionsLine[] =
    "add-wayland-extensions=zwlr_foreign_toplevel_manager_v1:zwp_virtual_keyboard_manager_v1:"
    "ext_data_control_manager_v1";

// Why this compositor gives no route to other programs' windows: what is missing and what works.
Text missingRouteDescription(const Connection& connection);

// Stands in for window automation where the compositor offers no way to it: activation fails
// with that description, so the capture reports it at its first step; keys go nowhere.
class RefusingAutomation final : public WindowAutomation {
 public:
  explicit RefusingAutomation(Text description) : description_(std::move(description)) {}
  void activate(TextView title) override;
  void sendKeys(TextView keys) override;

 private:
  Text description_;
};

}  // namespace pw::wayland
