#include "platform/win/winfiles.h"

#include <algorithm>
#include <optional>

#include "platform/textencoding.h"
#include "platform/win/winerror.h"
#include "platform/wintext/wintext.h"

namespace pw::win {
namespace {

std::wstring nativePath(TextView path) {
  if (path.empty() || path.find(u'\0') != TextView::npos) throwBadFileName(path);
  return wide(path);
}

// Bytes of `text` in `codePage`, or nothing when a character has no form there.
std::optional<std::string> convert(TextView text, UINT codePage) {
  if (text.empty()) return std::string();
  const auto* units = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  const int size = WideCharToMultiByte(codePage, flags, units, length, nullptr, 0, nullptr, usedDefault);
  if (size <= 0 || defaulted) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, units, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

Text codePageName(UINT codePage) { return codePage == CP_UTF8 ? Text(u"UTF-8") : u"windows-" + number(codePage); }

HANDLE openFile(TextView path, DWORD disposition, TextView purpose) {
  HANDLE file = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throwLastError(u"open " + quoted(path) + u" " + Text(purpose));
  // A pipe, a console or a serial port would take the text somewhere else, or wait for a reader.
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    throwNotAFile(path, purpose, u"a pipe or a device");
  }
  return file;
}

bool writeAll(HANDLE file, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// Writes `bytes` whole at the file's end, on the disk before it returns, then closes the file.
void writeWhole(HANDLE file, TextView path, const std::string& bytes) {
  LARGE_INTEGER before{};
  SetFilePointerEx(file, LARGE_INTEGER{}, &before, FILE_END);
  if (!writeAll(file, bytes) || !FlushFileBuffers(file)) {
    const DWORD error = GetLastError();
    // Leave the file as it was rather than with a torn piece of text at its end.
    SetFilePointerEx(file, before, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    throwWinError(error, u"write to " + quoted(path));
  }
  if (!CloseHandle(file)) throwLastError(u"close " + quoted(path));
}

}  // namespace

std::string encodeAnsi(TextView text, UINT codePage) {
  // Resolved first: the system's page may be UTF-8, which takes other conversion flags.
  if (codePage == CP_ACP) codePage = GetACP();
  if (auto lone = findLoneSurrogate(text); lone != TextView::npos) throwUnrepresentable(text, lone, codePageName(codePage));
  if (auto bytes = convert(text, codePage)) return std::move(*bytes);
  // Find the first character that fails, a surrogate pair taken whole.
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t width = isHighSurrogate(text[at]) ? 2 : 1;
    if (!convert(text.substr(at, width), codePage)) throwUnrepresentable(text, at, codePageName(codePage));
    at += width;
  }
  throwUnrepresentable(text, 0, codePageName(codePage));
}

PathKind WinFiles::kind(TextView path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || path.find(u'\0') != TextView::npos ||
      !GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    return PathKind::Missing;
  }
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return data.dwFileAttributes & kNotNormal ? PathKind::Other : PathKind::NormalFile;
}

// The text is encoded before the file is opened: text the code page cannot hold leaves it untouched.
void WinFiles::replaceText(TextView path, TextView text) {
  const std::string bytes = encodeAnsi(text);
  writeWhole(openFile(path, CREATE_ALWAYS, u"for output"), path, bytes);
}

void WinFiles::appendText(TextView path, TextView text) {
  const std::string bytes = encodeAnsi(text);
  writeWhole(openFile(path, OPEN_ALWAYS, u"for appending"), path, bytes);
}

}  // namespace pw::win
