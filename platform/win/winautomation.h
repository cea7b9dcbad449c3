#pragma once
#include <vector>

#include "platform/windowautomation.h"
#include "platform/windowmatch.h"

namespace pw::win {

struct WinTiming {
  int confirmActivation = 600;  // ms for the window to become the foreground window
  int focusSettle = 500;        // ms for the focus inside it to settle
  int modifierRelease = 2000;   // ms to wait for the user to let go of Ctrl, Shift or Alt
  int poll = 10;
};

// Other programs' windows through user32: EnumWindows, SetForegroundWindow, SendInput.
class WinAutomation final : public WindowAutomation {
 public:
  explicit WinAutomation(WinTiming timing = {}) : timing_(timing) {}
  void activate(TextView title) override;
  void sendKeys(TextView keys) override;

 private:
  WinTiming timing_;
};

// SetWindowPos to HWND_TOPMOST, keeping position and size; it activates the window too.
class WinStacking final : public WindowStacking {
 public:
  void makeTopmost(WindowHandle window) override;
};

// The top-level windows Alt+Tab offers, topmost first, our own process's left out.
std::vector<WindowCandidate> switchableWindows();

// Whether the program that owns `window` runs with more rights than we do (for example as
// administrator). Windows then drops our synthetic input without a word (UIPI).
bool outranksUs(WindowHandle window);

}  // namespace pw::win
