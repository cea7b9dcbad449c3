#include "platform/controls/pushbutton.h"

#include <QMouseEvent>

namespace pw::controls {

PushButton::PushButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
  setMouseTracking(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Button, Qt::white);
  colours.setColor(QPalette::ButtonText, palette().color(QPalette::ButtonText));
  setPalette(colours);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(11.25);
  font.setBold(true);
  setFont(font);
}

void PushButton::mouseMoveEvent(QMouseEvent* event) {
  const auto buttons = event->buttons();
  const auto mods = event->modifiers();
  const int button = (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                     (buttons & Qt::MiddleButton ? 4 : 0);
  const int shift = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
                    (mods & Qt::AltModifier ? 4 : 0);
  const QPoint at = event->position().toPoint();
  emit pointerMoved(button, shift, at.x(), at.y());
  QPushButton::mouseMoveEvent(event);
}

}  // namespace pw::controls
