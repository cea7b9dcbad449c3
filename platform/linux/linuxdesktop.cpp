// The Linux desktop: Qt for the window, clipboard, event loop and dialogs; Xlib and XTest for
// other programs' windows; POSIX for the clock, the settings and the output file.
#include "platform/desktop.h"
#include "platform/linux/clipboardhandover.h"
#include "platform/linux/guardedclipboard.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/posix/localclock.h"
#include "platform/posix/posixfiles.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtsavedialog.h"
#include "platform/stdrandom.h"
#include "platform/x11/x11automation.h"

namespace pw {
namespace {

std::unique_ptr<SettingsStore> userSettings() {
  return std::make_unique<posix::FileSettingsStore>(posix::FileSettingsStore::defaultRoot());
}

class LinuxDesktop final : public Desktop {
 public:
  explicit LinuxDesktop(DesktopOptions options)
      : settings_(options.settings ? std::move(options.settings) : userSettings()),
        wrapped_(options.wrapMessages ? options.wrapMessages(messages_, app_) : nullptr) {}
  Services& services() override { return services_; }

 private:
  x11::X11Windows windows_;
  ActivationPolicy automation_{windows_, x11::X11Windows::kTiming};
  qt::QtStacking stacking_;
  qt::QtClipboard qtClipboard_;
  x11::SelectionProbe probe_;
  GuardedClipboard clipboard_{qtClipboard_, probe_};
  posix::LocalClock clock_;
  qt::QtEventPump events_{clock_};
  std::unique_ptr<SettingsStore> settings_;
  // End leaves at once: the last saves reach the disk first.
  qt::QtApplication app_{[this] {
    settings_->flush();
    handOverClipboard();
  }};
  qt::QtMessageBoxes messages_{app_};
  qt::QtSaveDialog saveDialog_;
  posix::PosixFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{automation_, stacking_,  clipboard_, events_, *settings_, wrapped_ ? *wrapped_ : messages_,
                     saveDialog_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) {
  return std::make_unique<LinuxDesktop>(std::move(options));
}

}  // namespace pw
