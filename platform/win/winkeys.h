#pragma once
// Keystrokes as the input events SendInput takes: virtual-key codes, as a keyboard sends them.
#include <windows.h>

#include <vector>

#include "platform/keystrokes.h"

namespace pw::win {

// The events for `keys` (keystroke notation) on keyboard `layout`, each key pressed and released with its
// modifiers around it. Letters fall back to their own key codes when the layout has no Latin
// letters (Ctrl+A is the A key everywhere). A character the layout cannot type goes as Unicode
// input when nothing modifies it; with modifiers it throws a RuntimeError.
std::vector<INPUT> keyInputs(TextView keys, HKL layout);

}  // namespace pw::win
