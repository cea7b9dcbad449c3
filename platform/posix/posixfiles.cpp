#include "platform/posix/posixfiles.h"

#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/fd.h"
#include "platform/posix/localencoding.h"
#include "platform/posix/posixerror.h"

namespace pw::posix {
namespace {

// The path as the bytes the system takes: a NUL or a lone surrogate makes it a bad file name.
std::optional<std::string> systemName(TextView path) {
  if (path.find(u'\0') != TextView::npos || findLoneSurrogate(path) != TextView::npos) return std::nullopt;
  return toUtf8(path);
}

std::string nativePath(TextView path) {
  auto name = systemName(path);
  if (!name) throwBadFileName(path);
  return std::move(*name);
}

// What a path names when it is not something to write text into.
const char16_t* notAFile(mode_t mode) {
  if (S_ISFIFO(mode)) return u"a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return u"a device";
  if (S_ISSOCK(mode)) return u"a socket";
  return nullptr;  // a regular file, or a folder, which open() itself refuses
}

struct OpenedFile {
  Fd fd;
  bool created;
};

// Opens a regular file, or creates a new one, and never waits: a pipe without a reader, a
// terminal or a device would hold the window until something answered, so none is opened.
OpenedFile openFile(TextView path, int flags, bool create, TextView purpose) {
  const std::string native = nativePath(path);
  for (;;) {
    struct stat st {};
    if (::stat(native.c_str(), &st) == 0) {
      if (auto kind = notAFile(st.st_mode)) throwNotAFile(path, purpose, kind);
    }
    Fd fd(::open(native.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd) {
      if (::fstat(fd.get(), &st) != 0) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
      if (auto kind = notAFile(st.st_mode)) throwNotAFile(path, purpose, kind);  // it changed in between
      ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
      return {std::move(fd), false};
    }
    if (errno == ENXIO) throwNotAFile(path, purpose, u"a named pipe");
    if (errno != ENOENT || !create) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
    fd = Fd(::open(native.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd) return {std::move(fd), true};
    if (errno != EEXIST) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
  }
}

// Writes `bytes` whole, then closes the file. They are on the disk before it returns, and a file it
// created is in its folder: a power cut afterwards loses neither.
void writeWhole(OpenedFile file, TextView path, const std::string& bytes) {
  const int fd = file.fd.get();
  struct stat st {};
  if (::fstat(fd, &st) != 0) throwErrno(errno, u"write to " + quoted(path));
  int e = writeAll(fd, bytes);
  if (!e) e = syncFd(fd);
  if (e) {
    // Leave the file as it was rather than with a torn piece of text at its end.
    while (::ftruncate(fd, st.st_size) != 0 && errno == EINTR) {
    }
    throwErrno(e, u"write to " + quoted(path));
  }
  if (file.created && (e = syncFolderOf(nativePath(path)))) throwErrno(e, u"write to " + quoted(path));
  if ((e = file.fd.close())) throwErrno(e, u"close " + quoted(path));
}

}  // namespace

PathKind PosixFiles::kind(TextView path) {
  struct stat st {};
  const auto name = systemName(path);
  if (path.empty() || !name || ::stat(name->c_str(), &st) != 0) return PathKind::Missing;
  return S_ISREG(st.st_mode) ? PathKind::NormalFile : PathKind::Other;
}

// The text is encoded before the file is opened: text the encoding cannot hold leaves it untouched.
void PosixFiles::replaceText(TextView path, TextView text) {
  const std::string bytes = encodeText(text, localCodeset());
  writeWhole(openFile(path, O_WRONLY | O_TRUNC, true, u"for output"), path, bytes);
}

void PosixFiles::appendText(TextView path, TextView text) {
  const std::string bytes = encodeText(text, localCodeset());
  writeWhole(openFile(path, O_WRONLY | O_APPEND, true, u"for appending"), path, bytes);
}

}  // namespace pw::posix
