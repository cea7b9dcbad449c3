#pragma once
#include "platform/activationpolicy.h"
#include "platform/gnome/shellclipboard.h"
#include "platform/gnome/shellwindows.h"
#include "platform/routes/route.h"

namespace pw {

// GNOME, through our shell extension, which also keeps our window above. What we put on the
// clipboard belongs to the shell, which keeps it served after we are gone.
class GnomeRoute final : public Route {
 public:
  WindowAutomation& automation() override { return automation_; }
  Clipboard& clipboard() override { return clipboard_; }
  WindowStacking& stacking() override { return windows_; }
  void handOver() override {}

 private:
  gnome::ShellWindows windows_;
  ActivationPolicy automation_{windows_, gnome::ShellWindows::kTiming};
  gnome::ShellClipboard clipboard_;
};

}  // namespace pw
