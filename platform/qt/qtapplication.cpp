#include "platform/qt/qtapplication.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QUrl>
#include <QWindow>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

#include "platform/controls/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::qt {
namespace {

// A .cur file keeps its hot spot where an icon keeps its planes and bit count.
void readCursorHotSpot(const QString& path, Picture& picture) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray head = file.read(14);
  if (head.size() < 14 || head[0] != 0 || head[1] != 0 || head[2] != 2 || head[3] != 0) return;
  const auto u16 = [&](int at) { return int(uchar(head[at])) | int(uchar(head[at + 1])) << 8; };
  picture.hotX = std::min(u16(10), picture.width - 1);
  picture.hotY = std::min(u16(12), picture.height - 1);
}

}  // namespace

Text QtApplication::path() { return fromQString(QCoreApplication::applicationDirPath()); }

// On X11 the clipboard's text lives in the program that put it there. A small helper beside the
// executable takes the text over, so that it can still be pasted after we are gone.
namespace {

void handOverClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard || QGuiApplication::platformName() != u"xcb" || !clipboard->ownsClipboard()) return;
  const QByteArray text = clipboard->text().toUtf8();
  const std::string helper = (QCoreApplication::applicationDirPath() + QStringLiteral("/pagewick-clipboard")).toStdString();
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(helper.c_str()), nullptr};
  const bool started = posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  if (started) {
    for (qsizetype done = 0; done < text.size();) {
      const ssize_t n = ::write(in[1], text.constData() + done, static_cast<std::size_t>(text.size() - done));
      if (n <= 0) break;
      done += n;
    }
  }
  ::close(in[1]);
  // The helper says "ready" once it owns the clipboard; ending before that would lose the text.
  pollfd ready{out[0], POLLIN, 0};
  if (started) ::poll(&ready, 1, 2000);
  ::close(out[0]);
}

}  // namespace

void QtApplication::end() {
  handOverClipboard();
  std::fflush(nullptr);
  ::_exit(0);
}

Picture QtApplication::loadPicture(TextView path) {
  const QString file = toQString(path);
  QImageReader reader(file);
  QImage image;
  if (!reader.canRead() || !reader.read(&image)) {
    throw RuntimeError(err::InvalidPicture, u"Invalid picture: \"" + Text(path) + u"\" is not a picture or cursor Pagewick can read.");
  }
  image = image.convertToFormat(QImage::Format_ARGB32);
  Picture picture{image.width(), image.height(), 0, 0, {}};
  picture.argb.reserve(static_cast<std::size_t>(image.width()) * image.height());
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    picture.argb.insert(picture.argb.end(), row, row + image.width());
  }
  readCursorHotSpot(file, picture);
  return picture;
}

void QtApplication::openAddress(TextView address) {
  const QUrl url(toQString(address), QUrl::StrictMode);
  if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()) {
    throw RuntimeError(err::InvalidProcedureCall, u"\"" + Text(address) + u"\" is not a web address.");
  }
  // The desktop's handler gets the address as one argument; no shell ever reads it.
  if (!QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())})) {
    throw RuntimeError(err::FileNotFound, u"The address \"" + Text(address) +
                                              u"\" could not be opened: xdg-open was not found.");
  }
}

void QtStacking::makeTopmost(WindowHandle handle) {
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    if (window->handle() && window->winId() == handle) {
      window->setFlags(window->flags() | Qt::WindowStaysOnTopHint);
      window->raise();
      window->requestActivate();
      return;
    }
  }
}

}  // namespace pw::qt
