#include "platform/wayland/waylandroute.h"

#include "platform/runtimeerror.h"
#include "platform/wayland/wlconnection.h"

namespace pw::wayland {

Text missingRouteDescription(const Connection& connection) {
  Text missing;
  for (const char* name : {"zwlr_foreign_toplevel_manager_v1", "zwp_virtual_keyboard_manager_v1",
                           "zwlr_data_control_manager_v1"}) {
    if (connection.offers(name)) continue;
    missing += (missing.empty() ? u"" : u", ") + ascii(name);
  }
  return u"This Wayland desktop does not let Pagewick find, bring forward or type into other programs' "
         u"windows: the compositor lacks " + missing +
         u". Pagewick captures on X11 sessions and on sway and other wlroots desktops; on this "
         u"desktop, log in to its X11 session instead.";
}

void RefusingAutomation::activate(TextView) { throw RuntimeError(err::WindowNotFound, description_); }

// The activation step has said it already: one box for the capture, not one for each keystroke.
void RefusingAutomation::sendKeys(TextView) {}

}  // namespace pw::wayland
