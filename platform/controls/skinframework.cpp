#include "platform/controls/skinframework.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QWidget>

#include "platform/controls/qtext.h"
#include "platform/runtimeerror.h"

namespace pw::controls {
namespace {

[[noreturn]] void unknownMember(int id) {
  throw RuntimeError(438, u"The skin control has no member with dispatch id " + number(id) + u".");
}

}  // namespace

Variant SkinFramework::invoke(int id, Invoke kind, const std::vector<Variant>& args) {
  const auto argument = [&](std::size_t i) -> const Variant& {
    if (args.size() <= i) throw RuntimeError(450, u"Wrong number of arguments for the skin control.");
    return args[i];
  };
  switch (id) {
    case LoadSkin:
      if (kind != Invoke::Method) unknownMember(id);
      load(toText(argument(0)));
      return {};
    case ApplyOptions:
      if (kind == Invoke::PropertyGet) return options_;
      if (kind != Invoke::PropertyPut) unknownMember(id);
      options_ = toInt32(argument(0));
      return {};
    case SkinDialogs:
    case UseFusionStyle: {
      bool& flag = id == SkinDialogs ? dialogs_ : fusion_;
      if (kind == Invoke::PropertyGet) return flag;
      if (kind != Invoke::PropertyPut) unknownMember(id);
      flag = toBool(argument(0));
      return {};
    }
    case ApplyWindow:
      if (kind != Invoke::Method) unknownMember(id);
      apply(toInt32(argument(0)));
      return {};
    default: unknownMember(id);
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
  if (!(options_ & 1)) return;
  window->setStyleSheet(sheet_);
  if (dialogs_) qApp->setStyleSheet(sheet_);
}

}  // namespace pw::controls
