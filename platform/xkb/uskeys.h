#pragma once
// Keystrokes as the key codes (evdev) of a US keyboard. KWin's fake input and GNOME Shell's
// virtual keyboard take codes and read them with the user's layout, and browsers take a shortcut
// such as Ctrl+A from the key's Latin meaning on any layout.
#include <optional>
#include <utility>
#include <vector>

#include "platform/keystrokes.h"

namespace pw::xkb {

// The key of a US keyboard for a keystroke, and whether it needs Shift; none when no key there
// makes it.
std::optional<std::pair<unsigned, bool>> usKey(const KeyStroke& stroke);

struct KeyPress {
  unsigned code;
  bool down;
};
// The presses and releases that type `keys`, each key inside its modifiers. Throws when a key is
// not on a US keyboard.
std::vector<KeyPress> usKeyPresses(TextView keys);

}  // namespace pw::xkb
