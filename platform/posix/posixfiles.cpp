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

Fd openFile(TextView path, int flags, TextView purpose) {
  const std::string native = nativePath(path);
  Fd fd(::open(native.c_str(), flags | O_CLOEXEC, 0666));
  if (!fd) throwErrno(errno, u"open " + quoted(path) + u" " + Text(purpose));
  return fd;
}

class PosixOutputFile final : public OutputFile {
 public:
  PosixOutputFile(Fd fd, Text path) : fd_(std::move(fd)), path_(std::move(path)) {}
  void print(TextView text) override {
    if (int e = writeAll(fd_.get(), encodeText(text, localCodeset()))) throwErrno(e, u"write to " + quoted(path_));
  }
  void close() override {
    if (int e = fd_.close()) throwErrno(e, u"close " + quoted(path_));
  }

 private:
  Fd fd_;
  Text path_;
};

class PosixTextStream final : public TextStream {
 public:
  PosixTextStream(Fd fd, Text path) : fd_(std::move(fd)), path_(std::move(path)) {}
  void write(TextView text) override {
    const std::string bytes = encodeText(text, localCodeset());
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) throwErrno(errno, u"write to " + quoted(path_));
    if (int e = writeAll(fd_.get(), bytes)) {
      // Leave the file as it was rather than with a torn piece of text at its end.
      while (::ftruncate(fd_.get(), st.st_size) != 0 && errno == EINTR) {
      }
      throwErrno(e, u"write to " + quoted(path_));
    }
  }
  void close() override {
    if (int e = fd_.close()) throwErrno(e, u"close " + quoted(path_));
  }

 private:
  Fd fd_;
  Text path_;
};

class PosixFileSystemObject final : public FileSystemObject {
 public:
  std::unique_ptr<TextStream> openTextFile(TextView path, IoMode mode, bool create, bool unicode) override {
    if (unicode) throw RuntimeError(err::InvalidProcedureCall, u"Unicode text files are not supported.");
    int flags = O_WRONLY | (create ? O_CREAT : 0) | (mode == IoMode::Append ? O_APPEND : O_TRUNC);
    auto purpose = mode == IoMode::Append ? u"for appending" : u"for writing";
    return std::make_unique<PosixTextStream>(openFile(path, flags, purpose), Text(path));
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
  return std::make_unique<PosixOutputFile>(openFile(path, O_WRONLY | O_CREAT | O_TRUNC, u"for output"), Text(path));
}

std::unique_ptr<FileSystemObject> PosixFiles::createFileSystemObject() {
  return std::make_unique<PosixFileSystemObject>();
}

}  // namespace pw::posix
