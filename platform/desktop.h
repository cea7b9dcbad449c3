#pragma once
// The services of the platform this build is for, made once at start-up.
#include <memory>

#include "platform/services.h"

namespace pw {

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual Services& services() = 0;
};

// Needs the application object to exist already.
std::unique_ptr<Desktop> createDesktop();

}  // namespace pw
