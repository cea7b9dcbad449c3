#pragma once
#include <functional>

#include "platform/messageboxes.h"

namespace pw::win {

// MessageBoxW; the styles are Win32's own numbers. The box is modal to our active window.
class WinMessageBoxes final : public MessageBoxes {
 public:
  // `defaultTitle` gives the application's title, read when a box has no title of its own.
  explicit WinMessageBoxes(std::function<Text()> defaultTitle) : defaultTitle_(std::move(defaultTitle)) {}
  int show(TextView prompt, int style, std::optional<Text> title) override;

 private:
  std::function<Text()> defaultTitle_;
};

}  // namespace pw::win
