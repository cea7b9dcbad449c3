#pragma once
#include "platform/windowautomation.h"

namespace pw::win {

// SetWindowPos to HWND_TOPMOST, keeping position and size; it activates the window too.
class WinStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

}  // namespace pw::win
