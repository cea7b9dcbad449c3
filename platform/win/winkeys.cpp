#include "platform/win/winkeys.h"

#include <optional>

#include "platform/runtimeerror.h"

namespace pw::win {
namespace {

struct VirtualKey {
  WORD code;
  bool extended;
};

VirtualKey namedKey(NamedKey key) {
  switch (key) {
    case NamedKey::Enter: return {VK_RETURN, false};
    case NamedKey::Tab: return {VK_TAB, false};
    case NamedKey::Escape: return {VK_ESCAPE, false};
    case NamedKey::Backspace: return {VK_BACK, false};
    case NamedKey::Delete: return {VK_DELETE, true};
    case NamedKey::Insert: return {VK_INSERT, true};
    case NamedKey::Home: return {VK_HOME, true};
    case NamedKey::End: return {VK_END, true};
    case NamedKey::PageUp: return {VK_PRIOR, true};
    case NamedKey::PageDown: return {VK_NEXT, true};
    case NamedKey::Up: return {VK_UP, true};
    case NamedKey::Down: return {VK_DOWN, true};
    case NamedKey::Left: return {VK_LEFT, true};
    case NamedKey::Right: return {VK_RIGHT, true};
    case NamedKey::CapsLock: return {VK_CAPITAL, false};
    case NamedKey::NumLock: return {VK_NUMLOCK, true};
    case NamedKey::ScrollLock: return {VK_SCROLL, false};
    case NamedKey::PrintScreen: return {VK_SNAPSHOT, true};
    case NamedKey::Break: return {VK_CANCEL, true};
    case NamedKey::Help: return {VK_HELP, false};
    case NamedKey::NotNamed: break;
    default: return {static_cast<WORD>(VK_F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1))), false};
  }
  return {0, false};
}

class Events {
 public:
  explicit Events(HKL layout) : layout_(layout) {}

  void key(VirtualKey key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(key.code, MAPVK_VK_TO_VSC, layout_));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    list.push_back(input);
  }

  void stroke(VirtualKey vk, unsigned modifiers) {
    modifierKeys(modifiers, true);
    key(vk, true);
    key(vk, false);
    modifierKeys(modifiers, false);
  }

  void unicode(char16_t unit) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = unit;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      list.push_back(input);
    }
  }

  std::vector<INPUT> list;

 private:
  void modifierKeys(unsigned modifiers, bool down) {
    static constexpr std::pair<Modifier, WORD> kKeys[] = {{Shift, VK_SHIFT}, {Ctrl, VK_CONTROL}, {Alt, VK_MENU}};
    for (const auto& [modifier, code] : kKeys) {
      if (modifiers & modifier) key({code, false}, down);
    }
  }

  HKL layout_;
};

// The key and the modifiers the layout needs for `c`, if it has it.
std::optional<std::pair<WORD, unsigned>> typedOn(HKL layout, char32_t c) {
  if (c <= 0xFFFF) {
    const SHORT scan = VkKeyScanExW(static_cast<wchar_t>(c), layout);
    if (scan != -1 && LOBYTE(scan) != 0xFF) {
      const unsigned state = HIBYTE(scan);
      return std::pair{static_cast<WORD>(LOBYTE(scan)),
                       (state & 1 ? Shift : 0u) | (state & 2 ? Ctrl : 0u) | (state & 4 ? Alt : 0u)};
    }
  }
  if (c >= U'a' && c <= U'z') return std::pair{static_cast<WORD>(c - U'a' + 'A'), 0u};
  if (c >= U'A' && c <= U'Z') return std::pair{static_cast<WORD>(c), unsigned{Shift}};
  if (c >= U'0' && c <= U'9') return std::pair{static_cast<WORD>(c), 0u};
  return std::nullopt;
}

}  // namespace

std::vector<INPUT> keyInputs(TextView keys, HKL layout) {
  const std::vector<KeyStroke> strokes = parseKeys(keys);
  Events events(layout);
  for (const KeyStroke& stroke : strokes) {
    if (stroke.named != NamedKey::NotNamed) {
      events.stroke(namedKey(stroke.named), stroke.modifiers);
    } else if (auto typed = typedOn(layout, stroke.character)) {
      events.stroke({typed->first, false}, stroke.modifiers | typed->second);
    } else if (stroke.modifiers == 0) {
      Text units;
      appendCodePoint(units, stroke.character);
      for (char16_t unit : units) events.unicode(unit);
    } else {
      throw RuntimeError(err::InvalidProcedureCall, keyNotOnLayoutDescription(keys));
    }
  }
  return events.list;
}

}  // namespace pw::win
