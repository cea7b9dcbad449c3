#pragma once
#include "platform/windowautomation.h"

namespace pw::qt {

// Keeps one of our own windows above the others through Qt, so that Qt's idea of the window's
// flags stays true. QWidget::setWindowFlag would recreate the native window; this does not.
class QtStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

}  // namespace pw::qt
