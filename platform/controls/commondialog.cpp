#include "platform/controls/commondialog.h"

#include <QFileDialog>

#include "platform/controls/dialogfilter.h"
#include "platform/controls/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::controls {
namespace {

[[noreturn]] void unknownMember(int id) {
  throw RuntimeError(438, u"The file dialog has no member with dispatch id " + number(id) + u".");
}

const Variant& onlyArgument(const std::vector<Variant>& args) {
  if (args.size() != 1) throw RuntimeError(450, u"Wrong number of arguments for a file dialog property.");
  return args.front();
}

}  // namespace

Variant CommonDialog::invoke(int id, Invoke kind, const std::vector<Variant>& args) {
  const auto property = [&](auto& field, auto convert) -> Variant {
    if (kind == Invoke::PropertyGet) return field;
    if (kind != Invoke::PropertyPut) unknownMember(id);
    field = convert(onlyArgument(args));
    return {};
  };
  switch (id) {
    case FileName: return property(fileName_, toText);
    case DialogTitle: return property(title_, toText);
    case Filter: return property(filter_, toText);
    case Flags: return property(flags_, toInt32);
    case ShowSave:
      if (kind != Invoke::Method) unknownMember(id);
      showSave();
      return {};
    default: unknownMember(id);
  }
}

void CommonDialog::showSave() {
  // Qt's own dialog, so that it looks and behaves alike on every desktop, tests included.
  QFileDialog dialog(owner_, toQString(title_), QString(), dialogFilterToQt(toQString(filter_)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(flags_ & kOverwritePrompt));
  if (!fileName_.empty()) dialog.selectFile(toQString(fileName_));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    fileName_ = fromQString(dialog.selectedFiles().front());
  }
}

}  // namespace pw::controls
