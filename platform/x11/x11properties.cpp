#include "platform/x11/x11properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pw::x11 {
namespace {

constexpr long kMaxLongs = 1 << 16;  // 256 KB of title or window list is plenty

Text latin1(const unsigned char* bytes, std::size_t n) { return Text(bytes, bytes + n); }

}  // namespace

std::vector<unsigned long> Properties::longs(unsigned long w, const char* name, unsigned long type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> out;
  if (XGetWindowProperty(d_, w, XInternAtom(d_, name, False), 0, kMaxLongs, False, type, &actual,
                         &format, &count, &after, &data) == Success &&
      data && actual == type && format == 32) {
    const auto* items = reinterpret_cast<const unsigned long*>(data);  // Xlib hands out longs
    out.assign(items, items + count);
  }
  if (data) XFree(data);
  return out;
}

std::optional<unsigned long> Properties::window(unsigned long w, const char* name) {
  auto v = longs(w, name, XA_WINDOW);
  return v.empty() ? std::nullopt : std::optional(v.front());
}

std::optional<unsigned long> Properties::cardinal(unsigned long w, const char* name) {
  auto v = longs(w, name, XA_CARDINAL);
  return v.empty() ? std::nullopt : std::optional(v.front());
}

std::vector<unsigned long> Properties::windows(unsigned long w, const char* name) {
  return longs(w, name, XA_WINDOW);
}

std::optional<Text> Properties::title(unsigned long w) {
  const Atom utf8 = XInternAtom(d_, "UTF8_STRING", False);
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<Text> result;
  if (XGetWindowProperty(d_, w, XInternAtom(d_, "_NET_WM_NAME", False), 0, kMaxLongs, False, utf8,
                         &actual, &format, &count, &after, &data) == Success &&
      data && actual == utf8 && format == 8) {
    result = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), count));
  }
  if (data) XFree(data);
  if (result) return result;

  XTextProperty prop{};
  if (!XGetWMName(d_, w, &prop) || !prop.value) return std::nullopt;
  if (prop.encoding == XA_STRING) {
    result = latin1(prop.value, prop.nitems);
  } else if (prop.encoding == utf8) {
    result = fromUtf8(std::string_view(reinterpret_cast<const char*>(prop.value), prop.nitems));
  } else {
    char** list = nullptr;
    int n = 0;
    if (Xutf8TextPropertyToTextList(d_, &prop, &list, &n) >= Success && list) {
      result = n > 0 ? fromUtf8(list[0]) : Text();
      XFreeStringList(list);
    }
  }
  XFree(prop.value);
  return result;
}

void Properties::sendToRoot(unsigned long w, const char* type, std::initializer_list<long> data) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = XInternAtom(d_, type, False);
  event.xclient.format = 32;
  int i = 0;
  for (long value : data) event.xclient.data.l[i++] = value;
  XSendEvent(d_, DefaultRootWindow(d_), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace pw::x11
