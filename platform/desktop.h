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

// Needs the application object to exist already.
// What a caller may put around the platform's services: a test build records its message boxes.
struct DesktopOptions {
  // Given the platform's message boxes, the ones the program is to use.
  std::function<std::unique_ptr<MessageBoxes>(MessageBoxes& shown, Application& app)> wrapMessages;
};

std::unique_ptr<Desktop> createDesktop(DesktopOptions options = {});

}  // namespace pw
