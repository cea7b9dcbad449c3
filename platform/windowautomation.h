#pragma once
#include <cstdint>

#include "platform/text.h"

namespace pw {

// Native handle of a top-level window: an X11 window id or an HWND.
using WindowHandle = std::uintptr_t;

// Drives other programs' windows. Every call fails with a RuntimeError that says what was looked for.
class WindowAutomation {
 public:
  virtual ~WindowAutomation() = default;
  // Brings the top-level window whose title is, starts with or ends with `title` to the front and
  // returns once it is the foreground window with the input focus.
  virtual void activate(TextView title) = 0;
  // Types `keys` (keystroke notation: ^ Ctrl, + Shift, % Alt, {NAME}) into the foreground window.
  virtual void sendKeys(TextView keys) = 0;
};

// Our own windows' place in the stacking order.
class WindowStacking {
 public:
  virtual ~WindowStacking() = default;
  // Keeps `window` above ordinary windows from now on and activates it. Never fails.
  virtual void makeTopmost(WindowHandle window) = 0;
};

}  // namespace pw
