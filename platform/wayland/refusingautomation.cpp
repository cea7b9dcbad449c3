#include "platform/wayland/refusingautomation.h"

#include "platform/runtimeerror.h"
#include "platform/wayland/dataclipboard.h"
#include "platform/wayland/connection.h"

namespace pw::wayland {

Text missingRouteDescription(const Connection& connection) {
  Text missing;
  const auto lacks = [&](Text what) { missing += (missing.empty() ? u"" : u", ") + what; };
  // KWin offers its window management and fake input only to programs an installed desktop entry
  // names; there that trust is what is missing, not the compositor's support.
  const bool kwin = connection.offers("org_kde_plasma_shell");
  if (!kwin) {
    for (const char* name : {"zwlr_foreign_toplevel_manager_v1", "zwp_virtual_keyboard_manager_v1"}) {
      if (!connection.offers(name)) lacks(ascii(name));
    }
  }
  if (!DataClipboard::supported(connection)) lacks(ascii(DataClipboard::interfaces()));
  if (kwin && missing.empty()) {
    return u"KDE Plasma lets Pagewick find, bring forward and type into other programs' windows only "
           u"when Pagewick's installed desktop entry allows it, and it does not here. Install Pagewick "
           u"from its package, whose entry allows it, and start the installed program; or log in to the "
           u"X11 session instead.";
  }
  const Text lacking = u"This Wayland desktop does not let Pagewick find, bring forward or type into other "
                       u"programs' windows: the compositor lacks " + missing + u". ";
  // Mir has them all, off until its configuration adds them.
  if (connection.offers("mir_shell_v1")) {
    return lacking + u"Mir offers them once its configuration adds them: on Miriway, add the line " + ascii(kMirExtensionsLine) +
           u" to ~/.config/miriway-shell.config, then log in again.";
  }
  return lacking + u"Pagewick captures on X11 sessions, on sway and other wlroots desktops and on KDE Plasma; "
                   u"on this desktop, log in to its X11 session instead.";
}

void RefusingAutomation::activate(TextView) { throw RuntimeError(err::WindowNotFound, description_); }

// The activation step has said it already: one box for the capture, not one for each keystroke.
void RefusingAutomation::sendKeys(TextView) {}

}  // namespace pw::wayland
