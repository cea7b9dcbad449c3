#pragma once
// KWin's window management from the user's side, for a test KWin trusts: what state each window
// is in, and minimising one as its title bar's button does.
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "platform/text.h"

struct org_kde_plasma_window_management;
struct org_kde_plasma_window;

namespace pw::wayland {
class Connection;
}

namespace pw::e2e {

class PlasmaWindows {
 public:
  explicit PlasmaWindows(const std::string& socket);
  ~PlasmaWindows();

  // Minimises the window whose title contains `part`; true once KWin says it is minimised.
  bool minimise(TextView part);
  // Activates that window, as a click on it does; true once it has the focus.
  bool activate(TextView part);
  // Whether that window is shown and has the focus.
  bool active(TextView part);

  struct Window {
    org_kde_plasma_window* proxy;
    Text title;
    std::uint32_t state = 0;
  };

 private:
  Window* find(TextView part);
  // Sets a state flag of that window; true once KWin says it holds.
  bool change(TextView part, std::uint32_t flag);

  std::unique_ptr<wayland::Connection> connection_;
  org_kde_plasma_window_management* management_;
  std::list<Window> windows_;  // stable addresses for the listeners
};

}  // namespace pw::e2e
