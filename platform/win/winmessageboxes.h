#pragma once
#include "platform/application.h"
#include "platform/messageboxes.h"

namespace pw::win {

// MessageBoxW; the styles are Win32's own numbers. The box is owned by the application's main
// window and modal to it.
class WinMessageBoxes final : public MessageBoxes {
 public:
  explicit WinMessageBoxes(Application& app) : app_(app) {}
  int show(TextView prompt, int style, std::optional<Text> title) override;

 private:
  Application& app_;
};

}  // namespace pw::win
