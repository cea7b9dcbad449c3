#include "platform/posix/filesettingsstore.h"

#include <atomic>
#include <bit>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/fd.h"
#include "platform/posix/posixerror.h"

namespace pw::posix {
namespace {

int makeDirs(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return 0;
  if (errno != ENOENT) return errno;
  auto slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return ENOENT;
  if (int e = makeDirs(path.substr(0, slash))) return e;
  return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

// Replacing a large file frees its pages when the last reference goes; that took 15 to 28 ms for a
// 20 MB value here. The old file is kept open across the rename and closed on this thread instead.
class DeferredClose {
 public:
  static void close(int fd) {
    static auto* instance = new DeferredClose;  // lives to the end of the process
    {
      std::lock_guard lock(instance->mutex_);
      instance->fds_.push_back(fd);
    }
    instance->ready_.notify_one();
  }

 private:
  DeferredClose() { std::thread([this] { run(); }).detach(); }
  [[noreturn]] void run() {
    for (;;) {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return !fds_.empty(); });
      int fd = fds_.front();
      fds_.pop_front();
      lock.unlock();
      ::close(fd);
    }
  }
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<int> fds_;
};

constexpr off_t kDeferAbove = 1 << 20;
// A value larger than this is damage, not a text box's content: 32 million characters.
constexpr off_t kMaxValueBytes = off_t{64} << 20;
constexpr unsigned char kMark[2] = {0xFF, 0xFE};

static_assert(std::endian::native == std::endian::little, "values are written as they lie in memory");

int writeValue(int fd, TextView value) {
  if (int e = writeAll(fd, std::string_view(reinterpret_cast<const char*>(kMark), 2))) return e;
  return writeAll(fd, std::string_view(reinterpret_cast<const char*>(value.data()), value.size() * 2));
}

Text decodeValue(const std::string& bytes) {
  if (bytes.size() < 2 || std::memcmp(bytes.data(), kMark, 2) != 0) return fromUtf8(bytes);
  Text value((bytes.size() - 2) / 2, u'\0');
  std::memcpy(value.data(), bytes.data() + 2, value.size() * 2);
  return value;
}

Text describeKey(TextView key, const std::string& path) {
  return u"the setting \"" + Text(key) + u"\" (" + fromUtf8(path) + u")";
}

}  // namespace

std::string escapeName(TextView name) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : toUtf8(name)) {
    bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                 b == '-' || b == '_' || (b == '.' && !out.empty());
    if (plain) {
      out.push_back(static_cast<char>(b));
    } else {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    }
  }
  return out.empty() ? "%" : out;
}

FileSettingsStore::FileSettingsStore(std::string root) : root_(std::move(root)) {}

std::string FileSettingsStore::defaultRoot() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.config";
}

std::string FileSettingsStore::keyPath(TextView app, TextView section, TextView key) const {
  return root_ + '/' + escapeName(app) + '/' + escapeName(section) + '/' + escapeName(key);
}

Text FileSettingsStore::get(TextView app, TextView section, TextView key, TextView fallback) {
  const std::string path = keyPath(app, section, key);
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT || errno == ENOTDIR) return Text(fallback);
    throwErrno(errno, u"read " + describeKey(key, path));
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) == 0 && st.st_size > kMaxValueBytes) {
    throw RuntimeError(err::OutOfMemory, u"Could not read " + describeKey(key, path) + u": it holds " +
                                             number(st.st_size >> 20) + u" MB, more than the " +
                                             number(kMaxValueBytes >> 20) + u" MB Pagewick reads. It was left as it is.");
  }
  std::string bytes;
  if (int e = readAll(fd.get(), bytes)) throwErrno(e, u"read " + describeKey(key, path));
  if (bytes.size() >= 2 && std::memcmp(bytes.data(), kMark, 2) == 0 && bytes.size() % 2) {
    throw RuntimeError(err::PathFileAccess, u"Could not read " + describeKey(key, path) + u": the file is cut short.");
  }
  return decodeValue(bytes);
}

void FileSettingsStore::save(TextView app, TextView section, TextView key, TextView value) {
  static std::atomic<unsigned> counter{0};
  const std::string path = keyPath(app, section, key);
  const std::string dir = path.substr(0, path.rfind('/'));
  const std::string temp = path + ".new-" + std::to_string(::getpid()) + '-' + std::to_string(counter++);
  const auto fail = [&](int e) {
    ::unlink(temp.c_str());
    throwErrno(e, u"save " + describeKey(key, path));
  };

  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd && errno == ENOENT) {
    if (int e = makeDirs(dir)) fail(e);
    fd = Fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  }
  if (!fd) fail(errno);
  if (int e = writeValue(fd.get(), value)) fail(e);
  if (int e = fd.close()) fail(e);

  Fd old(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  struct stat st {};
  if (old && (::fstat(old.get(), &st) != 0 || st.st_size < kDeferAbove)) old.close();
  if (::rename(temp.c_str(), path.c_str()) != 0) fail(errno);
  if (old) DeferredClose::close(old.release());
}

}  // namespace pw::posix
