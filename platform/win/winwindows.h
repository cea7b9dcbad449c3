#pragma once
#include <vector>

#include "platform/windowsystem.h"

namespace pw::win {

// The primitives of activation and typing through user32: EnumWindows, SetForegroundWindow,
// SendInput.
class WinWindows final : public WindowSystem {
 public:
  static constexpr ActivationTiming kTiming{.confirmActivation = 600, .modifierRelease = 2000, .poll = 10};
  // How long the focus inside a window just activated may take to reach its control.
  static constexpr int kSettleFocusMs = 500;
  std::vector<WindowCandidate> windows() override;
  // SetForegroundWindow; then with our input attached to the foreground thread's; then after
  // an Alt press, which counts as the user's input.
  int raiseAttempts() override { return 3; }
  void raise(WindowHandle window, int attempt) override;
  bool hasFocus(WindowHandle window) override;
  std::optional<Text> focusedTitle() override;
  void settleFocus(WindowHandle window) override;
  Text heldModifier() override;
  void prepareKeys(TextView keys) override;
  void typeKeys(TextView keys) override;
  void pause(int ms) override;
};

// The top-level windows Alt+Tab offers, topmost first, our own process's left out.
std::vector<WindowCandidate> switchableWindows();

// Whether the program that owns `window` runs with more rights than we do (for example as
// administrator). Windows then drops our synthetic input without a word (UIPI).
bool outranksUs(WindowHandle window);

}  // namespace pw::win
