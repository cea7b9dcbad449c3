#include "platform/win/winerror.h"

#include "platform/wintext/wintext.h"

namespace pw::win {

Text systemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
      0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = length ? fromWide(buffer, length) : u"error " + number(error);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' || text.back() == u'.')) {
    text.pop_back();
  }
  return text;
}

int errorNumberFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_BAD_NETPATH: return err::PathNotFound;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return err::PermissionDenied;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return err::DiskFull;
    case ERROR_INVALID_NAME: case ERROR_FILENAME_EXCED_RANGE: case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return err::BadFileName;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return err::OutOfMemory;
    default: return err::PathFileAccess;
  }
}

void throwWinError(DWORD error, TextView what) {
  throwCouldNot(errorNumberFor(error), what, systemMessage(error));
}

}  // namespace pw::win
