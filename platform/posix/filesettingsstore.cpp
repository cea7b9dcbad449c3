#include "platform/posix/filesettingsstore.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <signal.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

constexpr unsigned char kMark[2] = {0xFF, 0xFE};
constexpr std::string_view kTempInfix = ".new-";

static_assert(std::endian::native == std::endian::little, "values are written as they lie in memory");

int writeValue(int fd, TextView value) {
  if (int e = writeAll(fd, std::string_view(reinterpret_cast<const char*>(kMark), 2))) return e;
  return writeAll(fd, std::string_view(reinterpret_cast<const char*>(value.data()), value.size() * 2));
}

// The largest value file worth reading: a quarter of the memory this process may use, since the
// text box keeps about three more copies of what it shows.
std::uint64_t largestReadable() {
  std::uint64_t memory = static_cast<std::uint64_t>(::sysconf(_SC_PHYS_PAGES)) *
                         static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
      memory = std::min<std::uint64_t>(memory, limit.rlim_cur);
    }
  }
  return memory / 4;
}

// Reads from `offset` to the end into `out`, which is sized for what the file held; false when
// the file turned out shorter, 0 or an errno in `error`.
bool readExactly(int fd, char* out, std::size_t size, off_t offset, int& error) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, out, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) return false;
    out += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

// Renames `path` to a free name "<path>.unreadable-<date>"; the new path, or "" with errno set.
std::string moveAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  const std::string base = path + ".unreadable-" + stamp;
  for (int n = 1; n < 1000; ++n) {
    const std::string aside = n == 1 ? base : base + '-' + std::to_string(n);
    int rc = ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && errno == EINVAL) {  // a file system without the flag
      struct stat st {};
      rc = ::lstat(aside.c_str(), &st) == 0 ? (errno = EEXIST, -1) : ::rename(path.c_str(), aside.c_str());
    }
    if (rc == 0) {
      syncFolderOf(path);
      return aside;
    }
    if (errno != EEXIST) return {};
  }
  errno = EEXIST;
  return {};
}

// The pid in a temporary file's name "<key>.new-<pid>-<n>", or 0 when the name is not one.
pid_t writerOf(std::string_view name) {
  const auto at = name.rfind(kTempInfix);
  if (at == std::string_view::npos) return 0;
  pid_t pid = 0;
  std::size_t i = at + kTempInfix.size();
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) pid = pid * 10 + (name[i] - '0');
  return i < name.size() && name[i] == '-' ? pid : 0;
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

void FileSettingsStore::unreadable(TextView key, const std::string& path, TextView reason, bool moveIt) {
  const Text what = u"Could not read " + describeKey(key, path) + u": " + Text(reason) + u".";
  const std::string aside = moveIt ? moveAside(path) : std::string();
  if (!aside.empty()) {
    kept_.erase(path);
    throw RuntimeError(err::PathFileAccess, what + u" It was moved to " + quoted(fromUtf8(aside)) +
                                                u", and the next change is saved in its place.");
  }
  const Text why = moveIt ? u" It could not be moved aside (" + errnoText(errno) + u")," : Text(u" It");
  kept_[path] = why + u" is kept as it is, and nothing is saved over it.";
  throw RuntimeError(err::PathFileAccess, what + kept_[path]);
}

