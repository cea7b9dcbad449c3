#include "platform/x11/selectionprobe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include "platform/x11/properties.h"

namespace pw::x11 {
namespace {

constexpr auto kRememberSilence = std::chrono::seconds(2);

}  // namespace

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
  const auto now = std::chrono::steady_clock::now();
  if (owner == silentOwner_ && now - silentSince_ < kRememberSilence) return OwnerState::Silent;

  const Atom property = atoms_->probe;
  XConvertSelection(display_, clipboard, atoms_->targets, property, window_, CurrentTime);
  XFlush(display_);
  const auto deadline = now + std::chrono::milliseconds(answerMs_);
  for (;;) {
    XEvent event;
    while (XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event)) {
      XDeleteProperty(display_, window_, property);
      return OwnerState::Answers;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd wait{ConnectionNumber(display_), POLLIN, 0};
    ::poll(&wait, 1, static_cast<int>(left.count()));
    XEventsQueued(display_, QueuedAfterReading);
  }
  silentOwner_ = owner;
  silentSince_ = std::chrono::steady_clock::now();
  return OwnerState::Silent;
}

}  // namespace pw::x11
