#pragma once
// Bringing a browser's window forward and typing into it: one policy over the primitives each
// window system offers.
#include <optional>

#include "platform/windowautomation.h"
#include "platform/windowsystem.h"

namespace pw {

// List the windows, pick one by the title rule, bring it forward by one attempt and then the next
// until it has the focus, and type only once the user's modifier keys are up and only into the
// window brought forward: one that lost the focus meanwhile is brought forward again first. Each
// failure says what was expected and what was found.
class ActivationPolicy final : public WindowAutomation {
 public:
  ActivationPolicy(WindowSystem& system, ActivationTiming timing) : system_(system), timing_(timing) {}
  void activate(TextView title) override;
  void sendKeys(TextView keys) override;

 private:
  struct Target {
    WindowHandle handle;
    Text title;   // the window's
    Text wanted;  // what it was found for
  };
  bool waitUntil(int ms, const auto& done);
  // Brings `target` forward by each attempt in turn until it has the focus; throws when none does.
  void bringForward(const Target& target);
  WindowSystem& system_;
  ActivationTiming timing_;
  std::optional<Target> target_;  // the window last brought forward, while keys are for it
};

}  // namespace pw
