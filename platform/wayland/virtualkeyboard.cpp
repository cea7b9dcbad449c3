#include "platform/wayland/virtualkeyboard.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "platform/posix/fd.h"
#include "platform/runtimeerror.h"
#include "platform/wayland/connection.h"
#include "platform/xkb/keysyms.h"
#include "virtual-keyboard-unstable-v1.h"

namespace pw::wayland {
namespace {

// The real modifiers of every xkb keymap: Shift, Control, Mod1 (Alt).
constexpr std::uint32_t kShift = 1u << 0, kControl = 1u << 2, kAlt = 1u << 3;
constexpr auto kJoinSeat = std::chrono::milliseconds(100);

}  // namespace

std::string keymapFor(const std::vector<unsigned long>& keysyms) {
  std::string codes, symbols;
  char line[96];
  for (std::size_t i = 0; i < keysyms.size(); ++i) {
    std::snprintf(line, sizeof line, "    <K%zu> = %zu;\n", i + 1, i + 9);
    codes += line;
    std::snprintf(line, sizeof line, "    key <K%zu> { [ 0x%lx ] };\n", i + 1, keysyms[i]);
    symbols += line;
  }
  return "xkb_keymap {\n"
         "  xkb_keycodes \"pagewick\" {\n    minimum = 8;\n    maximum = " + std::to_string(std::max<std::size_t>(keysyms.size() + 8, 9)) +
         ";\n" + codes +
         "  };\n"
         "  xkb_types \"pagewick\" { include \"complete\" };\n"
         "  xkb_compatibility \"pagewick\" { include \"complete\" };\n"
         "  xkb_symbols \"pagewick\" {\n" + symbols +
         "  };\n"
         "};\n";
}

VirtualKeyboard::VirtualKeyboard(Connection& connection, zwp_virtual_keyboard_manager_v1* manager)
    : connection_(connection),
      keyboard_(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, connection.seat())),
      ready_(std::chrono::steady_clock::now() + kJoinSeat) {
  // A keyboard on the seat without a keymap is handed to every client that gains the focus until
  // another keyboard is used, and some crash on it (Chromium on sway 1.10): one comes at once. If
  // it cannot be made now, the first typing tries again and says why.
  try {
    upload();
  } catch (const RuntimeError&) {
  }
}

VirtualKeyboard::~VirtualKeyboard() { zwp_virtual_keyboard_v1_destroy(keyboard_); }

std::uint32_t VirtualKeyboard::now() const {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

unsigned VirtualKeyboard::keyFor(unsigned long keysym) {
  auto at = std::find(keysyms_.begin(), keysyms_.end(), keysym);
  if (at == keysyms_.end()) {
    keysyms_.push_back(keysym);
    uploaded_ = false;
    at = keysyms_.end() - 1;
  }
  return static_cast<unsigned>(at - keysyms_.begin()) + 1;
}

void VirtualKeyboard::upload() {
  const std::string keymap = keymapFor(keysyms_);
  posix::Fd fd(::memfd_create("pagewick-keymap", MFD_CLOEXEC));
  if (!fd || posix::writeAll(fd.get(), std::string_view(keymap.c_str(), keymap.size() + 1)) != 0) {
    throw RuntimeError(err::InvalidProcedureCall, u"The keyboard layout for typing could not be made.");
  }
  zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd.get(),
                                 static_cast<std::uint32_t>(keymap.size() + 1));
  uploaded_ = true;
}

void VirtualKeyboard::type(const std::vector<KeyStroke>& strokes) {
  std::vector<unsigned> keys;
  for (const KeyStroke& s : strokes) keys.push_back(keyFor(xkb::keysymFor(s)));
  if (!uploaded_) upload();
  std::this_thread::sleep_until(ready_);
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    const unsigned m = strokes[i].modifiers;
    const std::uint32_t mods = (m & Shift ? kShift : 0) | (m & Ctrl ? kControl : 0) | (m & Alt ? kAlt : 0);
    zwp_virtual_keyboard_v1_modifiers(keyboard_, mods, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard_, now(), keys[i], WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard_, now(), keys[i], WL_KEYBOARD_KEY_STATE_RELEASED);
    zwp_virtual_keyboard_v1_modifiers(keyboard_, 0, 0, 0, 0);
  }
  connection_.roundtrip();
}

}  // namespace pw::wayland
