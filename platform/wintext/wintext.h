#pragma once
// Text is UTF-16, as every wide Win32 call takes it.
#include <cwchar>
#include <string>

#include "platform/text.h"

namespace pw::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

// A NUL-terminated copy for a Win32 call.
inline std::wstring wide(TextView text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline Text fromWide(const wchar_t* text, std::size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}
inline Text fromWide(const wchar_t* text) { return fromWide(text, std::wcslen(text)); }

}  // namespace pw::win
