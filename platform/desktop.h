#pragma once
// The services of the platform this build is for, made once at start-up.
#include <functional>
#include <memory>

#include "platform/services.h"

namespace pw {

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual Services& services() = 0;
};

// What a caller may replace among the platform's services; tests and the test build do.
struct DesktopOptions {
  // Given the platform's message boxes, the ones the program is to use: ones that record, say.
  std::function<std::unique_ptr<MessageBoxes>(MessageBoxes& shown, Application& app)> wrapMessages;
  // The settings store to use instead of the user's own.
  std::unique_ptr<SettingsStore> settings;
};

// The one place each platform composes its services. Needs the application object to exist.
std::unique_ptr<Desktop> createDesktop(DesktopOptions options = {});

}  // namespace pw
