#include "platform/desktop.h"
#include "platform/linux/clipboardhandover.h"
#include "platform/linux/guardedclipboard.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/posix/posixfiles.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/stdrandom.h"
#include "platform/x11/x11automation.h"

namespace pw {
namespace {

// Qt for the window, clipboard and event loop; Xlib and XTest for other programs' windows;
// POSIX files for the settings and the output file.
class LinuxDesktop final : public Desktop {
 public:
  explicit LinuxDesktop(const DesktopOptions& options)
      : wrapped_(options.wrapMessages ? options.wrapMessages(messages_, app_) : nullptr) {}
  Services& services() override { return services_; }

 private:
  x11::X11Automation automation_;
  qt::QtStacking stacking_;
  qt::QtClipboard qtClipboard_;
  x11::SelectionProbe probe_;
  GuardedClipboard clipboard_{qtClipboard_, probe_};
  qt::QtEventPump events_;
  posix::FileSettingsStore settings_{posix::FileSettingsStore::defaultRoot()};
  // End leaves at once: the last saves reach the disk first.
  qt::QtApplication app_{[this] {
    settings_.flush();
    handOverClipboard();
  }};
  qt::QtMessageBoxes messages_{app_};
  posix::PosixFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{automation_, stacking_, clipboard_, events_,  settings_,
                     wrapped_ ? *wrapped_ : messages_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) { return std::make_unique<LinuxDesktop>(options); }

}  // namespace pw
