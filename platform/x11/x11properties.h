#pragma once
// Reading window properties and sending EWMH client messages.
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/text.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

class Properties {
 public:
  explicit Properties(Display* display) : d_(display) {}
  std::optional<unsigned long> window(unsigned long w, const char* name);
  std::optional<unsigned long> cardinal(unsigned long w, const char* name);
  std::vector<unsigned long> windows(unsigned long w, const char* name);
  // _NET_WM_NAME, else WM_NAME; none when the window has neither.
  std::optional<Text> title(unsigned long w);
  // A client message about `w` to the root window, as EWMH asks.
  void sendToRoot(unsigned long w, const char* type, std::initializer_list<long> data);

 private:
  std::vector<unsigned long> longs(unsigned long w, const char* name, unsigned long type);
  Display* d_;
};

}  // namespace pw::x11
