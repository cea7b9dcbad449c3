// The Linux desktop: Qt for the window, event loop and dialogs; POSIX for the clock, the settings
// and the output file; and for other programs' windows and the clipboard, the route the session
// offers.
#include "platform/desktop.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/posix/localclock.h"
#include "platform/posix/posixfiles.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtsavedialog.h"
#include "platform/routes/route.h"
#include "platform/stdrandom.h"

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
  std::unique_ptr<Route> route_ = sessionRoute();
  posix::LocalClock clock_;
  qt::QtEventPump events_{clock_};
  std::unique_ptr<SettingsStore> settings_;
  // End leaves at once: the last saves reach the disk first.
  qt::QtApplication app_{[this] {
    settings_->flush();
    route_->handOver();
  }};
  qt::QtMessageBoxes messages_{app_};
  qt::QtSaveDialog saveDialog_;
  posix::PosixFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{route_->automation(), route_->stacking(), route_->clipboard(), events_, *settings_,
                     wrapped_ ? *wrapped_ : messages_, saveDialog_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) {
  return std::make_unique<LinuxDesktop>(std::move(options));
}

}  // namespace pw
