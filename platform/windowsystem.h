#pragma once
// What each window system offers the activation policy, and how long its activation may take.
#include <optional>
#include <vector>

#include "platform/windowmatch.h"

namespace pw {

// What a window system offers. Nothing here decides; the policy does.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The top-level windows a user could switch to, topmost first, ours left out.
  virtual std::vector<WindowCandidate> windows() = 0;
  // How many ways this system has to bring a window forward; raise() takes them gentlest first.
  virtual int raiseAttempts() = 0;
  virtual void raise(WindowHandle window, int attempt) = 0;
  // Whether `window` is the active window and has the keyboard focus.
  virtual bool hasFocus(WindowHandle window) = 0;
  // The title of the window that has the focus now, if any does.
  virtual std::optional<Text> focusedTitle() = 0;
  // Throws when `keys` cannot be typed here at all; called before waiting for the user.
  virtual void prepareKeys(TextView keys) = 0;
  // Returns once keys typed now reach the control that has the focus inside `window`, where the
  // system can tell; at once elsewhere.
  virtual void settleFocus(WindowHandle) {}
  // The name of a modifier key the user holds down now ("Ctrl", …), or "".
  virtual Text heldModifier() = 0;
  // Types `keys` (the keystroke notation) into the focused window. Throws when they cannot go.
  virtual void typeKeys(TextView keys) = 0;
  // Waits `ms`, serving what the system needs meanwhile.
  virtual void pause(int ms) = 0;
};

// The policy's timings, in milliseconds.
struct ActivationTiming {
  // How long activation may take, over all attempts together, before it counts as failed;
  // each attempt gets an equal share. Measured: 5 to 28 ms on X11, up to 140 ms under Wine.
  int confirmActivation = 500;
  // How long to wait for the user to let go of Ctrl, Shift, Alt or Super before typing.
  int modifierRelease = 2000;
  // How often the waits look again.
  int poll = 5;
};

// A Wayland compositor's: it confirms the activation in its own events, and tells a client
// nothing of the user's modifier keys, so there is nothing to wait for there.
inline constexpr ActivationTiming kCompositorTiming{.confirmActivation = 1000, .modifierRelease = 0, .poll = 5};

}  // namespace pw
