#include "app/controls/skinframework.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QWidget>

#include "app/controls/members.h"
#include "platform/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::controls {
namespace {

constexpr char16_t kName[] = u"The skin control";

}  // namespace

Variant SkinFramework::invoke(int id, Invoke kind, const std::vector<Variant>& args) {
  const auto argument = [&](std::size_t i) -> const Variant& {
    if (args.size() <= i) wrongArgumentCount(u"the skin control");
    return args[i];
  };
  using namespace members::skin;
  switch (id) {
    case LoadSkin:
      if (kind != Invoke::Method) noSuchMember(kName, id);
      load(toText(argument(0)));
      return {};
    case ApplyOptions:
      if (kind == Invoke::PropertyGet) return options_;
      if (kind != Invoke::PropertyPut) noSuchMember(kName, id);
      options_ = toInt32(argument(0));
      return {};
    case SkinDialogs:
    case UseFusionStyle: {
      bool& flag = id == SkinDialogs ? dialogs_ : fusion_;
      if (kind == Invoke::PropertyGet) return flag;
      if (kind != Invoke::PropertyPut) noSuchMember(kName, id);
      flag = toBool(argument(0));
      return {};
    }
    case ApplyWindow:
      if (kind != Invoke::Method) noSuchMember(kName, id);
      apply(toInt32(argument(0)));
      return {};
    default: noSuchMember(kName, id);
  }
}

void SkinFramework::load(const Text& path) {
  QFile file(toQString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    throw RuntimeError(err::PathFileAccess, u"The skin \"" + path + u"\" cannot be read: " + fromQString(file.errorString()) + u".");
  }
  sheet_ = QString::fromUtf8(file.readAll());
  loaded_ = true;
}

void SkinFramework::apply(std::int32_t handle) {
  if (!loaded_) throw RuntimeError(err::InvalidProcedureCall, u"No skin is loaded.");
  QWidget* window = QWidget::find(static_cast<WId>(static_cast<std::uint32_t>(handle)));
  if (!window) throw RuntimeError(err::InvalidProcedureCall, u"The skin cannot find the window " + number(handle) + u".");
  if (fusion_) {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
  }
  if (!(options_ & members::skin::DrawSkin)) return;
  window->setStyleSheet(sheet_);
  if (dialogs_) qApp->setStyleSheet(sheet_);
}

}  // namespace pw::controls
