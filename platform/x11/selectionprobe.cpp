#include "platform/x11/selectionprobe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>

#include "platform/x11/properties.h"

namespace pw::x11 {

SelectionProbe::SelectionProbe(int answerMs) : answerMs_(answerMs) {
  display_ = XOpenDisplay(nullptr);
  if (!display_) return;
  window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
  atoms_.emplace(display_);
}

SelectionProbe::~SelectionProbe() {
  if (display_) XCloseDisplay(display_);
}

OwnerState SelectionProbe::clipboardOwner() {
  if (!display_) return OwnerState::Answers;  // nothing to ask with: let the caller try
  const Atom clipboard = atoms_->clipboard;
  const Window owner = XGetSelectionOwner(display_, clipboard);
  if (owner == None) return OwnerState::NoOwner;
  if (owner == silentOwner_) {
    // Its question is still out: an answer now means it was only busy.
    if (!answered(0)) return OwnerState::Silent;
    silentOwner_ = 0;
    return OwnerState::Answers;
  }
  XConvertSelection(display_, clipboard, atoms_->targets, atoms_->probe, window_, CurrentTime);
  XFlush(display_);
  if (answered(answerMs_)) return OwnerState::Answers;
  silentOwner_ = owner;
  return OwnerState::Silent;
}

bool SelectionProbe::answered(int waitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    XEventsQueued(display_, QueuedAfterReading);
    XEvent event;
    if (XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event)) {
      XDeleteProperty(display_, window_, atoms_->probe);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd wait{ConnectionNumber(display_), POLLIN, 0};
    ::poll(&wait, 1, static_cast<int>(left.count()));
  }
}

}  // namespace pw::x11
