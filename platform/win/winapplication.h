#pragma once
#include <functional>

#include "platform/application.h"

namespace pw::win {

class WinApplication final : public ApplicationBase {
 public:
  explicit WinApplication(std::function<void()> beforeEnd = {}) : ApplicationBase(std::move(beforeEnd)) {}
  Text path() override;
  [[noreturn]] void end() override;
  // A cursor, an icon or a bitmap, through LoadImage.
  Picture loadPicture(TextView path) override;
  // explorer "<address>", minimized; http and https addresses only.
  void openAddress(TextView address) override;
};

}  // namespace pw::win
