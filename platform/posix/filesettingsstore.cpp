#include "platform/posix/filesettingsstore.h"

#include <atomic>
#include <cerrno>
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
  std::string bytes;
  if (int e = readAll(fd.get(), bytes)) throwErrno(e, u"read " + describeKey(key, path));
  return fromUtf8(bytes);
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
  if (int e = writeAll(fd.get(), toUtf8(value))) fail(e);
  if (int e = fd.close()) fail(e);
  if (::rename(temp.c_str(), path.c_str()) != 0) fail(errno);
}

}  // namespace pw::posix
