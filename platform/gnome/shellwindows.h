#pragma once
// The primitives of activation and typing on GNOME, through Pagewick's shell extension: its list
// of windows in stacking order, activation with a fresh timestamp, and a virtual keyboard that
// takes US key codes and reads them with the user's layout.
#include "platform/windowsystem.h"
#include "platform/gnome/shellservice.h"

namespace pw::gnome {

class ShellWindows final : public WindowSystem, public WindowStacking {
 public:
  static constexpr ActivationTiming kTiming{.confirmActivation = 1000, .modifierRelease = 0, .poll = 1};
  explicit ShellWindows(ShellService service = ShellService()) : service_(std::move(service)) {}

  // Normal windows, topmost first, without our own (by our process id).
  std::vector<WindowCandidate> windows() override;
  int raiseAttempts() override { return 2; }
  // Restores a minimised window, then activates it; the second attempt asks again.
  void raise(WindowHandle window, int attempt) override;
  bool hasFocus(WindowHandle window) override;
  std::optional<Text> focusedTitle() override;
  void prepareKeys(TextView keys) override;
  // The shell tells no client what keys the user holds; our keys carry their own modifiers.
  Text heldModifier() override { return {}; }
  void typeKeys(TextView keys) override;
  void pause(int ms) override;

  // Our own windows kept above, found by the extension from our process id.
  void makeTopmost(WindowHandle) override;

  // Every window, dialogs and our own too, topmost first.
  struct Listed {
    WindowHandle id;
    Text title;
    bool normal;
    unsigned pid;
  };
  std::vector<Listed> list();

 private:
  WindowHandle focused();

  ShellService service_;
};

}  // namespace pw::gnome
