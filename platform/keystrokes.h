#pragma once
// The keystroke notation: ^ Ctrl, + Shift, % Alt before a key or a (group); ~ Enter; {NAME} or
// {NAME n} for named keys and for the notation's own characters, e.g. {+} or {{}.
#include <vector>

#include "platform/text.h"

namespace pw {

enum Modifier : unsigned { Shift = 1, Ctrl = 2, Alt = 4 };

enum class NamedKey {
  NotNamed, Enter, Tab, Escape, Backspace, Delete, Insert, Home, End, PageUp, PageDown,
  Up, Down, Left, Right, CapsLock, NumLock, ScrollLock, PrintScreen, Break, Help,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, F16
};

struct KeyStroke {
  unsigned modifiers = 0;
  char32_t character = 0;  // set when `named` is None
  NamedKey named = NamedKey::NotNamed;
  bool operator==(const KeyStroke&) const = default;
};

// Throws RuntimeError with a description that quotes the faulty part.
std::vector<KeyStroke> parseKeys(TextView keys);

// Why `keys` were not sent: the user still holds `key` (e.g. "Ctrl") down.
Text keyHeldDescription(TextView keys, TextView key);
// Why `keys` were not sent: one of their keys is not on the keyboard layout in use.
Text keyNotOnLayoutDescription(TextView keys);

}  // namespace pw
