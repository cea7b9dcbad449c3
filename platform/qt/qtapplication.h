#pragma once
#include "platform/application.h"
#include "platform/windowautomation.h"

namespace pw::qt {

class QtApplication final : public Application {
 public:
  Text path() override;
  Text title() override { return title_; }
  void setTitle(TextView title) override { title_ = title; }
  [[noreturn]] void end() override;
  Picture loadPicture(TextView path) override;
  void openAddress(TextView address) override;

 private:
  Text title_ = u"Pagewick";
};

// Keeps one of our own windows above the others through Qt, so that Qt's idea of the window's
// flags stays true. QWidget::setWindowFlag would recreate the native window; this does not.
class QtStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

}  // namespace pw::qt
