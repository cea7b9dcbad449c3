#pragma once
// Keysyms, the key names that X11 and every Wayland keymap share.
#include "platform/keystrokes.h"

namespace pw::xkb {

// The keysym for a keystroke: named keys, Latin-1 characters as themselves, others as Unicode.
unsigned long keysymFor(const KeyStroke& stroke);

}  // namespace pw::xkb
