#include <QFileDialog>

#include "platform/controls/dialogfilter.h"
#include "platform/controls/qtext.h"
#include "platform/savedialog.h"

namespace pw {

std::optional<Text> showSaveDialog(const SaveDialogRequest& request) {
  // Qt's own dialog, so that it looks and behaves alike on every desktop, tests included.
  QWidget* owner = request.owner ? QWidget::find(static_cast<WId>(request.owner)) : nullptr;
  QFileDialog dialog(owner, toQString(request.title), QString(), controls::dialogFilterToQt(toQString(request.filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & kOverwritePrompt));
  if (!request.fileName.empty()) dialog.selectFile(toQString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return fromQString(dialog.selectedFiles().front());
}

}  // namespace pw
