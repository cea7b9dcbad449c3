#include "platform/x11/keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <optional>

#include "platform/runtimeerror.h"
#include "platform/xkb/keysyms.h"

namespace pw::x11 {
namespace {

struct KeyPlace {
  KeyCode code;
  bool shifted;
  bool inActiveGroup;
};

// Looks for the keysym on the first two levels of each key, in the active group first. Browsers
// read Ctrl and Alt shortcuts from any Latin group, so those may use a key of another group.
std::optional<KeyPlace> findKey(Display* d, KeySym sym) {
  XkbStateRec state{};
  XkbGetState(d, XkbUseCoreKbd, &state);
  XkbDescPtr xkb = XkbGetMap(d, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
  if (!xkb) return std::nullopt;
  std::optional<KeyPlace> other;
  for (int kc = xkb->min_key_code; kc <= xkb->max_key_code; ++kc) {
    const int groups = XkbKeyNumGroups(xkb, kc);
    for (int g = 0; g < groups; ++g) {
      const int width = std::min(2, int(XkbKeyGroupWidth(xkb, kc, g)));
      for (int level = 0; level < width; ++level) {
        if (XkbKeySymEntry(xkb, kc, level, g) != sym) continue;
        KeyPlace place{KeyCode(kc), level == 1, g == state.group};
        if (place.inActiveGroup) {
          XkbFreeKeyboard(xkb, 0, True);
          return place;
        }
        if (!other) other = place;
      }
    }
  }
  XkbFreeKeyboard(xkb, 0, True);
  return other;
}

}  // namespace

Text Keyboard::heldModifier() {
  static const std::pair<KeySym, const char16_t*> kModifiers[] = {
      {XK_Control_L, u"Ctrl"}, {XK_Control_R, u"Ctrl"}, {XK_Shift_L, u"Shift"}, {XK_Shift_R, u"Shift"},
      {XK_Alt_L, u"Alt"},      {XK_Alt_R, u"Alt"},      {XK_Super_L, u"Super"}, {XK_Super_R, u"Super"},
      {XK_ISO_Level3_Shift, u"AltGr"}};
  char keys[32];
  XQueryKeymap(d_, keys);
  for (const auto& [sym, name] : kModifiers) {
    const KeyCode kc = XKeysymToKeycode(d_, sym);
    if (kc && (keys[kc / 8] & (1 << (kc % 8)))) return name;
  }
  return {};
}

void Keyboard::fake(unsigned keycode, bool down) {
  XTestFakeKeyEvent(d_, keycode, down ? True : False, CurrentTime);
  XSync(d_, False);
}

void Keyboard::press(const KeyStroke& stroke, TextView keys) {
  const KeySym sym = xkb::keysymFor(stroke);
  const auto place = findKey(d_, sym);
  const bool shortcut = stroke.modifiers & (Ctrl | Alt);
  if (!place || (!place->inActiveGroup && !shortcut)) {
    throw RuntimeError(err::InvalidProcedureCall, keyNotOnLayoutDescription(keys));
  }
  std::vector<unsigned> held;
  const auto hold = [&](KeySym modifier) {
    if (KeyCode kc = XKeysymToKeycode(d_, modifier)) {
      fake(kc, true);
      held.push_back(kc);
    }
  };
  if (stroke.modifiers & Ctrl) hold(XK_Control_L);
  if (stroke.modifiers & Alt) hold(XKeysymToKeycode(d_, XK_Alt_L) ? XK_Alt_L : XK_Meta_L);
  if ((stroke.modifiers & Shift) || place->shifted) hold(XK_Shift_L);
  fake(place->code, true);
  fake(place->code, false);
  for (auto it = held.rbegin(); it != held.rend(); ++it) fake(*it, false);
}

}  // namespace pw::x11
