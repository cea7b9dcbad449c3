#include "platform/activationpolicy.h"

#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"

namespace pw {

// Time is counted in the pauses taken, so that a test double's pauses cost nothing.
bool ActivationPolicy::waitUntil(int ms, const auto& done) {
  for (int waited = 0; !done(); waited += timing_.poll) {
    if (waited >= ms) return false;
    system_.pause(timing_.poll);
  }
  return true;
}

void ActivationPolicy::activate(TextView title) {
  target_.reset();  // a failed activation leaves the keys to whatever has the focus
  const auto windows = system_.windows();
  const auto chosen = pickWindow(windows, title);
  if (!chosen) throw RuntimeError(err::WindowNotFound, windowNotFoundDescription(title, windows));
  const Target target{windows[*chosen].handle, windows[*chosen].title, Text(title)};
  bringForward(target);
  target_ = target;
}

void ActivationPolicy::bringForward(const Target& target) {
  const int attempts = system_.raiseAttempts();
  bool focused = false;
  for (int attempt = 0; attempt < attempts && !focused; ++attempt) {
    system_.raise(target.handle, attempt);
    focused = waitUntil(timing_.confirmActivation / attempts, [&] { return system_.hasFocus(target.handle); });
  }
  if (!focused) {
    throw RuntimeError(err::WindowNotFound, windowNotActivatedDescription(target.title, target.wanted,
                                                                          system_.focusedTitle()));
  }
  system_.settleFocus(target.handle);
}

void ActivationPolicy::sendKeys(TextView keys) {
  system_.prepareKeys(keys);  // a fault is told before anything waits
  Text held;
  if (!waitUntil(timing_.modifierRelease, [&] { return (held = system_.heldModifier()).empty(); })) {
    throw RuntimeError(err::InvalidProcedureCall, keyHeldDescription(keys, held));
  }
  // Another window may have taken the focus since: the keys would copy from it.
  if (target_ && !system_.hasFocus(target_->handle)) bringForward(*target_);
  system_.typeKeys(keys);
}

}  // namespace pw
