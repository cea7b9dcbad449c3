// What each compositor's own screenshot shows: a test compares its pixels with where X11 says a
// window of ours lies, so the picture must be the compositor's, not XWayland's.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusArgument>
#include <QDBusUnixFileDescriptor>
#include <QImage>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <stdexcept>
#include <string_view>

#include "e2e/support/program.h"
#include "e2e/support/waylandsession.h"

namespace pw::e2e {
namespace {

QDBusConnection busAt(const std::string& address) {
  const QString name = QString::fromStdString(address);
  return QDBusConnection::connectToBus(name, name);
}

QDBusMessage call(QDBusConnection bus, const char* service, const char* path, const char* interface,
                  const char* method, const QVariantList& arguments) {
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
  message.setArguments(arguments);
  return bus.call(message, QDBus::Block, 30000);
}

}  // namespace

ScreenImage WlrootsSession::screenshot() {
  const QImage picture = QImage::fromData(QByteArray::fromStdString(output({"grim", "-t", "ppm", "-"})), "PPM");
  if (picture.isNull()) throw std::runtime_error("grim took no screenshot; see helpers.log");
  return screenImage(picture);
}

std::string KWinSession::startBus() {
  const std::string socket = folder() + "/session_bus";
  const std::string config = writeFile("session-bus.conf", R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=)" + socket + R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)");
  start({"dbus-daemon", "--nofork", "--config-file=" + config}, {}, "session-bus.log");
  if (!eventually([&] { return std::filesystem::is_socket(socket); }, 30000)) {
    throw std::runtime_error("KWin's session bus did not start; see session-bus.log");
  }
  return "unix:path=" + socket;
}

// KWin answers at once and then writes the picture's raw pixels into the pipe, whose far end is
// read meanwhile: a whole screen does not fit in a pipe's buffer.
ScreenImage KWinSession::screenshot() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for KWin's screenshot");
  auto pixels = std::async(std::launch::async, [in = ends[0]] {
    QByteArray data;
    char buffer[65536];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;) data.append(buffer, n);
    ::close(in);
    return data;
  });
  QDBusMessage reply;
  {
    const QDBusUnixFileDescriptor out(ends[1]);  // a copy: KWin's end closes when KWin is done
    ::close(ends[1]);
    reply = call(busAt(bus_), "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                 "CaptureActiveScreen", {QVariantMap{}, QVariant::fromValue(out)});
  }
  const QByteArray data = pixels.get();
  if (reply.type() != QDBusMessage::ReplyMessage) {
    throw std::runtime_error("KWin took no screenshot: " + reply.errorMessage().toStdString());
  }
  const QVariantMap results = qdbus_cast<QVariantMap>(reply.arguments().value(0));
  const QImage picture(reinterpret_cast<const uchar*>(data.constData()), results[QStringLiteral("width")].toInt(),
                       results[QStringLiteral("height")].toInt(), results[QStringLiteral("stride")].toInt(),
                       static_cast<QImage::Format>(results[QStringLiteral("format")].toInt()));
  if (static_cast<qsizetype>(picture.sizeInBytes()) > data.size()) {
    throw std::runtime_error("KWin's screenshot came short: " + std::to_string(data.size()) + " bytes");
  }
  return screenImage(picture);
}

std::optional<std::string> KWinSession::withoutScreenshots() {
  const QDBusMessage reply = call(busAt(bus_), "org.kde.KWin", "/org/kde/KWin/ScreenShot2",
                                  "org.freedesktop.DBus.Introspectable", "Introspect", {});
  const std::string why = "KWin takes screenshots only while it composites with OpenGL, and kwin.log in " + folder() +
                          " names the compositing it chose";
  if (!reply.arguments().value(0).toString().contains(QStringLiteral("org.kde.KWin.ScreenShot2"))) {
    return "KWin offers no ScreenShot2; " + why;
  }
  // From 6.6 on, KWin offers it whatever it composites with, and cancels every capture while it
  // composites with QPainter.
  try {
    screenshot();
    return std::nullopt;
  } catch (const std::runtime_error& error) {
    if (!std::string_view(error.what()).ends_with("got cancelled")) throw;
    return std::string(error.what()) + "; " + why;
  }
}

// The shell takes screenshots only for a few well-known names, and this test holds one on the
// session's own bus: the media keys daemon's, which every shell tested lists (43, 48 and 51; 51
// dropped the screenshot tool's) and which nothing runs in the tests' sessions.
ScreenImage GnomeSession::screenshot() {
  QDBusConnection bus = busAt("unix:path=" + sessionBus_);
  bus.registerService(QStringLiteral("org.gnome.SettingsDaemon.MediaKeys"));
  const std::string file = folder() + "/screenshot-" + randomHex(4) + ".png";
  QDBusMessage reply;
  // The shell learns of the name's new owner a moment after the bus does.
  eventually([&] {
    reply = call(bus, "org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                 "Screenshot", {false, false, QString::fromStdString(file)});
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
  }, 10000);
  const QImage picture(QString::fromStdString(file));
  std::filesystem::remove(file);
  if (picture.isNull()) throw std::runtime_error("GNOME Shell took no screenshot: " + reply.errorMessage().toStdString());
  return screenImage(picture);
}

}  // namespace pw::e2e
