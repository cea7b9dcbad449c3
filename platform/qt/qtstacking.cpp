#include "platform/qt/qtstacking.h"

#include <QGuiApplication>
#include <QWindow>

namespace pw::qt {

void QtStacking::makeTopmost(WindowHandle handle) {
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    if (window->handle() && window->winId() == handle) {
      window->setFlags(window->flags() | Qt::WindowStaysOnTopHint);
      window->raise();
      window->requestActivate();
      return;
    }
  }
}

}  // namespace pw::qt
