#include "platform/qt/qtmessageboxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/qtext/qtext.h"

namespace pw::qt {
int QtMessageBoxes::show(TextView prompt, int style, std::optional<Text> title) {
  const QString caption = toQString(title ? *title : app_.title());
  QString shown = toQString(prompt);
  // Windows line breaks in the prompt: CR LF and a lone CR both start a new line.
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));

  // Owned by the main window: transient for it, so that the window manager keeps the box above a
  // window that is kept above the others, whichever program is active when the box opens.
  QMessageBox box(style == mb::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, caption, shown,
                  QMessageBox::NoButton, QWidget::find(static_cast<WId>(app_.mainWindow())));
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
