#pragma once
#include <functional>

#include "platform/application.h"

namespace pw::win {

class WinApplication final : public Application {
 public:
  // `beforeEnd` runs as the process ends, e.g. so that the last saves reach the disk.
  explicit WinApplication(std::function<void()> beforeEnd = {}) : beforeEnd_(std::move(beforeEnd)) {}
  Text path() override;
  Text title() override { return title_; }
  void setTitle(TextView title) override { title_ = title; }
  [[noreturn]] void end() override;
  // A cursor, an icon or a bitmap, through LoadImage.
  Picture loadPicture(TextView path) override;
  // explorer "<address>", minimized; http and https addresses only.
  void openAddress(TextView address) override;

 private:
  Text title_ = u"Pagewick";
  std::function<void()> beforeEnd_;
};

}  // namespace pw::win
