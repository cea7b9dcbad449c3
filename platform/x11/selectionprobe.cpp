#include "platform/x11/selectionprobe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace pw::x11 {
namespace {

constexpr auto kRememberSilence = std::chrono::seconds(2);

}  // namespace

SelectionProbe::SelectionProbe(int answerMs) : answerMs_(answerMs) {
  display_ = XOpenDisplay(nullptr);
  if (display_) window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
}

SelectionProbe::~SelectionProbe() {
  if (display_) XCloseDisplay(display_);
}

OwnerState SelectionProbe::clipboardOwner() {
  if (!display_) return OwnerState::Answers;  // nothing to ask with: let the caller try
  const Atom clipboard = XInternAtom(display_, "CLIPBOARD", False);
  const Window owner = XGetSelectionOwner(display_, clipboard);
  if (owner == None) return OwnerState::NoOwner;
  const auto now = std::chrono::steady_clock::now();
  if (owner == silentOwner_ && now - silentSince_ < kRememberSilence) return OwnerState::Silent;

  const Atom property = XInternAtom(display_, "PAGEWICK_PROBE", False);
  XConvertSelection(display_, clipboard, XInternAtom(display_, "TARGETS", False), property, window_, CurrentTime);
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
