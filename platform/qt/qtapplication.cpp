#include "platform/qt/qtapplication.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QUrl>
#include <unistd.h>

#include "platform/qtext/qtext.h"

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

void QtApplication::end() {
  prepareToEnd();
  ::_exit(0);
}

Picture QtApplication::loadPicture(TextView path) {
  const QString file = toQString(path);
  QImageReader reader(file);
  QImage image;
  if (!reader.canRead() || !reader.read(&image)) {
    throwNotAPicture(path);
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
    throwNotAWebAddress(address);
  }
  // The desktop's handler gets the address as one argument; no shell ever reads it.
  if (!QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())})) {
    throwAddressNotOpened(address, u": xdg-open was not found");
  }
}

}  // namespace pw::qt
