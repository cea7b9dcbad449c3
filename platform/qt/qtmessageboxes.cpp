#include "platform/qt/qtmessageboxes.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include "platform/controls/qtext.h"

namespace pw::qt {
namespace {

void logBox(const QString& title, const QString& prompt) {
  const QString path = qEnvironmentVariable("PAGEWICK_MESSAGE_LOG");
  if (path.isEmpty()) return;
  QFile log(path);
  if (log.open(QIODevice::Append)) log.write((title + QChar(0x1F) + prompt + QChar(0x1E)).toUtf8());
}

}  // namespace

int QtMessageBoxes::show(TextView prompt, int style, std::optional<Text> title) {
  const QString caption = toQString(title ? *title : app_.title());
  QString shown = toQString(prompt);
  // Windows line breaks in the prompt: CR LF and a lone CR both start a new line.
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));

  QMessageBox box(style == mb::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, caption, shown);
  box.setTextFormat(Qt::PlainText);
  if (style == mb::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  logBox(caption, toQString(prompt));
  const int answer = box.exec();
  if (answer == QMessageBox::Yes) return mb::AnswerYes;
  if (answer == QMessageBox::No) return mb::AnswerNo;
  return mb::AnswerOk;
}

}  // namespace pw::qt
