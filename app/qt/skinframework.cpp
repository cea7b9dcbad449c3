#include "app/qt/skinframework.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>

namespace pw::controls {

bool SkinFramework::dress(WindowHandle handle, const Dress& dress) {
  QWidget* window = QWidget::find(static_cast<WId>(handle));
  if (!window) return false;
  if (dress.fusion) {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
  }
  if (!dress.draw) return true;
  const QString sheet = QString::fromUtf8(dress.sheet.data(), static_cast<qsizetype>(dress.sheet.size()));
  window->setStyleSheet(sheet);
  if (dress.dialogs) qApp->setStyleSheet(sheet);
  return true;
}

}  // namespace pw::controls
