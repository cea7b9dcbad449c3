#include "platform/controls/commondialog.h"

#include "platform/runtimeerror.h"
#include "platform/savedialog.h"

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
  const WindowHandle owner = owner_ ? static_cast<WindowHandle>(owner_->winId()) : 0;
  if (auto chosen = showSaveDialog({owner, title_, filter_, fileName_, flags_})) fileName_ = std::move(*chosen);
}

}  // namespace pw::controls
