#pragma once
#include <functional>

#include "platform/application.h"
#include "platform/windowautomation.h"

namespace pw::qt {

class QtApplication final : public ApplicationBase {
 public:
  explicit QtApplication(std::function<void()> beforeEnd = {}) : ApplicationBase(std::move(beforeEnd)) {}
  Text path() override;
  [[noreturn]] void end() override;
  Picture loadPicture(TextView path) override;
  void openAddress(TextView address) override;
};

// Keeps one of our own windows above the others through Qt, so that Qt's idea of the window's
// flags stays true. QWidget::setWindowFlag would recreate the native window; this does not.
class QtStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

}  // namespace pw::qt
