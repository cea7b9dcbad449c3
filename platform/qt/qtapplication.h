#pragma once
#include <functional>

#include "platform/application.h"

namespace pw::qt {

class QtApplication final : public ApplicationBase {
 public:
  explicit QtApplication(std::function<void()> beforeEnd = {}) : ApplicationBase(std::move(beforeEnd)) {}
  Text path() override;
  [[noreturn]] void end() override;
  Picture loadPicture(TextView path) override;
  void openAddress(TextView address) override;
};

}  // namespace pw::qt
