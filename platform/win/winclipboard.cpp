#include "platform/win/winclipboard.h"

#include <cstring>

#include "platform/win/winerror.h"
#include "platform/win/wineventpump.h"
#include "platform/wintext/wintext.h"

namespace pw::win {

// One OpenClipboard ... CloseClipboard.
class WinClipboard::Session {
 public:
  explicit Session(HWND owner) {
    if (OpenClipboard(owner)) return;
    const DWORD error = GetLastError();
    serveSentMessages(1);
    throw RuntimeError(err::ClipboardBusy, u"The clipboard is in use by another program (" + systemMessage(error) + u").");
  }
  ~Session() { CloseClipboard(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

WinClipboard::WinClipboard()
    : owner_(CreateWindowExW(0, L"STATIC", L"Pagewick clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {}

WinClipboard::~WinClipboard() {
  if (owner_) DestroyWindow(owner_);
}

void WinClipboard::clear() {
  Session session(owner_);
  if (!EmptyClipboard()) throwLastError(u"clear the clipboard");
}

void WinClipboard::setText(TextView text, std::optional<int> format) {
  checkTextFormat(format);
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) throw RuntimeError(err::OutOfMemory, u"Out of memory for " + number(bytes) + u" bytes of clipboard text.");
  auto* data = static_cast<char16_t*>(GlobalLock(memory));
  std::memcpy(data, text.data(), text.size() * sizeof(char16_t));
  data[text.size()] = u'\0';
  GlobalUnlock(memory);

  try {
    Session session(owner_);
    if (!EmptyClipboard()) throwLastError(u"put text on the clipboard");
    // Windows makes the 8-bit forms from this one when a program asks for them.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) throwLastError(u"put text on the clipboard");
  } catch (...) {
    GlobalFree(memory);
    throw;
  }
}

Text WinClipboard::text(std::optional<int> format) {
  checkTextFormat(format);
  Session session(owner_);
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* chars = static_cast<const char16_t*>(GlobalLock(data));
  if (!chars) return {};
  // The text ends at its first NUL or with the memory block, whichever comes first.
  const std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != u'\0') ++length;
  Text text(chars, length);
  GlobalUnlock(data);
  return text;
}

bool WinClipboard::hasText() { return IsClipboardFormatAvailable(CF_UNICODETEXT); }

}  // namespace pw::win
