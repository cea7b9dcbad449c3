// A stand-in browser for the Windows tests: one top-level window with the given title holding a
// multi-line edit box with a known text. It selects all on Ctrl+A and copies on Ctrl+C itself,
// because not every edit control does (Wine's ignores Ctrl+A).
//
//   test_page --title T --text FILE [--minimized] [--hidden] [--tool] [--no-copy] [--ready EVENT]
//   (--title-file FILE instead of --title: a command line from outside Wine is decoded in the
//   Unix locale, which need not hold the title's characters)
//   test_page --hold-clipboard MS --ready EVENT   (holds the clipboard open for MS ms, then ends)
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tests/win/support/unitsfile.h"

namespace {

using pw::test::readUnits;

HWND editBox = nullptr;

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: MoveWindow(editBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE); return 0;
    case WM_SETFOCUS: SetFocus(editBox); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

int holdClipboard(int ms, HANDLE ready) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClipboard(owner)) return 2;
  EmptyClipboard();
  const wchar_t text[] = L"held";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  CopyMemory(GlobalLock(memory), text, sizeof text);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  SetEvent(ready);
  Sleep(static_cast<DWORD>(ms));  // the point: holding it without looking at messages
  CloseClipboard();
  return 0;
}

// The selection onto the clipboard, as browsers copy: they retry while another program (here
// Wine's own clipboard bridge to X11) has the clipboard open, where the edit box's WM_COPY gives
// up at once and the copy is lost.
void copySelection(HWND owner) {
  DWORD start = 0, end = 0;
  SendMessageW(editBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(editBox)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(editBox, text.data(), static_cast<int>(text.size()))));
  text = text.substr(start, end - start);
  for (int attempt = 0; attempt < 200 && !OpenClipboard(owner); ++attempt) Sleep(10);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  CopyMemory(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring title, textFile, readyName;
  bool minimized = false, hidden = false, tool = false, copies = true;
  int holdMs = -1;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const auto next = [&] { return i + 1 < argc ? std::wstring(argv[++i]) : std::wstring(); };
    if (arg == L"--title") title = next();
    else if (arg == L"--title-file") title = readUnits(next());
    else if (arg == L"--text") textFile = next();
    else if (arg == L"--ready") readyName = next();
    else if (arg == L"--minimized") minimized = true;
    else if (arg == L"--hidden") hidden = true;
    else if (arg == L"--tool") tool = true;
    else if (arg == L"--no-copy") copies = false;  // a browser still busy copying
    else if (arg == L"--hold-clipboard") holdMs = std::stoi(next());
  }
  // Started from outside Wine, there is no event: the caller watches for the window.
  HANDLE ready = readyName.empty() ? nullptr : OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName.c_str());
  if (!readyName.empty() && !ready) return 3;
  if (holdMs >= 0) return holdClipboard(holdMs, ready);

  WNDCLASSW pageClass{};
  pageClass.lpfnWndProc = pageProc;
  pageClass.hInstance = instance;
  pageClass.lpszClassName = L"PagewickTestPage";
  pageClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassW(&pageClass);
  HWND page = CreateWindowExW(tool ? WS_EX_TOOLWINDOW : 0, L"PagewickTestPage", title.c_str(), WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 500, 300, nullptr, nullptr, instance, nullptr);
  editBox = CreateWindowExW(0, L"EDIT", readUnits(textFile).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL, 0, 0, 0,
                            0, page, nullptr, instance, nullptr);
  if (!hidden) ShowWindow(page, minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
  UpdateWindow(page);
  if (ready) SetEvent(ready);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (message.message == WM_KEYDOWN && ctrl && message.wParam == 'A') {
      SendMessageW(editBox, EM_SETSEL, 0, -1);
      continue;
    }
    if (message.message == WM_KEYDOWN && ctrl && message.wParam == 'C') {
      if (copies) copySelection(page);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
