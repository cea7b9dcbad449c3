#pragma once
#include "platform/clock.h"

namespace pw::posix {

class LocalClock final : public Clock {
 public:
  double secondsSinceMidnight() override;
};

}  // namespace pw::posix
