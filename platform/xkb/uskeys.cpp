#include "platform/xkb/uskeys.h"

#include <linux/input-event-codes.h>

#include "platform/runtimeerror.h"

namespace pw::xkb {

std::optional<std::pair<unsigned, bool>> usKey(const KeyStroke& stroke) {
  static const unsigned kLetters[26] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                        KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                        KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
  static const unsigned kDigits[10] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
  switch (stroke.named) {
    case NamedKey::NotNamed: break;
    case NamedKey::Enter: return std::pair{KEY_ENTER, false};
    case NamedKey::Tab: return std::pair{KEY_TAB, false};
    case NamedKey::Escape: return std::pair{KEY_ESC, false};
    case NamedKey::Backspace: return std::pair{KEY_BACKSPACE, false};
    case NamedKey::Delete: return std::pair{KEY_DELETE, false};
    case NamedKey::Insert: return std::pair{KEY_INSERT, false};
    case NamedKey::Home: return std::pair{KEY_HOME, false};
    case NamedKey::End: return std::pair{KEY_END, false};
    case NamedKey::PageUp: return std::pair{KEY_PAGEUP, false};
    case NamedKey::PageDown: return std::pair{KEY_PAGEDOWN, false};
    case NamedKey::Up: return std::pair{KEY_UP, false};
    case NamedKey::Down: return std::pair{KEY_DOWN, false};
    case NamedKey::Left: return std::pair{KEY_LEFT, false};
    case NamedKey::Right: return std::pair{KEY_RIGHT, false};
    default:
      if (stroke.named >= NamedKey::F1 && stroke.named <= NamedKey::F12) {
        static const unsigned kF[12] = {KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
                                        KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
        return std::pair{kF[static_cast<int>(stroke.named) - static_cast<int>(NamedKey::F1)], false};
      }
      return std::nullopt;
  }
  const char32_t c = stroke.character;
  if (c >= U'a' && c <= U'z') return std::pair{kLetters[c - U'a'], false};
  if (c >= U'A' && c <= U'Z') return std::pair{kLetters[c - U'A'], true};
  if (c >= U'0' && c <= U'9') return std::pair{kDigits[c - U'0'], false};
  if (c == U' ') return std::pair{unsigned(KEY_SPACE), false};
  if (c == U'\r' || c == U'\n') return std::pair{unsigned(KEY_ENTER), false};
  if (c == U'\t') return std::pair{unsigned(KEY_TAB), false};
  return std::nullopt;
}

std::vector<KeyPress> usKeyPresses(TextView keys) {
  std::vector<KeyPress> presses;
  for (const KeyStroke& stroke : parseKeys(keys)) {
    const auto key = usKey(stroke);
    if (!key) throw RuntimeError(err::InvalidProcedureCall, keyNotOnLayoutDescription(keys));
    const auto [code, shifted] = *key;
    std::vector<unsigned> held;
    if (stroke.modifiers & Ctrl) held.push_back(KEY_LEFTCTRL);
    if (stroke.modifiers & Alt) held.push_back(KEY_LEFTALT);
    if ((stroke.modifiers & Shift) || shifted) held.push_back(KEY_LEFTSHIFT);
    for (unsigned m : held) presses.push_back({m, true});
    presses.push_back({code, true});
    presses.push_back({code, false});
    for (auto m = held.rbegin(); m != held.rend(); ++m) presses.push_back({*m, false});
  }
  return presses;
}

}  // namespace pw::xkb
