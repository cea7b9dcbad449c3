#pragma once
// Typing through a keyboard of our own on the compositor's seat. The keymap is ours too: one key
// for every keysym we type, so a keystroke means the same whatever layout the user has locked.
#include <chrono>
#include <vector>

#include "platform/keystrokes.h"

struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

namespace pw::wayland {

class Connection;

class VirtualKeyboard {
 public:
  VirtualKeyboard(Connection& connection, zwp_virtual_keyboard_manager_v1* manager);
  ~VirtualKeyboard();
  VirtualKeyboard(const VirtualKeyboard&) = delete;
  VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

  // Presses and releases each stroke, its modifiers sent around it.
  void type(const std::vector<KeyStroke>& strokes);

 private:
  unsigned keyFor(unsigned long keysym);  // the evdev code; the keymap grows as needed
  void upload();
  std::uint32_t now() const;

  Connection& connection_;
  zwp_virtual_keyboard_v1* keyboard_;
  std::vector<unsigned long> keysyms_;  // keysyms_[i] sits on evdev code i + 1
  bool uploaded_ = false;
  // A keyboard takes a moment to join the seat; keys sent sooner are lost (measured on sway).
  std::chrono::steady_clock::time_point ready_;
};

// The keymap that puts keysyms[i] on evdev code i + 1, in the text form compositors compile.
std::string keymapFor(const std::vector<unsigned long>& keysyms);

}  // namespace pw::wayland
