#pragma once
#include <string>
#include <vector>

#include "platform/windowsystem.h"
#include "platform/x11/properties.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

// The primitives of activation and typing through Xlib and XTest, on a connection of its own.
// Works with an EWMH window manager and without any.
class X11Windows final : public WindowSystem {
 public:
  // `displayName` null means $DISPLAY.
  explicit X11Windows(const char* displayName = nullptr);
  // A browser takes the focus itself once the window manager offers it: 5 to 28 ms on an idle
  // machine, but a minimised Chromium with both cores busy was seen to need more than 250 ms.
  static constexpr ActivationTiming kTiming{.confirmActivation = 2000, .modifierRelease = 2000, .poll = 1};
  ~X11Windows() override;
  X11Windows(const X11Windows&) = delete;
  X11Windows& operator=(const X11Windows&) = delete;

  // The managed top-level windows, topmost first, without ours.
  std::vector<WindowCandidate> windows() override;
  // Through the window manager (when one runs), then directly with the input focus.
  int raiseAttempts() override { return 2; }
  void raise(WindowHandle window, int attempt) override;
  bool hasFocus(WindowHandle window) override;
  std::optional<Text> focusedTitle() override;
  Text heldModifier() override;
  void prepareKeys(TextView keys) override;
  void typeKeys(TextView keys) override;
  void pause(int ms) override;

  bool windowManagerRunning();

 private:
  Display* display();
  Properties& props();
  template <class Stop>
  void upFromFocus(Stop stop);

  Display* display_ = nullptr;
  std::optional<Properties> props_;
  Text unavailable_;
};

}  // namespace pw::x11
