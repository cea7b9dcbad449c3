#pragma once
// Small RAII and loop helpers over file descriptors.
#include <string>
#include <string_view>

namespace pw::posix {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&& other) noexcept;
  ~Fd();
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() { int fd = fd_; fd_ = -1; return fd; }
  int close();  // 0, or the errno of a failed close

 private:
  int fd_;
};

// Writes everything or returns the errno of the failure.
int writeAll(int fd, std::string_view bytes);
// Reads to end of file; returns 0 or an errno.
int readAll(int fd, std::string& out);
// A pipe for a large text, with a buffer big enough that writer and reader take few turns;
// false (errno set) when none can be made.
bool openPipe(Fd& readEnd, Fd& writeEnd);
// Reads a pipe to its end; false when the writer sent nothing for `silenceMs` or the read failed.
bool readPipe(int fd, std::string& out, int silenceMs);
// fsync that retries when interrupted; 0 or the errno.
int syncFd(int fd);
// Makes the entries of the folder that holds `path` durable; 0 or the errno.
int syncFolderOf(const std::string& path);

}  // namespace pw::posix
