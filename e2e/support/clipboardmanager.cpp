#include "e2e/support/clipboardmanager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <chrono>

namespace pw::e2e {

ClipboardManager::ClipboardManager(const std::string& display) : display_(display) {
  thread_ = std::thread([this] { run(); });
  while (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

ClipboardManager::~ClipboardManager() {
  stop_ = true;
  thread_.join();
}

std::string ClipboardManager::saved() const {
  const std::string* text = saved_.load();
  return text ? *text : std::string();
}

void ClipboardManager::run() {
  Display* d = XOpenDisplay(display_.c_str());
  const auto atom = [&](const char* name) { return XInternAtom(d, name, False); };
  const Atom manager = atom("CLIPBOARD_MANAGER"), save = atom("SAVE_TARGETS"), clipboard = atom("CLIPBOARD"),
             utf8 = atom("UTF8_STRING"), property = atom("MANAGER_DATA");
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, manager, w, CurrentTime);
  XSync(d, False);
  ready_ = true;
  XSelectionRequestEvent pending{};  // the SAVE_TARGETS request being answered
  while (!stop_) {
    if (!XPending(d)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    XEvent event;
    XNextEvent(d, &event);
    if (event.type == SelectionRequest && event.xselectionrequest.selection == manager &&
        event.xselectionrequest.target == save) {
      pending = event.xselectionrequest;
      XConvertSelection(d, clipboard, utf8, property, w, CurrentTime);
    } else if (event.type == SelectionNotify && event.xselection.selection == clipboard) {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      XGetWindowProperty(d, w, property, 0, 1 << 16, True, AnyPropertyType, &type, &format, &count, &after, &data);
      text_.assign(reinterpret_cast<char*>(data), count);
      if (data) XFree(data);
      saved_ = &text_;
      XSetSelectionOwner(d, clipboard, w, CurrentTime);
      owns_ = XGetSelectionOwner(d, clipboard) == w;
      XSelectionEvent reply{SelectionNotify, 0, True, d, pending.requestor, pending.selection, pending.target,
                            pending.property, pending.time};
      XSendEvent(d, pending.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    } else if (event.type == SelectionRequest && event.xselectionrequest.selection == clipboard) {
      const XSelectionRequestEvent& request = event.xselectionrequest;
      XChangeProperty(d, request.requestor, request.property, utf8, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(text_.data()), static_cast<int>(text_.size()));
      XSelectionEvent reply{SelectionNotify, 0, True, d, request.requestor, request.selection, request.target,
                            request.property, request.time};
      XSendEvent(d, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    }
    XFlush(d);
  }
  XCloseDisplay(d);
}

}  // namespace pw::e2e
