#pragma once
#include <functional>

#include "platform/application.h"
#include "platform/windowautomation.h"

namespace pw::qt {

class QtApplication final : public Application {
 public:
  // `beforeEnd` runs as the process ends, e.g. to hand the clipboard's text to another program.
  explicit QtApplication(std::function<void()> beforeEnd = {}) : beforeEnd_(std::move(beforeEnd)) {}
  Text path() override;
  Text title() override { return title_; }
  void setTitle(TextView title) override { title_ = title; }
  [[noreturn]] void end() override;
  Picture loadPicture(TextView path) override;
  void openAddress(TextView address) override;

 private:
  Text title_ = u"Pagewick";
  std::function<void()> beforeEnd_;
};

// Keeps one of our own windows above the others through Qt, so that Qt's idea of the window's
// flags stays true. QWidget::setWindowFlag would recreate the native window; this does not.
class QtStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

}  // namespace pw::qt
