// GNOME: the keys and the clipboard through Pagewick's shell extension against Mutter's
// RemoteDesktop interface, under a headless GNOME Shell against native Wayland Firefox:
//  - from Ctrl+C sent until the page's text is on the clipboard, with the keys through each (the
//    clipboard read through the extension for both);
//  - reading 10 MB that native Wayland Chromium copied from a page: the program's read (to its own
//    text) against Mutter's own read (bytes only).
// Run: build/bench/bench_gnome_routes [rounds]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <unistd.h>
#include <vector>

#include "bench/median.h"
#include "e2e/support/program.h"
#include "e2e/support/waylandsession.h"
#include "platform/gnome/shellclipboard.h"
#include "platform/gnome/shellwindows.h"
#include "platform/runtimeerror.h"
#include "platform/xkb/uskeys.h"

namespace {

using Clock = std::chrono::steady_clock;
using pw::bench::median;
const QString kRemoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");

double millisecondsOf(const std::function<void()>& step) {
  const auto start = Clock::now();
  step();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One RemoteDesktop session with its clipboard on; it ends with this process's connection.
class RemoteDesktop {
 public:
  RemoteDesktop() {
    const QDBusMessage created = call(QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), kRemoteDesktop,
                                      "CreateSession", {});
    path_ = created.arguments().value(0).value<QDBusObjectPath>().path();
    session("Start", {});
    session("EnableClipboard", {QVariant::fromValue(QVariantMap())});
  }

  void typeKeys(pw::TextView keys) {
    for (const auto& press : pw::xkb::usKeyPresses(keys)) session("NotifyKeyboardKeycode", {press.code, press.down});
  }

  // The clipboard's UTF-8 text, read to its end from the descriptor Mutter hands out.
  std::string text() {
    const QDBusMessage reply = session("SelectionRead", {QStringLiteral("text/plain;charset=utf-8")});
    const int fd = reply.arguments().value(0).value<QDBusUnixFileDescriptor>().fileDescriptor();
    std::string text;
    char buffer[65536];
    for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, 5000) > 0;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, n);
    }
    return text;
  }

 private:
  static QDBusMessage call(const QString& path, const QString& interface, const char* method, const QVariantList& args) {
    QDBusMessage request = QDBusMessage::createMethodCall(kRemoteDesktop, path, interface, QString::fromLatin1(method));
    request.setArguments(args);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(request, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      std::fprintf(stderr, "%s: %s\n", method, qPrintable(reply.errorMessage()));
      std::exit(1);
    }
    return reply;
  }
  QDBusMessage session(const char* method, const QVariantList& args) {
    return call(path_, kRemoteDesktop + QStringLiteral(".Session"), method, args);
  }

  QString path_;
};

// The clipboard's text as the program reads it.
pw::Text extensionText(pw::gnome::ShellClipboard& clipboard) {
  try {
    return clipboard.text(std::nullopt);
  } catch (const pw::RuntimeError& e) {
    std::fprintf(stderr, "extension: %s\n", e.what());
    return {};
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  pw::e2e::GnomeSession session(pw::e2e::WaylandOptions{.keyboardLayout = {}, .trusted = {self}});
  session.startFirefox("file://" + session.writeFile("page.html",
                                                     "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Bench "
                                                     "Page</title></head><body><p>A small page.</p></body></html>"));
  std::string lines;
  for (int i = 0; lines.size() < 10 * 1024 * 1024; ++i) lines += "Line " + std::to_string(i) + " of the large page.\n";
  session.startChromium("file://" + session.writeFile("large.html", "<!DOCTYPE html><html><head><title>Large Page</title>"
                                                                      "</head><body><pre>" + lines + "</pre></body></html>"));
  if (!session.waitForWindow(u"Bench Page") || !session.waitForWindow(u"Large Page")) return 1;
  QCoreApplication app(argc, argv);
  pw::gnome::ShellService shell;
  pw::gnome::ShellWindows extension(shell);
  pw::gnome::ShellClipboard clipboard;
  const auto focus = [&](pw::TextView title) {
    for (const auto& w : extension.windows()) {
      if (w.title.starts_with(title)) extension.raise(w.handle, 0);
    }
    return pw::e2e::eventually([&] { return extension.focusedTitle().value_or(u"").starts_with(title); });
  };
  if (!focus(u"Bench Page")) return 1;
  RemoteDesktop remote;

  // The same selection copied again and again; the clipboard is emptied before each copy.
  const auto copyTime = [&](const std::function<void(pw::TextView)>& type) {
    std::vector<double> times;
    type(u"^a");
    for (int i = 0; i < rounds; ++i) {
      clipboard.clear();
      const auto start = Clock::now();
      type(u"^c");
      if (!pw::e2e::eventually([&] { return extensionText(clipboard).find(u"A small page") != pw::Text::npos; }, 10000)) {
        std::fprintf(stderr, "nothing copied\n");
        return 0.0;
      }
      times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return median(times);
  };
  const double byExtension = copyTime([&](pw::TextView keys) { extension.typeKeys(keys); });
  const double byRemote = copyTime([&](pw::TextView keys) { remote.typeKeys(keys); });
  std::printf("Ctrl+C to text: extension's keys %.1f ms, RemoteDesktop's keys %.1f ms (median of %d)\n", byExtension,
              byRemote, rounds);

  // 10 MB from a native Wayland program, which sends it as it goes.
  if (!focus(u"Large Page")) {
    std::fprintf(stderr, "Chromium's window did not come forward\n");
    return 1;
  }
  // A page's text comes without its last line break; a page still loading gives less.
  const auto whole = [&](const auto& text) { return text.size() + 1 >= lines.size(); };
  const bool copied = pw::e2e::eventually([&] {
    extension.typeKeys(u"^a");
    extension.typeKeys(u"^c");
    return pw::e2e::eventually([&] { return whole(extensionText(clipboard)); }, 3000);
  }, 120000);
  if (!copied) {
    std::fprintf(stderr, "Chromium copied %zu of %zu bytes\n", extensionText(clipboard).size(), lines.size());
    return 1;
  }
  std::vector<double> ours, theirs;
  bool shortRead = false;
  for (int i = 0; i < 7; ++i) {
    ours.push_back(millisecondsOf([&] { shortRead |= !whole(extensionText(clipboard)); }));
    theirs.push_back(millisecondsOf([&] { shortRead |= !whole(remote.text()); }));
  }
  if (shortRead) std::fprintf(stderr, "a read came back short\n");
  std::printf("10 MB clipboard read: extension %.1f ms, RemoteDesktop %.1f ms (median of 7)\n", median(ours),
              median(theirs));
  return shortRead ? 1 : 0;
}
