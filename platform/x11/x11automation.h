#pragma once
#include <string>
#include <vector>

#include "platform/windowautomation.h"
#include "platform/windowmatch.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

// Timing of the X11 automation, in milliseconds.
struct X11Timing {
  // How long activation may take before it counts as failed. Measured: 5 to 28 ms.
  int confirmActivation = 500;
  // How long to wait for the user to let go of Ctrl, Shift, Alt or Super before typing.
  int modifierRelease = 2000;
  // How often the two waits above look again.
  int poll = 5;
};

// Finds, activates and types into other programs' windows with Xlib and XTest, on a connection
// of its own. Works with an EWMH window manager and without any.
class X11Automation final : public WindowAutomation {
 public:
  // `displayName` null means $DISPLAY.
  explicit X11Automation(const char* displayName = nullptr, X11Timing timing = {});
  ~X11Automation() override;
  X11Automation(const X11Automation&) = delete;
  X11Automation& operator=(const X11Automation&) = delete;

  void activate(TextView title) override;
  void sendKeys(TextView keys) override;

  // The managed top-level windows that activation chooses from, topmost first, without ours.
  std::vector<WindowCandidate> candidates();
  bool windowManagerRunning();

 private:
  Display* display();
  void requestActivation(unsigned long window, bool viaWindowManager);
  bool hasFocus(unsigned long window);

  Display* display_ = nullptr;
  Text unavailable_;
  X11Timing timing_;
};

}  // namespace pw::x11
