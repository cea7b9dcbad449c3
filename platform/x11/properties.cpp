#include "platform/x11/properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <iterator>
#include <memory>

namespace pw::x11 {
namespace {

constexpr long kMaxLongs = 1 << 16;  // 256 KB of title or window list is plenty

struct XFreer {
  void operator()(void* p) const { XFree(p); }
};
template <class T>
using XOwned = std::unique_ptr<T, XFreer>;

// One property's value as the server hands it out, freed with the reader.
struct PropertyReader {
  PropertyReader(Display* d, Window w, Atom name, Atom type) {
    unsigned char* bytes = nullptr;
    if (XGetWindowProperty(d, w, name, 0, kMaxLongs, False, type, &actual, &format, &count, &after, &bytes) !=
        Success) {
      bytes = nullptr;
    }
    data.reset(bytes);
  }
  bool holds(Atom type, int bits) const { return data && actual == type && format == bits; }
  std::string_view text() const { return {reinterpret_cast<const char*>(data.get()), count}; }

  XOwned<unsigned char> data;
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
};

Text latin1(const unsigned char* bytes, std::size_t n) { return Text(bytes, bytes + n); }

// XQueryTree's answer; the child list is freed with it.
struct Tree {
  Window root = 0, parent = 0;
  XOwned<Window> children;
  unsigned count = 0;
  bool ok = false;
};

Tree queryTree(Display* d, Window w) {
  Tree tree;
  Window* children = nullptr;
  tree.ok = XQueryTree(d, w, &tree.root, &tree.parent, &children, &tree.count);
  tree.children.reset(children);
  return tree;
}

}  // namespace

Atoms::Atoms(Display* d) {
  // In the order of the fields.
  const char* names[] = {"UTF8_STRING", "_NET_WM_NAME", "_NET_WM_PID", "_NET_WM_DESKTOP", "_NET_CURRENT_DESKTOP",
                         "_NET_ACTIVE_WINDOW", "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST",
                         "_NET_CLIENT_LIST_STACKING", "CLIPBOARD", "TARGETS", "PAGEWICK_PROBE"};
  unsigned long* fields[] = {&utf8String, &netWmName, &netWmPid, &netWmDesktop, &netCurrentDesktop,
                             &netActiveWindow, &netSupportingWmCheck, &netClientList, &netClientListStacking,
                             &clipboard, &targets, &probe};
  static_assert(std::size(names) == std::size(fields));
  Atom atoms[std::size(names)] = {};
  XInternAtoms(d, const_cast<char**>(names), static_cast<int>(std::size(names)), False, atoms);
  for (std::size_t i = 0; i < std::size(names); ++i) *fields[i] = atoms[i];
}

std::vector<unsigned long> Properties::longs(unsigned long w, unsigned long name, unsigned long type) {
  const PropertyReader value(d_, w, name, type);
  if (!value.holds(type, 32)) return {};
  const auto* items = reinterpret_cast<const unsigned long*>(value.data.get());  // Xlib hands out longs
  return {items, items + value.count};
}

std::optional<unsigned long> Properties::window(unsigned long w, unsigned long name) {
  auto v = longs(w, name, XA_WINDOW);
  return v.empty() ? std::nullopt : std::optional(v.front());
}

std::optional<unsigned long> Properties::cardinal(unsigned long w, unsigned long name) {
  auto v = longs(w, name, XA_CARDINAL);
  return v.empty() ? std::nullopt : std::optional(v.front());
}

std::vector<unsigned long> Properties::windows(unsigned long w, unsigned long name) {
  return longs(w, name, XA_WINDOW);
}

std::optional<Text> Properties::title(unsigned long w) {
  if (const PropertyReader name(d_, w, atoms.netWmName, atoms.utf8String); name.holds(atoms.utf8String, 8)) {
    return fromUtf8(name.text());
  }
  XTextProperty prop{};
  if (!XGetWMName(d_, w, &prop) || !prop.value) return std::nullopt;
  const XOwned<unsigned char> owned(prop.value);
  const std::string_view bytes(reinterpret_cast<const char*>(prop.value), prop.nitems);
  if (prop.encoding == XA_STRING) return latin1(prop.value, prop.nitems);
  if (prop.encoding == atoms.utf8String) return fromUtf8(bytes);
  char** list = nullptr;
  int n = 0;
  if (Xutf8TextPropertyToTextList(d_, &prop, &list, &n) < Success || !list) return std::nullopt;
  Text result = n > 0 ? fromUtf8(list[0]) : Text();
  XFreeStringList(list);
  return result;
}

void Properties::sendToRoot(unsigned long w, unsigned long type, std::initializer_list<long> data) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  int i = 0;
  for (long value : data) event.xclient.data.l[i++] = value;
  XSendEvent(d_, DefaultRootWindow(d_), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

std::vector<unsigned long> Properties::children(unsigned long w) {
  const Tree tree = queryTree(d_, w);
  if (!tree.ok || !tree.children) return {};
  return {tree.children.get(), tree.children.get() + tree.count};
}

std::optional<unsigned long> Properties::parent(unsigned long w) {
  const Tree tree = queryTree(d_, w);
  if (!tree.ok || tree.parent == tree.root) return std::nullopt;
  return tree.parent;
}

}  // namespace pw::x11
