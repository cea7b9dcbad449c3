#include "app/controls/pushbutton.h"

#include <QMouseEvent>

#include "app/controls/members.h"
#include "app/layout.h"
#include "platform/qtext.h"

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
  QFont font(toQString(layout::kButtonFont.face));
  font.setPointSizeF(layout::kButtonFont.points);
  font.setBold(layout::kButtonFont.bold);
  setFont(font);
}

void PushButton::mouseMoveEvent(QMouseEvent* event) {
  const auto buttons = event->buttons();
  const auto mods = event->modifiers();
  using namespace members::pointer;
  const int button = (buttons & Qt::LeftButton ? Left : 0) | (buttons & Qt::RightButton ? Right : 0) |
                     (buttons & Qt::MiddleButton ? Middle : 0);
  const int shift = (mods & Qt::ShiftModifier ? ShiftKey : 0) | (mods & Qt::ControlModifier ? CtrlKey : 0) |
                    (mods & Qt::AltModifier ? AltKey : 0);
  const QPoint at = event->position().toPoint();
  emit pointerMoved(button, shift, at.x(), at.y());
  QPushButton::mouseMoveEvent(event);
}

}  // namespace pw::controls