Text FileSettingsStore::get(TextView app, TextView section, TextView key, TextView fallback) {
  const std::string path = keyPath(app, section, key);
  replace_.flush(path);  // what this store saved is read back as saved
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) return Text(fallback);
    // Out of descriptors or memory passes; the value itself may be fine.
    unreadable(key, path, errnoText(e), e != EMFILE && e != ENFILE && e != ENOMEM && e != EINTR);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) unreadable(key, path, errnoText(errno), false);
  if (!S_ISREG(st.st_mode)) unreadable(key, path, S_ISDIR(st.st_mode) ? u"it is a folder" : u"it is not a file");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  const auto tooLarge = [&] {
    unreadable(key, path, u"it holds " + number(static_cast<long long>(size >> 20)) +
                              u" MB, more than this computer's memory can hold for Pagewick");
  };
  if (size > largestReadable()) tooLarge();

  unsigned char mark[2] = {};
  int error = 0;
  const bool marked = size >= 2 && readExactly(fd.get(), reinterpret_cast<char*>(mark), 2, 0, error) &&
                      std::memcmp(mark, kMark, 2) == 0;
  if (error) unreadable(key, path, errnoText(error));
  Text value;
  try {
    if (marked) {
      if (size % 2) unreadable(key, path, u"the file is cut short");
      value.resize((size - 2) / 2);
      if (!readExactly(fd.get(), reinterpret_cast<char*>(value.data()), value.size() * 2, 2, error)) {
        unreadable(key, path, error ? errnoText(error) : Text(u"the file is cut short"));
      }
    } else {
      std::string bytes;
      if (int e = readAll(fd.get(), bytes)) unreadable(key, path, errnoText(e));
      value = fromUtf8(bytes);
      if (toUtf8(value) != bytes) unreadable(key, path, u"it is neither Pagewick's own form nor UTF-8 text");
    }
  } catch (const std::bad_alloc&) {
    tooLarge();
  } catch (const std::length_error&) {
    tooLarge();
  }
  kept_.erase(path);
  read_[path] = {st.st_dev, st.st_ino, st.st_size, st.st_mtim};
  return value;
}

// Whether the file at `path` is still the one get() read and holds `value` already. The window
// saves what it restored as it restores it: for a large text that was a whole needless write,
// the larger part of start-up.
bool FileSettingsStore::holdsAlready(const std::string& path, TextView value) {
  const auto read = read_.extract(path);
  const off_t size = 2 + static_cast<off_t>(value.size() * 2);
  if (read.empty() || read.mapped().size != size) return false;
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return false;
  const Read& was = read.mapped();
  if (st.st_dev != was.device || st.st_ino != was.inode || st.st_size != size ||
      st.st_mtim.tv_sec != was.modified.tv_sec || st.st_mtim.tv_nsec != was.modified.tv_nsec) {
    return false;
  }
  std::string piece(1 << 20, '\0');
  const char* expected = reinterpret_cast<const char*>(value.data());
  int error = 0;
  unsigned char mark[2];
  if (!readExactly(fd.get(), reinterpret_cast<char*>(mark), 2, 0, error) || std::memcmp(mark, kMark, 2) != 0) return false;
  for (off_t at = 2; at < size; at += static_cast<off_t>(piece.size())) {
    const auto length = static_cast<std::size_t>(std::min<off_t>(size - at, static_cast<off_t>(piece.size())));
    if (!readExactly(fd.get(), piece.data(), length, at, error) || std::memcmp(piece.data(), expected + (at - 2), length) != 0) {
      return false;
    }
  }
  return true;
}

void FileSettingsStore::removeLeftovers(const std::string& folder) {
  if (!tidied_.insert(folder).second) return;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t writer = writerOf(entry->d_name);
    if (writer > 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

void FileSettingsStore::save(TextView app, TextView section, TextView key, TextView value) {
  static std::atomic<unsigned> counter{0};
  const std::string path = keyPath(app, section, key);
  if (auto kept = kept_.find(path); kept != kept_.end()) {
    throw RuntimeError(err::PathFileAccess, u"Could not save " + describeKey(key, path) + u": its stored value could not be read." + kept->second);
  }
  if (holdsAlready(path, value)) return;
  const std::string dir = path.substr(0, path.rfind('/'));
  const std::string temp = path + std::string(kTempInfix) + std::to_string(::getpid()) + '-' + std::to_string(counter++);
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
  removeLeftovers(dir);
  if (int e = writeValue(fd.get(), value)) fail(e);
  replace_.replace(std::move(fd), temp, path);
  // The disk's answer comes later: a replacement that failed is told with the next save.
  if (int e = replace_.takeFailure(path)) throwErrno(e, u"save " + describeKey(key, path));
}

Text FileSettingsStore::setAside(TextView app, TextView section, TextView key) {
  const std::string path = keyPath(app, section, key);
  replace_.flush(path);
  const std::string aside = moveAside(path);
  if (aside.empty()) {
    const int e = errno;
    if (e == ENOENT) return {};
    kept_[path] = u" It could not be moved aside (" + errnoText(e) + u"), is kept as it is, and nothing is saved over it.";
    throwErrno(e, u"move " + describeKey(key, path) + u" aside");
  }
  return fromUtf8(aside);
}

void FileSettingsStore::flush() { replace_.flush(); }

}  // namespace pw::posix
