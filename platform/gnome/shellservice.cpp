#include "platform/gnome/shellservice.h"

#include <QDBusConnectionInterface>

#include "platform/qtext/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::gnome {
namespace {

const QString kService = QStringLiteral("org.kelvarin.Pagewick.Shell");
const QString kPath = QStringLiteral("/org/kelvarin/Pagewick/Shell");
const QString kInterface = QStringLiteral("org.kelvarin.Pagewick.Shell1");
// Generous: the shell answers from its own main loop, which may be busy drawing.
constexpr int kCallTimeoutMs = 5000;

}  // namespace

Text extensionMissingDescription() {
  return u"On GNOME, Pagewick finds, brings forward and types into other programs' windows through its "
         u"GNOME Shell extension, and that extension is not active. Install Pagewick from its package "
         u"and log out and in once: GNOME loads a newly installed extension only when you log in. Then, if "
         u"it is still off, enable \"Pagewick\" in the Extensions app, or with: gnome-extensions enable " +
         ascii(kExtensionId) + u". Or, where GNOME still offers one (up to GNOME 48), log in to its X11 session instead.";
}

namespace {

bool registered(const QString& name) {
  const auto* bus = QDBusConnection::sessionBus().interface();
  return bus && bus->isServiceRegistered(name);
}

}  // namespace

bool ShellService::shellRuns() { return registered(QStringLiteral("org.gnome.Shell")); }

std::optional<Text> ShellService::refusal() {
  if (!registered(kService)) return extensionMissingDescription();
  try {
    ShellService().call("FocusedWindow");
    return std::nullopt;
  } catch (const RuntimeError& e) {
    return e.description();
  }
}

QDBusMessage ShellService::call(const char* method, const QVariantList& arguments) const {
  QDBusMessage request = QDBusMessage::createMethodCall(kService, kPath, kInterface, QString::fromLatin1(method));
  request.setArguments(arguments);
  const QDBusMessage reply = bus_.call(request, QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return reply;
  const QString error = reply.errorName();
  if (error == kInterface + QStringLiteral(".Busy")) throw RuntimeError(err::ClipboardBusy, fromQString(reply.errorMessage()));
  if (error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") || error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    throw RuntimeError(err::WindowNotFound, extensionMissingDescription());
  }
  if (error == kInterface + QStringLiteral(".AccessDenied")) {
    throw RuntimeError(err::WindowNotFound,
                       u"Pagewick's GNOME Shell extension answers Pagewick's installed program only, and this "
                       u"one is not it (" + fromQString(reply.errorMessage()) +
                           u"). Start the program that Pagewick's package installed.");
  }
  throw RuntimeError(err::WindowNotFound, u"Pagewick's GNOME Shell extension did not answer: " +
                                              fromQString(reply.errorMessage()));
}

}  // namespace pw::gnome
