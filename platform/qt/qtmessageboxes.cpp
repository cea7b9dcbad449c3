#include "platform/qt/qtmessageboxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/qtext.h"

namespace pw::qt {
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
  const int answer = box.exec();
  if (answer == QMessageBox::Yes) return mb::AnswerYes;
  if (answer == QMessageBox::No) return mb::AnswerNo;
  return mb::AnswerOk;
}

}  // namespace pw::qt
