#include "app/controls/commondialog.h"

#include "app/controls/members.h"

namespace pw::controls {
namespace {

constexpr char16_t kName[] = u"The file dialog";

const Variant& onlyArgument(const std::vector<Variant>& args) {
  if (args.size() != 1) wrongArgumentCount(u"a file dialog property");
  return args.front();
}

}  // namespace

Variant CommonDialog::invoke(int id, Invoke kind, const std::vector<Variant>& args) {
  using namespace members::dialog;
  const auto property = [&](auto& field, auto convert) -> Variant {
    if (kind == Invoke::PropertyGet) return field;
    if (kind != Invoke::PropertyPut) noSuchMember(kName, id);
    field = convert(onlyArgument(args));
    return {};
  };
  switch (id) {
    case FileName: return property(fileName_, toText);
    case DialogTitle: return property(title_, toText);
    case Filter: return property(filter_, toText);
    case Flags: return property(flags_, toInt32);
    case ShowSave:
      if (kind != Invoke::Method) noSuchMember(kName, id);
      if (auto chosen = dialog_.show({owner_ ? owner_() : 0, title_, filter_, fileName_, flags_})) {
        fileName_ = std::move(*chosen);
      }
      return {};
    default: noSuchMember(kName, id);
  }
}

}  // namespace pw::controls
