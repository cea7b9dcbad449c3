// Looks inside Wine for the end-to-end tests, which run outside it: what the clipboard holds, a
// setting's exact value, whether a window is topmost. Text goes to and from files as raw UTF-16,
// so that nothing on the way (Wine's clipboard bridge, a console code page) changes a unit.
//
//   wine_probe code-page OUT                  the ANSI code page, as digits
//   wine_probe clipboard OUT                  the clipboard's CF_UNICODETEXT (exit 1: none)
//   wine_probe offer FILE                     puts FILE's text on the clipboard
//   wine_probe get KEY OUT                    Pagewick's setting KEY (exit 1: absent)
//   wine_probe set KEY FILE [dword]           sets it from FILE (or as a number, to damage it)
//   wine_probe forget                         removes all of Pagewick's settings
//   wine_probe topmost FILE                   exit 0 when the window titled as FILE says is topmost
//   wine_probe owned FILE                     exit 0 when the message box titled as FILE says is
//                                             owned by Pagewick's window
//   wine_probe layout OUT                     Pagewick's window: its inside and DPI, then per
//                                             control its id, place, size and how wide its
//                                             caption is in the layout's font at that DPI
//   wine_probe manifest EXE OUT               the manifest EXE carries, and the DPI awareness
//                                             Pagewick's window runs with ("running: ...")
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/layout.h"
#include "tests/win/support/unitsfile.h"

namespace {

using pw::test::readUnits;
using pw::test::writeUnits;

const wchar_t kSettings[] = L"Software\\Kelvarin\\Pagewick";

// Another program may have it open for a moment.
bool openClipboard() {
  for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
    if (attempt == 500) return false;
    Sleep(10);
  }
  return true;
}

int clipboard(const std::wstring& out) {
  if (!openClipboard()) return 2;
  int result = 1;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const auto* units = static_cast<const wchar_t*>(GlobalLock(data));
    std::size_t count = GlobalSize(data) / sizeof(wchar_t);
    while (count > 0 && units[count - 1] == L'\0') --count;  // the terminator and any padding
    writeUnits(out, units, count);
    GlobalUnlock(data);
    result = 0;
  }
  CloseClipboard();
  return result;
}

int offer(const std::wstring& file) {
  const std::wstring text = readUnits(file);
  if (!openClipboard()) return 2;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  CopyMemory(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return set ? 0 : 1;
}

int get(const std::wstring& key, const std::wstring& out) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettings, key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size)) return 1;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kSettings, key.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &size)) return 1;
  writeUnits(out, value.data(), size / sizeof(wchar_t) - 1);
  return 0;
}

int set(const std::wstring& key, const std::wstring& file, bool asNumber) {
  const std::wstring value = readUnits(file);
  const DWORD number = 13;
  return RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, key.c_str(), asNumber ? REG_DWORD : REG_SZ,
                         asNumber ? static_cast<const void*>(&number) : value.c_str(),
                         asNumber ? sizeof number : static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)))
             ? 1
             : 0;
}

int topmost(const std::wstring& titleFile) {
  HWND window = FindWindowW(nullptr, readUnits(titleFile).c_str());
  return window && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 0 : 1;
}

HWND pagewick() { return FindWindowW(L"PagewickForm1", nullptr); }

int owned(const std::wstring& titleFile) {
  HWND box = FindWindowW(L"#32770", readUnits(titleFile).c_str());
  return box && pagewick() && GetWindow(box, GW_OWNER) == pagewick() ? 0 : 1;
}

// The width `text` takes in the layout's `font` at `dpi`, as the program is meant to draw it.
long extent(const std::wstring& text, const pw::layout::Font& font, UINT dpi) {
  HDC dc = CreateCompatibleDC(nullptr);
  const std::wstring face(font.face, font.face + std::char_traits<char16_t>::length(font.face));
  HFONT handle = CreateFontW(-MulDiv(static_cast<int>(font.points * 100), static_cast<int>(dpi), 7200), 0, 0, 0,
                             font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, static_cast<DWORD>(font.charset), 0, 0,
                             CLEARTYPE_QUALITY, 0, face.c_str());
  const HGDIOBJ old = SelectObject(dc, handle);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteObject(handle);
  DeleteDC(dc);
  return size.cx;
}

int layout(const std::wstring& out) {
  HWND window = pagewick();
  if (!window) return 1;
  const UINT dpi = GetDpiForWindow(window);
  RECT inside{};
  GetClientRect(window, &inside);
  std::ofstream file{std::filesystem::path(out)};
  file << inside.right << ' ' << inside.bottom << ' ' << dpi << '\n';
  for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
    RECT at{};
    GetWindowRect(control, &at);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
    std::wstring caption(256, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(control, caption.data(), 256)));
    const bool button = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    file << GetDlgCtrlID(control) << ' ' << at.left << ' ' << at.top << ' ' << at.right - at.left << ' '
         << at.bottom - at.top << ' ' << extent(caption, button ? pw::layout::kButtonFont : pw::layout::kFormFont, dpi) << '\n';
  }
  return 0;
}

// The centre of the control named `name` (PushButton2, Text1) in the window's inside, as "x y".
int spot(const std::wstring& name, const std::wstring& out) {
  HWND window = pagewick();
  if (!window) return 1;
  for (std::size_t i = 0; i < pw::layout::kControls.size(); ++i) {
    const pw::Text own = pw::layout::controlName(pw::layout::kControls[i]);
    if (std::wstring(own.begin(), own.end()) != name) continue;
    RECT at{};
    GetWindowRect(GetDlgItem(window, pw::layout::kFirstControlId + static_cast<int>(i)), &at);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
    std::ofstream{std::filesystem::path(out)} << (at.left + at.right) / 2 << ' ' << (at.top + at.bottom) / 2 << '\n';
    return 0;
  }
  return 2;
}

int manifest(const std::wstring& exe, const std::wstring& out) {
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = image ? FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
  if (!found) return 1;
  const auto* text = static_cast<const char*>(LockResource(LoadResource(image, found)));
  std::ofstream file{std::filesystem::path(out), std::ios::binary};
  file.write(text, SizeofResource(image, found));
  // Wine keeps a window's awareness without telling per-monitor v1 from v2.
  HWND window = pagewick();
  const DPI_AWARENESS awareness =
      window ? GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window)) : DPI_AWARENESS_INVALID;
  file << "\nrunning: "
       << (awareness == DPI_AWARENESS_PER_MONITOR_AWARE ? "per-monitor"
           : awareness == DPI_AWARENESS_SYSTEM_AWARE    ? "system"
           : awareness == DPI_AWARENESS_UNAWARE         ? "unaware"
                                                        : "unknown");
  FreeLibrary(image);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  if (command == L"code-page") {
    const std::wstring digits = std::to_wstring(GetACP());
    writeUnits(arg(2), digits.data(), digits.size());
    return 0;
  }
  if (command == L"clipboard") return clipboard(arg(2));
  if (command == L"offer") return offer(arg(2));
  if (command == L"get") return get(arg(2), arg(3));
  if (command == L"set") return set(arg(2), arg(3), arg(4) == L"dword");
  if (command == L"forget") {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kelvarin");
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
  }
  if (command == L"topmost") return topmost(arg(2));
  if (command == L"owned") return owned(arg(2));
  if (command == L"layout") return layout(arg(2));
  if (command == L"spot") return spot(arg(2), arg(3));
  if (command == L"manifest") return manifest(arg(2), arg(3));
  return 64;
}
