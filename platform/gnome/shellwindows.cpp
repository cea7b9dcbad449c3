#include "platform/gnome/shellwindows.h"

#include <QDBusArgument>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/qtext/qtext.h"
#include "platform/xkb/uskeys.h"

namespace pw::gnome {

std::vector<ShellWindows::Listed> ShellWindows::list() {
  const QDBusMessage reply = service_.call("ListWindows");
  std::vector<Listed> windows;
  const auto array = reply.arguments().value(0).value<QDBusArgument>();
  array.beginArray();
  while (!array.atEnd()) {
    Listed w{};
    QString title;
    qulonglong id = 0;
    array.beginStructure();
    array >> id >> title >> w.normal >> w.pid;
    array.endStructure();
    w.id = static_cast<WindowHandle>(id);
    w.title = fromQString(title);
    windows.push_back(std::move(w));
  }
  array.endArray();
  return windows;
}

std::vector<WindowCandidate> ShellWindows::windows() {
  const auto self = static_cast<unsigned>(::getpid());
  std::vector<WindowCandidate> candidates;
  for (const Listed& w : list()) {
    if (w.normal && w.pid != self) candidates.push_back({w.id, w.title});
  }
  return candidates;
}

void ShellWindows::raise(WindowHandle window, int) {
  service_.call("Activate", {QVariant::fromValue(qulonglong(window))});
}

WindowHandle ShellWindows::focused() {
  return static_cast<WindowHandle>(service_.call("FocusedWindow").arguments().value(0).toULongLong());
}

bool ShellWindows::hasFocus(WindowHandle window) { return focused() == window; }

std::optional<Text> ShellWindows::focusedTitle() {
  const WindowHandle id = focused();
  for (const Listed& w : list()) {
    if (id && w.id == id) return w.title;
  }
  return std::nullopt;
}

void ShellWindows::prepareKeys(TextView keys) { xkb::usKeyPresses(keys); }

void ShellWindows::typeKeys(TextView keys) {
  QList<uint> codes;
  QList<bool> down;
  for (const auto& press : xkb::usKeyPresses(keys)) {
    codes.push_back(press.code);
    down.push_back(press.down);
  }
  service_.call("SendKeys", {QVariant::fromValue(codes), QVariant::fromValue(down)});
}

void ShellWindows::pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void ShellWindows::makeTopmost(WindowHandle) { service_.call("KeepAbove"); }

}  // namespace pw::gnome
