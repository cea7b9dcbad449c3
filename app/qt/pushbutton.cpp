#include "app/qt/pushbutton.h"

#include "app/layout.h"
#include "platform/qtext/qtext.h"

namespace pw::controls {

PushButton::PushButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
  setMouseTracking(true);
  QFont font(toQString(layout::kButtonFont.face));
  font.setPointSizeF(layout::kButtonFont.points);
  font.setBold(layout::kButtonFont.bold);
  setFont(font);
}

void PushButton::mouseMoveEvent(QMouseEvent* event) {
  emit pointerMoved();
  QPushButton::mouseMoveEvent(event);
}

}  // namespace pw::controls
