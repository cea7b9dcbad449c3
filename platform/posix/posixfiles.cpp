#include "platform/posix/posixfiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/fd.h"
#include "platform/posix/localencoding.h"
#include "platform/posix/posixerror.h"

namespace pw::posix {
namespace {

// What a path names when it is not something to write text into.
const char16_t* notAFile(mode_t mode) {
  if (S_ISFIFO(mode)) return u"a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return u"a device";
  if (S_ISSOCK(mode)) return u"a socket";
  return nullptr;  // a regular file, or a folder, which open() itself refuses
}

[[noreturn]] void refuse(TextView path, TextView purpose, const char16_t* kind) {
  throw RuntimeError(err::PathFileAccess, u"Could not open " + quoted(path) + u" " + Text(purpose) + u": it is " +
                                              kind + u", not a file. Choose a file, or a new name.");
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
      if (auto kind = notAFile(st.st_mode)) refuse(path, purpose, kind);
    }
    Fd fd(::open(native.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd) {
      if (::fstat(fd.get(), &st) != 0) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
      if (auto kind = notAFile(st.st_mode)) refuse(path, purpose, kind);  // it changed in between
      ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
      return {std::move(fd), false};
    }
    if (errno == ENXIO) refuse(path, purpose, u"a named pipe");
    if (errno != ENOENT || !create) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
    fd = Fd(::open(native.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd) return {std::move(fd), true};
    if (errno != EEXIST) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
  }
}

// One open file: print or write, then close. A write is on the disk before it returns, and a file
// it created is in its folder: a power cut afterwards loses neither.
class PosixTextFile final : public OutputFile, public TextStream {
 public:
  PosixTextFile(OpenedFile file, Text path) : fd_(std::move(file.fd)), created_(file.created), path_(std::move(path)) {}

  void print(TextView text) override { write(text); }

  void write(TextView text) override {
    const std::string bytes = encodeText(text, localCodeset());
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) throwErrno(errno, u"write to " + quoted(path_));
    int e = writeAll(fd_.get(), bytes);
    if (!e) e = syncFd(fd_.get());
    if (e) {
      // Leave the file as it was rather than with a torn piece of text at its end.
      while (::ftruncate(fd_.get(), st.st_size) != 0 && errno == EINTR) {
      }
      throwErrno(e, u"write to " + quoted(path_));
    }
    if (created_ && (e = syncFolderOf(nativePath(path_)))) throwErrno(e, u"write to " + quoted(path_));
    created_ = false;
  }

  void close() override {
    if (int e = fd_.close()) throwErrno(e, u"close " + quoted(path_));
  }

 private:
  Fd fd_;
  bool created_;
  Text path_;
};

class PosixFileSystemObject final : public FileSystemObject {
 public:
  std::unique_ptr<TextStream> openTextFile(TextView path, IoMode mode, bool create, bool unicode) override {
    if (unicode) throw RuntimeError(err::InvalidProcedureCall, u"Unicode text files are not supported.");
    const int flags = O_WRONLY | (mode == IoMode::Append ? O_APPEND : O_TRUNC);
    auto purpose = mode == IoMode::Append ? u"for appending" : u"for writing";
    return std::make_unique<PosixTextFile>(openFile(path, flags, create, purpose), Text(path));
  }
};

}  // namespace

std::string nativePath(TextView path) {
  if (path.find(u'\0') != TextView::npos || findLoneSurrogate(path) != TextView::npos) {
    throw RuntimeError(err::BadFileName, u"Bad file name: " + quoted(path) + u".");
  }
  return toUtf8(path);
}

std::int64_t PosixFiles::fileDateTime(TextView path) {
  struct stat st {};
  if (path.empty() || ::stat(nativePath(path).c_str(), &st) != 0) {
    throw RuntimeError(err::FileNotFound, u"File not found: " + quoted(path) + u".");
  }
  return static_cast<std::int64_t>(st.st_mtime);
}

Text PosixFiles::dir(TextView path, int attributes) {
  struct stat st {};
  if (attributes != 0) throw RuntimeError(err::InvalidProcedureCall, u"Only normal files can be listed.");
  if (path.empty() || ::stat(nativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  auto slash = path.rfind(u'/');
  return Text(slash == TextView::npos ? path : path.substr(slash + 1));
}

std::unique_ptr<OutputFile> PosixFiles::openForOutput(TextView path) {
  return std::make_unique<PosixTextFile>(openFile(path, O_WRONLY | O_TRUNC, true, u"for output"), Text(path));
}

std::unique_ptr<FileSystemObject> PosixFiles::createFileSystemObject() {
  return std::make_unique<PosixFileSystemObject>();
}

}  // namespace pw::posix
