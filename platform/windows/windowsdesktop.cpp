#include "platform/desktop.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qteventpump.h"
#include "platform/stdrandom.h"
#include "platform/win/registrysettingsstore.h"
#include "platform/win/winautomation.h"
#include "platform/win/winclipboard.h"
#include "platform/win/winfiles.h"
#include "platform/win/winmessageboxes.h"

namespace pw {
namespace {

// Qt for the window and its event loop, which also pumps the clipboard owner's messages; Win32
// for everything that reaches the system or other programs.
class WindowsDesktop final : public Desktop {
 public:
  explicit WindowsDesktop(const DesktopOptions& options)
      : wrapped_(options.wrapMessages ? options.wrapMessages(messages_, app_) : nullptr) {}
  Services& services() override { return services_; }

 private:
  win::WinAutomation automation_;
  win::WinStacking stacking_;
  win::WinClipboard clipboard_;
  qt::QtEventPump events_;
  win::RegistrySettingsStore settings_;
  qt::QtApplication app_;
  win::WinMessageBoxes messages_{[this] { return app_.title(); }};
  win::WinFiles files_;
  StdRandom random_;
  std::unique_ptr<MessageBoxes> wrapped_;
  Services services_{automation_, stacking_, clipboard_, events_,  settings_,
                     wrapped_ ? *wrapped_ : messages_, files_, app_, random_};
};

}  // namespace

std::unique_ptr<Desktop> createDesktop(DesktopOptions options) { return std::make_unique<WindowsDesktop>(options); }

}  // namespace pw
