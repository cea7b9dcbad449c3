#include "platform/qt/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qtext/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::qt {
namespace {

QClipboard& board() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) throw RuntimeError(err::ServiceUnavailable, u"The clipboard is not available.");
  return *clipboard;
}

}  // namespace

void QtClipboard::clear() { board().clear(); }

void QtClipboard::setText(TextView text, std::optional<int> format) {
  checkTextFormat(format);
  board().setText(toQString(text));
}

Text QtClipboard::text(std::optional<int> format) {
  checkTextFormat(format);
  return board().text().toStdU16String();
}

bool QtClipboard::hasText() {
  const QMimeData* data = board().mimeData();
  return data && data->hasText();
}

}  // namespace pw::qt

namespace pw::qt {

bool QtClipboard::ownsClipboard() const {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard && clipboard->ownsClipboard();
}

}  // namespace pw::qt
