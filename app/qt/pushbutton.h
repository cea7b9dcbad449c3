#pragma once
#include <QPushButton>

namespace pw::controls {

// The push button control: a caption, text and back colours and a font of its own. Besides
// clicked() it reports the pointer moving over it.
class PushButton final : public QPushButton {
  Q_OBJECT
 public:
  PushButton(const QString& caption, QWidget* parent);

 signals:
  void pointerMoved();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace pw::controls
