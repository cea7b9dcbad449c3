#include "platform/win/winwindows.h"

#include <windows.h>

#include "platform/keystrokes.h"
#include "platform/win/winerror.h"
#include "platform/win/wineventpump.h"
#include "platform/win/winkeys.h"
#include "platform/wintext/wintext.h"

namespace pw::win {
namespace {

HWND hwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

Text windowTitle(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, title.data(), length + 1);
  return fromWide(title.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

// The rule Alt+Tab follows: visible, not cloaked, and either unowned and not a tool window, or
// marked as an application window.
bool switchable(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (style & WS_EX_APPWINDOW) return true;
  return !(style & WS_EX_TOOLWINDOW) && !(style & WS_EX_NOACTIVATE) && !GetWindow(window, GW_OWNER);
}

// Polls `done` every `pollMs` while serving messages other threads send us, for up to `ms`.
template <typename Done>
bool waitUntil(int ms, int pollMs, Done done) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (!done()) {
    if (GetTickCount64() >= deadline) return done();
    serveSentMessages(static_cast<unsigned>(pollMs));
  }
  return true;
}

void pressAlt() {
  INPUT alt[2]{};
  for (int i = 0; i < 2; ++i) {
    alt[i].type = INPUT_KEYBOARD;
    alt[i].ki.wVk = VK_MENU;
    alt[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(2, alt, sizeof(INPUT));
}

// The focus follows activation a little later (up to about 140 ms under Wine); keys sent before
// it settles go to the wrong control.
void waitForFocus(HWND target, int settleMs, int pollMs) {
  const DWORD thread = GetWindowThreadProcessId(target, nullptr);
  HWND last = nullptr;
  int steady = 0;
  waitUntil(settleMs, pollMs, [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info) || info.hwndActive != target || !info.hwndFocus) {
      last = nullptr;
      steady = 0;
      return false;
    }
    steady = info.hwndFocus == last ? steady + 1 : 0;
    last = info.hwndFocus;
    return steady >= 2;
  });
}

std::optional<DWORD> integrityLevel(HANDLE process, bool& denied) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
    denied = GetLastError() == ERROR_ACCESS_DENIED;
    return std::nullopt;
  }
  std::optional<DWORD> level;
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  if (size && GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
  }
  CloseHandle(token);
  return level;
}

const wchar_t* modifierHeld() {
  static constexpr std::pair<int, const wchar_t*> kModifiers[] = {
      {VK_CONTROL, L"Ctrl"}, {VK_SHIFT, L"Shift"}, {VK_MENU, L"Alt"}, {VK_LWIN, L"Windows"}, {VK_RWIN, L"Windows"}};
  for (const auto& [key, name] : kModifiers) {
    if (GetAsyncKeyState(key) & 0x8000) return name;
  }
  return nullptr;
}

}  // namespace

std::vector<WindowCandidate> switchableWindows() {
  std::vector<WindowCandidate> windows;
  // EnumWindows goes through the top-level windows in Z order, topmost first.
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() && switchable(window)) {
          reinterpret_cast<std::vector<WindowCandidate>*>(list)->push_back(
              {reinterpret_cast<WindowHandle>(window), windowTitle(window)});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool outranksUs(WindowHandle window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd(window), &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  bool theirsDenied = false, oursDenied = false;
  const auto theirs = integrityLevel(process, theirsDenied);
  const auto ours = integrityLevel(GetCurrentProcess(), oursDenied);
  CloseHandle(process);
  // A token we may not even read belongs to a program above us.
  return theirsDenied || (theirs && ours && *theirs > *ours);
}

std::vector<WindowCandidate> WinWindows::windows() { return switchableWindows(); }

void WinWindows::raise(WindowHandle window, int attempt) {
  const HWND target = hwnd(window);
  if (attempt == 0) {
    if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
  } else if (attempt == 1) {
    const DWORD ours = GetCurrentThreadId();
    const DWORD theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = theirs && theirs != ours && AttachThreadInput(ours, theirs, TRUE);
    BringWindowToTop(target);
    SetForegroundWindow(target);
    if (attached) AttachThreadInput(ours, theirs, FALSE);
    return;
  } else {
    pressAlt();
  }
  SetForegroundWindow(target);
}

bool WinWindows::hasFocus(WindowHandle window) { return GetForegroundWindow() == hwnd(window); }

std::optional<Text> WinWindows::focusedTitle() {
  const HWND front = GetForegroundWindow();
  if (!front) return std::nullopt;
  return windowTitle(front);
}

void WinWindows::settleFocus(WindowHandle window) { waitForFocus(hwnd(window), kSettleFocusMs, kTiming.poll); }

Text WinWindows::heldModifier() {
  const wchar_t* held = modifierHeld();
  return held ? fromWide(held) : Text();
}

void WinWindows::prepareKeys(TextView keys) {
  keyInputs(keys, GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr)));
}

void WinWindows::typeKeys(TextView keys) {
  const HWND target = GetForegroundWindow();
  std::vector<INPUT> inputs = keyInputs(keys, GetKeyboardLayout(GetWindowThreadProcessId(target, nullptr)));
  if (target && outranksUs(reinterpret_cast<WindowHandle>(target))) {
    throw RuntimeError(err::PermissionDenied,
                       u"The keystrokes \"" + Text(keys) + u"\" cannot reach \"" + windowTitle(target) +
                           u"\": its program runs with more rights than Pagewick (for example as administrator), "
                           u"and Windows drops keystrokes sent to it. Run both with the same rights.");
  }
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) {
    throwLastError(u"send the keystrokes \"" + Text(keys) +
                   u"\" (another desktop, such as the lock screen, may have the keyboard)");
  }
}

// The whole time: a message sent to us ends one wait early.
void WinWindows::pause(int ms) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
  for (ULONGLONG now; (now = GetTickCount64()) < until;) serveSentMessages(static_cast<unsigned>(until - now));
}

}  // namespace pw::win
