#pragma once
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <cstdlib>
#include <sys/resource.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pw::test {

// A fresh folder, /tmp/pagewick-<kind>-XXXXXX, removed with everything in it at the end unless
// kept.
class TempDir {
 public:
  explicit TempDir(const std::string& kind = "test") {
    std::string pattern = (std::filesystem::temp_directory_path() / ("pagewick-" + kind + "-XXXXXX")).string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    if (kept_) return;
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Leaves the folder in place, for a look afterwards.
  void keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// While it lives, files this process writes cannot grow past `bytes`: a full disk, as far as the
// process can tell. Writes past the limit fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit small = old_;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

// The paths in the folder `prefix` names whose whole path starts with `prefix`.
inline std::vector<std::string> pathsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  std::error_code ignored;
  for (auto& entry : std::filesystem::directory_iterator(std::filesystem::path(prefix).parent_path(), ignored)) {
    if (entry.path().string().starts_with(prefix)) found.push_back(entry.path().string());
  }
  return found;
}

// Paths that name something other than a file: a named pipe nobody reads, a device and a socket.
// While it lives, a writer stuck opening the pipe is let go after a minute: the test then fails
// instead of hanging.
class NotFiles {
 public:
  explicit NotFiles(const std::string& folder)
      : pipe(folder + "/pipe"), socket(folder + "/socket"), paths{pipe, device, socket} {
    ::mkfifo(pipe.c_str(), 0600);
    socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    watchdog_ = std::thread([this] {
      std::unique_lock lock(mutex_);
      if (!done_.wait_for(lock, std::chrono::minutes(1), [this] { return finished_; })) {
        blocked = true;
        reader_ = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
      }
    });
  }
  ~NotFiles() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    watchdog_.join();
    ::close(socket_);
    if (reader_ >= 0) ::close(reader_);
  }

  const std::string pipe, device = "/dev/null", socket;
  const std::string paths[3];
  bool blocked = false;  // a writer had to be let go

 private:
  int socket_ = -1, reader_ = -1;
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread watchdog_;
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace pw::test
