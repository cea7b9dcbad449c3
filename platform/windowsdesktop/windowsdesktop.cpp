// The Windows desktop: plain Win32 for everything, the window included.
#include "platform/activationpolicy.h"
#include "platform/desktop.h"
#include "platform/stdrandom.h"
#include "platform/win/registrysettingsstore.h"
#include "platform/win/winapplication.h"
#include "platform/win/winstacking.h"
#include "platform/win/winwindows.h"
#include "platform/win/winclipboard.h"
#include "platform/win/winclock.h"
#include "platform/win/wineventpump.h"
#include "platform/win/winfiles.h"
#include "platform/win/winmessageboxes.h"
#include "platform/win/winsavedialog.h"

namespace pw {
namespace {

class WindowsDesktop final : public Desktop {
 public:
  explicit WindowsDesktop(DesktopOptions options)
      : settings_(options.settings ? std::move(options.settings) : std::make_unique<win::RegistrySettingsStore>()),
        wrapped_(options.wrapMessages ? options.wrapMessages(messages_, app_) : nullptr) {}
  Services& services() override { return services_; }

 private:
  win::WinWindows windows_;
  ActivationPolicy automation_{windows_, win::WinWindows::kTiming};
  win::WinStacking stacking_;
  win::WinClipboard clipboard_;
  win::WinClock clock_;
  // Pumping the thread's queue also serves the clipboard owner's messages.
  win::WinEventPump events_{clock_};
  std::unique_ptr<SettingsStore> settings_;
  win::WinApplication app_{[this] { settings_->flush(); }};
  win::WinMessageBoxes messages_{app_};
  win::WinSaveDialog saveDialog_;
  win::WinFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{automation_, stacking_,  clipboard_, events_, *settings_, wrapped_ ? *wrapped_ : messages_,
                     saveDialog_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) {
  return std::make_unique<WindowsDesktop>(std::move(options));
}

}  // namespace pw
