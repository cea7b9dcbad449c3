#include "platform/wayland/kwinwindows.h"

#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <sstream>

#include "fake-input.h"
#include "plasma-window-management.h"
#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"
#include "platform/wayland/wlconnection.h"

namespace pw::wayland {

struct KWinWindows::Window {
  Window(WindowHandle h, std::string u, org_kde_plasma_window* p) : handle(h), uuid(std::move(u)), proxy(p) {}
  WindowHandle handle;
  std::string uuid;
  org_kde_plasma_window* proxy;
  Text title;
  std::uint32_t state = 0;
  std::uint32_t pid = 0;
  bool unmapped = false;
};

namespace {

using Window = KWinWindows::Window;
Window& of(void* data) { return *static_cast<Window*>(data); }

template <class... Args>
void ignore(void*, org_kde_plasma_window*, Args...) {}

const org_kde_plasma_window_listener kWindowListener{
    .title_changed = [](void* d, org_kde_plasma_window*, const char* title) { of(d).title = fromUtf8(title); },
    .app_id_changed = ignore<const char*>,
    .state_changed = [](void* d, org_kde_plasma_window*, std::uint32_t flags) { of(d).state = flags; },
    .virtual_desktop_changed = ignore<std::int32_t>,
    .themed_icon_name_changed = ignore<const char*>,
    .unmapped = [](void* d, org_kde_plasma_window*) { of(d).unmapped = true; },
    .initial_state = ignore<>,
    .parent_window = ignore<org_kde_plasma_window*>,
    .geometry = ignore<std::int32_t, std::int32_t, std::uint32_t, std::uint32_t>,
    .icon_changed = ignore<>,
    .pid_changed = [](void* d, org_kde_plasma_window*, std::uint32_t pid) { of(d).pid = pid; },
    .virtual_desktop_entered = ignore<const char*>,
    .virtual_desktop_left = ignore<const char*>,
    .application_menu = ignore<const char*, const char*>,
    .activity_entered = ignore<const char*>,
    .activity_left = ignore<const char*>,
    .resource_name_changed = ignore<const char*>,
};

// The evdev key of a US keyboard for a keystroke, and whether it needs Shift; none when no key
// there makes it.
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

}  // namespace

bool KWinWindows::supported(const Connection& connection) {
  return connection.offers(org_kde_plasma_window_management_interface.name) &&
         connection.offers(org_kde_kwin_fake_input_interface.name);
}

KWinWindows::KWinWindows(Connection& connection)
    : connection_(connection),
      management_(static_cast<org_kde_plasma_window_management*>(
          connection.bind(org_kde_plasma_window_management_interface, 16))),
      input_(static_cast<org_kde_kwin_fake_input*>(connection.bind(org_kde_kwin_fake_input_interface, 4))) {
  static const org_kde_plasma_window_management_listener listener{
      .show_desktop_changed = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .window = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
      .stacking_order_changed = [](void*, org_kde_plasma_window_management*, wl_array*) {},
      .stacking_order_uuid_changed =
          [](void* data, org_kde_plasma_window_management*, const char* uuids) {
            auto& self = *static_cast<KWinWindows*>(data);
            self.stacking_.clear();
            std::istringstream words(uuids);
            for (std::string uuid; std::getline(words, uuid, ';');) self.stacking_.push_back(uuid);
          },
      .window_with_uuid = [](void* data, org_kde_plasma_window_management*, std::uint32_t,
                             const char* uuid) { static_cast<KWinWindows*>(data)->adopt(uuid); },
  };
  org_kde_plasma_window_management_add_listener(management_, &listener, this);
  org_kde_kwin_fake_input_authenticate(input_, "Pagewick", "copies the text of the page in your browser");
  connection.roundtrip();
  connection.roundtrip();  // the windows' first state follows their announcement
}

KWinWindows::~KWinWindows() {
  for (auto& w : windows_) org_kde_plasma_window_destroy(w->proxy);
  org_kde_kwin_fake_input_destroy(input_);
  org_kde_plasma_window_management_destroy(management_);
}

void KWinWindows::adopt(const char* uuid) {
  auto* proxy = org_kde_plasma_window_management_get_window_by_uuid(management_, uuid);
  auto& w = *windows_.emplace_back(new Window(nextHandle_++, uuid, proxy));
  org_kde_plasma_window_add_listener(proxy, &kWindowListener, &w);
}

KWinWindows::Window* KWinWindows::find(WindowHandle window) {
  for (auto& w : windows_) {
    if (w->handle == window && !w->unmapped) return w.get();
  }
  return nullptr;
}

std::vector<WindowCandidate> KWinWindows::windows() {
  connection_.roundtrip();
  std::erase_if(windows_, [](const auto& w) {
    if (w->unmapped) org_kde_plasma_window_destroy(w->proxy);
    return w->unmapped;
  });
  const auto self = static_cast<std::uint32_t>(::getpid());
  std::vector<WindowCandidate> candidates;
  for (auto uuid = stacking_.rbegin(); uuid != stacking_.rend(); ++uuid) {
    for (const auto& w : windows_) {
      if (w->uuid == *uuid && w->pid != self) candidates.push_back({w->handle, w->title});
    }
  }
  return candidates;
}

void KWinWindows::raise(WindowHandle window, int) {
  Window* w = find(window);
  if (!w) return;
  if (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED) {
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED, 0);
  }
  org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE,
                                  ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
  connection_.dispatch();
}

bool KWinWindows::hasFocus(WindowHandle window) {
  connection_.dispatch();
  const Window* w = find(window);
  return w && (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
}

std::optional<Text> KWinWindows::focusedTitle() {
  for (const auto& w : windows_) {
    if (!w->unmapped && (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE)) return w->title;
  }
  return std::nullopt;
}

void KWinWindows::prepareKeys(TextView keys) {
  for (const KeyStroke& stroke : parseKeys(keys)) {
    if (!usKey(stroke)) throw RuntimeError(err::InvalidProcedureCall, keyNotOnLayoutDescription(keys));
  }
}

void KWinWindows::typeKeys(TextView keys) {
  const auto key = [&](unsigned code, bool down) {
    org_kde_kwin_fake_input_keyboard_key(input_, code, down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                            : WL_KEYBOARD_KEY_STATE_RELEASED);
  };
  for (const KeyStroke& stroke : parseKeys(keys)) {
    const auto [code, shifted] = *usKey(stroke);
    std::vector<unsigned> held;
    if (stroke.modifiers & Ctrl) held.push_back(KEY_LEFTCTRL);
    if (stroke.modifiers & Alt) held.push_back(KEY_LEFTALT);
    if ((stroke.modifiers & Shift) || shifted) held.push_back(KEY_LEFTSHIFT);
    for (unsigned m : held) key(m, true);
    key(code, true);
    key(code, false);
    for (auto m = held.rbegin(); m != held.rend(); ++m) key(*m, false);
  }
  connection_.roundtrip();
}

void KWinWindows::pause(int ms) {
  connection_.serveFor(ms);
}

void KWinWindows::makeTopmost(WindowHandle) {
  connection_.roundtrip();
  const auto self = static_cast<std::uint32_t>(::getpid());
  for (const auto& w : windows_) {
    if (w->pid != self || w->unmapped) continue;
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE,
                                    ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE);
    org_kde_plasma_window_set_state(w->proxy, ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE,
                                    ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
  }
  connection_.dispatch();
}

}  // namespace pw::wayland
