#pragma once
// Turning keystrokes into XTest key events on the keyboard layout that is active now.
#include "platform/keystrokes.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

class Keyboard {
 public:
  explicit Keyboard(Display* display) : d_(display) {}
  // The name of a modifier key the user holds down, or "".
  Text heldModifier();
  // Presses and releases one keystroke; `keys` is the whole text, for error descriptions.
  void press(const KeyStroke& stroke, TextView keys);

 private:
  void fake(unsigned keycode, bool down);
  Display* d_;
};

}  // namespace pw::x11
