#include "platform/qt/qtsavedialog.h"

#include <QFileDialog>

#include "platform/qt/dialogfilter.h"
#include "platform/qtext/qtext.h"

namespace pw::qt {

std::optional<Text> QtSaveDialog::show(const SaveDialogRequest& request) {
  QWidget* owner = request.owner ? QWidget::find(static_cast<WId>(request.owner)) : nullptr;
  QFileDialog dialog(owner, toQString(request.title), QString(), dialogFilterToQt(toQString(request.filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & kOverwritePrompt));
  if (!request.fileName.empty()) dialog.selectFile(toQString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return fromQString(dialog.selectedFiles().front());
}

}  // namespace pw::qt
