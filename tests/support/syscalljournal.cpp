// Preloaded into a process, records the file-system calls it makes under $PAGEWICK_JOURNAL_UNDER,
// in the order they happen, to the file $PAGEWICK_JOURNAL. One record per call:
//   open <fd> <flags> <path> | write <fd> <length>, then the bytes | fsync <fd> | close <fd>
//   rename <from>\t<to> | unlink <path>
// A call and its record happen under one lock, so the journal's order is the calls' order.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

constexpr int kMaxFd = 1 << 16;
std::recursive_mutex lock;
bool tracked[kMaxFd];

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int journal() {
  static int fd = [] {
    const char* path = std::getenv("PAGEWICK_JOURNAL");
    return path ? real<int (*)(const char*, int, ...)>("open")(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600) : -1;
  }();
  return fd;
}

bool watched(const char* path) {
  const char* under = std::getenv("PAGEWICK_JOURNAL_UNDER");
  return under && path && std::strncmp(path, under, std::strlen(under)) == 0;
}

void record(const std::string& line, const void* bytes = nullptr, std::size_t length = 0) {
  static auto write = real<ssize_t (*)(int, const void*, size_t)>("write");
  write(journal(), line.data(), line.size());
  if (length) write(journal(), bytes, length);
}

int opened(int fd, int flags, const char* path) {
  if (fd >= 0 && fd < kMaxFd) {
    tracked[fd] = watched(path);
    if (tracked[fd]) record("open " + std::to_string(fd) + ' ' + std::to_string(flags) + ' ' + path + '\n');
  }
  return fd;
}

bool isTracked(int fd) { return fd >= 0 && fd < kMaxFd && tracked[fd]; }

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = va_arg(args, mode_t);
  va_end(args);
  std::lock_guard guard(lock);
  return opened(real<int (*)(const char*, int, ...)>("open")(path, flags, mode), flags, path);
}
int open64(const char* path, int flags, ...) __attribute__((alias("open")));

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = va_arg(args, mode_t);
  va_end(args);
  std::lock_guard guard(lock);
  const int fd = real<int (*)(int, const char*, int, ...)>("openat")(dir, path, flags, mode);
  return dir == AT_FDCWD ? opened(fd, flags, path) : fd;
}
int openat64(int dir, const char* path, int flags, ...) __attribute__((alias("openat")));

ssize_t write(int fd, const void* bytes, size_t length) {
  std::lock_guard guard(lock);
  const ssize_t n = real<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, length);
  if (n > 0 && isTracked(fd)) record("write " + std::to_string(fd) + ' ' + std::to_string(n) + '\n', bytes, n);
  return n;
}

int fsync(int fd) {
  std::lock_guard guard(lock);
  const int rc = real<int (*)(int)>("fsync")(fd);
  if (rc == 0 && isTracked(fd)) record("fsync " + std::to_string(fd) + '\n');
  return rc;
}

int fdatasync(int fd) {
  std::lock_guard guard(lock);
  const int rc = real<int (*)(int)>("fdatasync")(fd);
  if (rc == 0 && isTracked(fd)) record("fsync " + std::to_string(fd) + '\n');
  return rc;
}

int close(int fd) {
  std::lock_guard guard(lock);
  if (isTracked(fd)) {
    record("close " + std::to_string(fd) + '\n');
    tracked[fd] = false;
  }
  return real<int (*)(int)>("close")(fd);
}

int rename(const char* from, const char* to) {
  std::lock_guard guard(lock);
  const int rc = real<int (*)(const char*, const char*)>("rename")(from, to);
  if (rc == 0 && watched(to)) record(std::string("rename ") + from + '\t' + to + '\n');
  return rc;
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  std::lock_guard guard(lock);
  const int rc = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(fromDir, from, toDir, to, flags);
  if (rc == 0 && watched(to)) record(std::string("rename ") + from + '\t' + to + '\n');
  return rc;
}

int unlink(const char* path) {
  std::lock_guard guard(lock);
  const int rc = real<int (*)(const char*)>("unlink")(path);
  if (rc == 0 && watched(path)) record(std::string("unlink ") + path + '\n');
  return rc;
}

}  // extern "C"
