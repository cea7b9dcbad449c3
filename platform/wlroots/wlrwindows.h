#pragma once
// The primitives of activation and typing on wlroots compositors (sway and others): the
// foreign-toplevel list for titles and activation, a virtual keyboard for keys.
#include <memory>
#include <optional>

#include "platform/windowsystem.h"
#include "platform/wayland/virtualkeyboard.h"

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct wl_array;

namespace pw::wayland {
class Connection;
}  // namespace pw::wayland

namespace pw::wlroots {

using wayland::Connection;

// Of the states a window's "state" event lists, the two Pagewick acts on.
struct ToplevelStates {
  bool activated = false, minimized = false;
};
ToplevelStates readStates(const wl_array* states);

class WlrWindows final : public WindowSystem {
 public:
  // Measured on sway: activation is confirmed 1 to 5 ms after the request.
  static constexpr ActivationTiming kTiming = kCompositorTiming;
  // Whether the compositor offers what this needs.
  static bool supported(const Connection& connection);
  // Windows whose app id is `ownAppId` are ours and left out.
  WlrWindows(Connection& connection, Text ownAppId);
  ~WlrWindows() override;

  // Most recently active first: the list carries no stacking order, so we keep one ourselves
  // from the activations we have seen.
  std::vector<WindowCandidate> windows() override;
  int raiseAttempts() override { return 2; }
  // Restores a minimised window, then activates it; the second attempt asks again.
  void raise(WindowHandle window, int attempt) override;
  bool hasFocus(WindowHandle window) override;
  std::optional<Text> focusedTitle() override;
  void prepareKeys(TextView keys) override;
  // The compositor tells no client what keys the user holds; our keys carry their own modifiers.
  Text heldModifier() override { return {}; }
  void typeKeys(TextView keys) override;
  void pause(int ms) override;

  struct Toplevel;
  std::uint64_t noteActivation();

 private:
  Toplevel* find(WindowHandle window);

  Connection& connection_;
  Text ownAppId_;
  zwlr_foreign_toplevel_manager_v1* manager_;
  std::vector<std::unique_ptr<Toplevel>> toplevels_;
  std::optional<wayland::VirtualKeyboard> keyboard_;
  std::uint64_t activations_ = 0;
  WindowHandle nextHandle_ = 1;
};

}  // namespace pw::wlroots
