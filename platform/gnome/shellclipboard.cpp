#include "platform/gnome/shellclipboard.h"

#include <QDBusUnixFileDescriptor>

#include "platform/posix/fd.h"
#include "platform/runtimeerror.h"

namespace pw::gnome {

void ShellClipboard::clear() { service_.call("SetClipboard", {QByteArray()}); }

void ShellClipboard::setText(TextView text, std::optional<int> format) {
  checkTextFormat(format);
  service_.call("SetClipboard", {QByteArray::fromStdString(toUtf8(text))});
}

Text ShellClipboard::text(std::optional<int> format) {
  checkTextFormat(format);
  posix::Fd in, out;
  if (!posix::openPipe(in, out)) throw RuntimeError(err::ClipboardBusy, u"The clipboard cannot be read now.");
  QVariantList arguments{QVariant::fromValue(QDBusUnixFileDescriptor(out.get()))};  // sends a copy
  out.close();
  const bool hasText = service_.call("ReadClipboard", arguments).arguments().value(0).toBool();
  arguments.clear();  // our copy of the pipe's end: the text ends when the shell closes its own
  std::string bytes;
  if (hasText && !posix::readPipe(in.get(), bytes, kOwnerAnswerMs)) {
    throw RuntimeError(err::ClipboardBusy, u"GNOME Shell stopped sending the clipboard's text.");
  }
  return fromUtf8(bytes);
}

bool ShellClipboard::hasText() {
  try {
    return service_.call("ClipboardHasText").arguments().value(0).toBool();
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace pw::gnome
