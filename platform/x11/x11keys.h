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

// The X keysym for a keystroke: named keys, Latin-1 characters as themselves, others as Unicode.
unsigned long keysymFor(const KeyStroke& stroke);

}  // namespace pw::x11
