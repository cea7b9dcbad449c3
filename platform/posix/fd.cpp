#include "platform/posix/fd.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::posix {

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.release();
  }
  return *this;
}

Fd::~Fd() { close(); }

int Fd::close() {
  if (fd_ < 0) return 0;
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0 ? 0 : errno;
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int readAll(int fd, std::string& out) {
  struct stat st {};
  std::size_t used = out.size();
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) out.resize(used + static_cast<std::size_t>(st.st_size) + 1);
  for (;;) {
    if (out.size() - used < 4096) out.resize(used + 65536 + out.size() / 2);
    ssize_t n = ::read(fd, out.data() + used, out.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      out.resize(used);
      return errno;
    }
    used += static_cast<std::size_t>(n);
    if (n == 0) {
      out.resize(used);
      return 0;
    }
  }
}

bool openPipe(Fd& readEnd, Fd& writeEnd) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  readEnd = Fd(ends[0]);
  writeEnd = Fd(ends[1]);
  ::fcntl(ends[0], F_SETPIPE_SZ, 1 << 20);  // may be refused above the system's limit: still a pipe
  return true;
}

bool readPipe(int fd, std::string& out, int silenceMs) {
  std::size_t size = out.size();
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, silenceMs) <= 0) return false;
    if (out.size() - size < (1 << 20)) out.resize(size + (2 << 20));
    const ssize_t n = ::read(fd, out.data() + size, out.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      out.resize(size);
      return n == 0;
    }
    size += static_cast<std::size_t>(n);
  }
}

int syncFd(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

int syncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return errno;
  return syncFd(fd.get());
}

}  // namespace pw::posix
