#include "platform/xkb/keysyms.h"

#include <X11/keysym.h>

namespace pw::xkb {
namespace {

unsigned long namedKeysym(NamedKey key) {
  switch (key) {
    case NamedKey::Enter: return XK_Return;
    case NamedKey::Tab: return XK_Tab;
    case NamedKey::Escape: return XK_Escape;
    case NamedKey::Backspace: return XK_BackSpace;
    case NamedKey::Delete: return XK_Delete;
    case NamedKey::Insert: return XK_Insert;
    case NamedKey::Home: return XK_Home;
    case NamedKey::End: return XK_End;
    case NamedKey::PageUp: return XK_Prior;
    case NamedKey::PageDown: return XK_Next;
    case NamedKey::Up: return XK_Up;
    case NamedKey::Down: return XK_Down;
    case NamedKey::Left: return XK_Left;
    case NamedKey::Right: return XK_Right;
    case NamedKey::CapsLock: return XK_Caps_Lock;
    case NamedKey::NumLock: return XK_Num_Lock;
    case NamedKey::ScrollLock: return XK_Scroll_Lock;
    case NamedKey::PrintScreen: return XK_Print;
    case NamedKey::Break: return XK_Break;
    case NamedKey::Help: return XK_Help;
    case NamedKey::NotNamed: return 0;
    default: return XK_F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1));
  }
}

}  // namespace

unsigned long keysymFor(const KeyStroke& stroke) {
  if (stroke.named != NamedKey::NotNamed) return namedKeysym(stroke.named);
  const char32_t c = stroke.character;
  if (c == U'\n' || c == U'\r') return XK_Return;
  if (c == U'\t') return XK_Tab;
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) return c;
  return 0x01000000ul + c;
}

}  // namespace pw::xkb
