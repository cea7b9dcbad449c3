#pragma once
// GNOME Shell gives ordinary programs no way to list, activate or type into other programs'
// windows. Pagewick's own shell extension does it and answers on the session bus; this is
// Pagewick's side of that service, with one error message per way it can be missing.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>
#include <optional>

#include "platform/text.h"

namespace pw::gnome {

inline constexpr char kExtensionId[] = "pagewick@kelvarin.org";

class ShellService {
 public:
  // On the user's session bus, or another one.
  explicit ShellService(QDBusConnection bus = QDBusConnection::sessionBus()) : bus_(std::move(bus)) {}
  // Whether GNOME Shell runs on this session bus, and whether our extension answers there.
  static bool shellRuns();
  // Why the extension cannot serve us (not active, or answering another program only); none
  // when it can.
  static std::optional<Text> refusal();
  // Calls a method of the extension's service and returns its reply. Throws a RuntimeError saying
  // what to do when the extension is not active or does not answer us.
  QDBusMessage call(const char* method, const QVariantList& arguments = {}) const;

 private:
  QDBusConnection bus_;
};

// What the capture says when the extension is not there or not active.
Text extensionMissingDescription();

}  // namespace pw::gnome
