#pragma once
// The primitives of activation and typing on KDE Plasma: KWin's window management for titles,
// stacking order, state and activation; its fake input for keys. KWin offers both only to a
// program that an installed desktop entry names in X-KDE-Wayland-Interfaces.
#include <memory>
#include <optional>
#include <vector>

#include "platform/windowsystem.h"

struct org_kde_plasma_window_management;
struct org_kde_plasma_window;
struct org_kde_kwin_fake_input;

namespace pw::wayland {
class Connection;
}  // namespace pw::wayland

namespace pw::kwin {

using wayland::Connection;

class KWinWindows final : public WindowSystem, public WindowStacking {
 public:
  static constexpr ActivationTiming kTiming = kCompositorTiming;
  static bool supported(const Connection& connection);
  explicit KWinWindows(Connection& connection);
  ~KWinWindows() override;

  // In KWin's stacking order, topmost first, without our own.
  std::vector<WindowCandidate> windows() override;
  int raiseAttempts() override { return 2; }
  // Restores a minimised window, then activates it; the second attempt asks again.
  void raise(WindowHandle window, int attempt) override;
  bool hasFocus(WindowHandle window) override;
  std::optional<Text> focusedTitle() override;
  void prepareKeys(TextView keys) override;
  // KWin tells no client what keys the user holds; our keys carry their own modifiers.
  Text heldModifier() override { return {}; }
  // Keys go as key codes of a US keyboard: KWin reads them with the user's layout, and browsers
  // take a shortcut such as Ctrl+A from the key's Latin meaning on any layout.
  void typeKeys(TextView keys) override;
  void pause(int ms) override;

  // Our own window, found by our process id: kept above, then activated.
  void makeTopmost(WindowHandle) override;

  struct Window;

 private:
  Window* find(WindowHandle window);
  void adopt(const char* uuid);

  Connection& connection_;
  org_kde_plasma_window_management* management_;
  org_kde_kwin_fake_input* input_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<std::string> stacking_;  // uuids, bottom first
  WindowHandle nextHandle_ = 1;
};

}  // namespace pw::kwin
