#pragma once
// The wlroots foreign-toplevel list from the user's side, for compositors without a command
// interface of their own (labwc): which window is active, and activating or minimising one as its
// title bar does. The test's own view, apart from the program's backend that it checks.
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

namespace pw::wayland {
class Connection;
}

namespace pw::e2e {

class WlrToplevels {
 public:
  explicit WlrToplevels(const std::string& socket);
  ~WlrToplevels();

  // The titles, the active window's first; the list carries no stacking order beyond that.
  std::vector<Text> titles();
  // Activates the window titled exactly `title`; true once it is active.
  bool activate(TextView title);
  // Minimises the window whose title contains `part`; true once it is minimised and not active.
  bool minimise(TextView part);
  // Whether that window is shown and active.
  bool active(TextView part);

  struct Toplevel {
    zwlr_foreign_toplevel_handle_v1* proxy = nullptr;
    Text title, nextTitle;
    bool activated = false, minimized = false, nextActivated = false, nextMinimized = false, closed = false;
  };

 private:
  Toplevel* find(TextView title, bool whole);
  // Waits until `window` is active (`activated`) or minimised (not); true once it is.
  bool settle(Toplevel& window, bool activated);

  std::unique_ptr<wayland::Connection> connection_;
  zwlr_foreign_toplevel_manager_v1* manager_;
  std::list<Toplevel> toplevels_;  // stable addresses for the listeners
};

}  // namespace pw::e2e
