#pragma once
// Window properties, the window tree and EWMH client messages, on one connection.
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/text.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

// The atoms this backend names, interned in one round trip when the connection opens.
struct Atoms {
  explicit Atoms(Display* display);
  unsigned long utf8String, netWmName, netWmPid, netWmDesktop, netCurrentDesktop, netActiveWindow,
      netSupportingWmCheck, netClientList, netClientListStacking, clipboard, targets, probe;
};

class Properties {
 public:
  explicit Properties(Display* display) : atoms(display), d_(display) {}
  std::optional<unsigned long> window(unsigned long w, unsigned long name);
  std::optional<unsigned long> cardinal(unsigned long w, unsigned long name);
  std::vector<unsigned long> windows(unsigned long w, unsigned long name);
  // _NET_WM_NAME, else WM_NAME; none when the window has neither.
  std::optional<Text> title(unsigned long w);
  // A client message about `w` to the root window, as EWMH asks.
  void sendToRoot(unsigned long w, unsigned long type, std::initializer_list<long> data);
  // The window's children, bottom first, and its parent (none once the root is reached or the
  // window is gone).
  std::vector<unsigned long> children(unsigned long w);
  std::optional<unsigned long> parent(unsigned long w);

  const Atoms atoms;

 private:
  std::vector<unsigned long> longs(unsigned long w, unsigned long name, unsigned long type);
  Display* d_;
};

}  // namespace pw::x11
