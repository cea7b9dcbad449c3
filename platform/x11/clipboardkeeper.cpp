// pagewick-clipboard: keeps text on the X clipboard after Pagewick has ended, as a Windows
// clipboard would. Reads the text (UTF-8) from standard input, takes CLIPBOARD, writes "ready"
// to standard output, and serves the text until another program takes the clipboard. Where a
// clipboard manager runs, it hands the text over to it (SAVE_TARGETS) and ends once it has it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kChunk = 64 * 1024;  // larger answers go in pieces (INCR)

struct Transfer {
  Atom property;
  Atom type;
  std::size_t sent = 0;
};

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main() {
  const std::string text(std::istreambuf_iterator<char>(std::cin), {});
  XSetErrorHandler(ignoreErrors);
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const auto atom = [&](const char* name) { return XInternAtom(d, name, False); };
  const Atom clipboard = atom("CLIPBOARD"), targets = atom("TARGETS"), utf8 = atom("UTF8_STRING"),
             plain = atom("text/plain;charset=utf-8"), incr = atom("INCR");
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, clipboard, w, CurrentTime);
  if (XGetSelectionOwner(d, clipboard) != w) return 1;
  std::puts("ready");
  std::fflush(stdout);
  std::fclose(stdout);
  const Atom manager = atom("CLIPBOARD_MANAGER");
  if (XGetSelectionOwner(d, manager) != None) {
    XConvertSelection(d, manager, atom("SAVE_TARGETS"), atom("PAGEWICK_SAVED"), w, CurrentTime);
    XFlush(d);
  }

  std::map<Window, Transfer> transfers;  // pieces still to send, by requestor
  const auto piece = [&](Window requestor, Transfer& t) {
    const std::size_t n = std::min(kChunk, text.size() - t.sent);
    XChangeProperty(d, requestor, t.property, t.type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data() + t.sent), static_cast<int>(n));
    t.sent += n;
    return n;
  };
  for (;;) {
    XEvent event;
    XNextEvent(d, &event);
    if (event.type == SelectionClear) return 0;  // another program has the clipboard now
    if (event.type == SelectionNotify && event.xselection.selection == manager) return 0;  // saved
    if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
      auto it = transfers.find(event.xproperty.window);
      if (it == transfers.end() || event.xproperty.atom != it->second.property) continue;
      if (piece(it->first, it->second) == 0) transfers.erase(it);  // the empty piece ends it
      XFlush(d);
      continue;
    }
    if (event.type != SelectionRequest) continue;
    const XSelectionRequestEvent& request = event.xselectionrequest;
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = request.property ? request.property : request.target;
    if (request.target == targets) {
      const Atom offered[] = {targets, utf8, plain};
      XChangeProperty(d, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered), 3);
    } else if (request.target == utf8 || request.target == plain) {
      Transfer t{reply.property, request.target};
      if (text.size() <= kChunk) {
        piece(request.requestor, t);
      } else {
        const long size = static_cast<long>(text.size());
        XSelectInput(d, request.requestor, PropertyChangeMask);
        XChangeProperty(d, request.requestor, reply.property, incr, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&size), 1);
        transfers[request.requestor] = t;
      }
    } else {
      reply.property = None;
    }
    XSendEvent(d, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(d);
  }
}
