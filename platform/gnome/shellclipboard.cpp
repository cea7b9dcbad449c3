#include "platform/gnome/shellclipboard.h"

#include "platform/runtimeerror.h"

namespace pw::gnome {

void ShellClipboard::clear() { service_.call("SetClipboard", {QByteArray()}); }

void ShellClipboard::setText(TextView text, std::optional<int> format) {
  checkTextFormat(format);
  service_.call("SetClipboard", {QByteArray::fromStdString(toUtf8(text))});
}

Text ShellClipboard::text(std::optional<int> format) {
  checkTextFormat(format);
  const QByteArray bytes = service_.call("GetClipboard").arguments().value(1).toByteArray();
  return fromUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool ShellClipboard::hasText() {
  try {
    const QVariantList reply = service_.call("GetClipboard").arguments();
    return reply.value(0).toBool() && !reply.value(1).toByteArray().isEmpty();
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace pw::gnome
