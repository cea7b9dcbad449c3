#pragma once
#include <QPushButton>

namespace pw::controls {

// The push button control: a caption, text and back colours and a font of its own. Besides
// clicked() it reports pointer movement over it with the button and shift state and the position.
class PushButton final : public QPushButton {
  Q_OBJECT
 public:
  PushButton(const QString& caption, QWidget* parent);

 signals:
  // button and shift: the bits of members::pointer; position in pixels.
  void pointerMoved(int button, int shift, int x, int y);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace pw::controls
