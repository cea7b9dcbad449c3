#include "platform/win/winfiles.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/textencoding.h"
#include "platform/win/winerror.h"
#include "platform/win/winstring.h"

namespace pw::win {
namespace {

std::wstring nativePath(TextView path) {
  if (path.empty() || path.find(u'\0') != TextView::npos) {
    throw RuntimeError(err::BadFileName, u"Bad file name: " + quoted(path) + u".");
  }
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
    throw RuntimeError(err::PathFileAccess, u"Could not open " + quoted(path) + u" " + Text(purpose) +
                                                u": it is a pipe or a device, not a file. Choose a file, or a new name.");
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

// One open file: print or write, then close.
class WinFile final : public OutputFile, public TextStream {
 public:
  WinFile(HANDLE file, Text path, bool append) : file_(file), path_(std::move(path)), append_(append) {}
  ~WinFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }

  void print(TextView text) override { write(text); }

  void write(TextView text) override {
    const std::string bytes = encodeAnsi(text);
    LARGE_INTEGER before{};
    if (append_) SetFilePointerEx(file_, LARGE_INTEGER{}, &before, FILE_END);
    else SetFilePointerEx(file_, LARGE_INTEGER{}, &before, FILE_CURRENT);
    // On the disk before the command says it is done: a power cut then loses nothing.
    if (!writeAll(file_, bytes) || !FlushFileBuffers(file_)) {
      const DWORD error = GetLastError();
      // Leave the file as it was rather than with a torn piece of text at its end.
      SetFilePointerEx(file_, before, nullptr, FILE_BEGIN);
      SetEndOfFile(file_);
      throwWinError(error, u"write to " + quoted(path_));
    }
  }

  void close() override {
    HANDLE file = std::exchange(file_, INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file)) throwLastError(u"close " + quoted(path_));
  }

 private:
  HANDLE file_;
  Text path_;
  bool append_;
};

class WinFileSystemObject final : public FileSystemObject {
 public:
  std::unique_ptr<TextStream> openTextFile(TextView path, IoMode mode, bool create, bool unicode) override {
    if (unicode) throw RuntimeError(err::InvalidProcedureCall, u"Unicode text files are not supported.");
    const bool append = mode == IoMode::Append;
    const DWORD disposition = append ? (create ? OPEN_ALWAYS : OPEN_EXISTING) : (create ? CREATE_ALWAYS : TRUNCATE_EXISTING);
    return std::make_unique<WinFile>(openFile(path, disposition, append ? u"for appending" : u"for writing"),
                                     Text(path), append);
  }
};

bool attributesOf(TextView path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(nativePath(path).c_str(), GetFileExInfoStandard, &data);
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

std::int64_t WinFiles::fileDateTime(TextView path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !attributesOf(path, data)) {
    throw RuntimeError(err::FileNotFound, u"File not found: " + quoted(path) + u".");
  }
  ULARGE_INTEGER time{};
  time.LowPart = data.ftLastWriteTime.dwLowDateTime;
  time.HighPart = data.ftLastWriteTime.dwHighDateTime;
  // From 100 ns steps since 1601 to seconds since 1970.
  return static_cast<std::int64_t>(time.QuadPart / 10000000ULL) - 11644473600LL;
}

Text WinFiles::dir(TextView path, int attributes) {
  if (attributes != 0) throw RuntimeError(err::InvalidProcedureCall, u"Only normal files can be listed.");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (path.empty() || !attributesOf(path, data) || (data.dwFileAttributes & kNotNormal)) return {};
  const auto separator = path.find_last_of(u"\\/:");
  return Text(separator == TextView::npos ? path : path.substr(separator + 1));
}

std::unique_ptr<OutputFile> WinFiles::openForOutput(TextView path) {
  return std::make_unique<WinFile>(openFile(path, CREATE_ALWAYS, u"for output"), Text(path), false);
}

std::unique_ptr<FileSystemObject> WinFiles::createFileSystemObject() {
  return std::make_unique<WinFileSystemObject>();
}

}  // namespace pw::win
