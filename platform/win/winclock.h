#pragma once
#include "platform/clock.h"

namespace pw::win {

class WinClock final : public Clock {
 public:
  double secondsSinceMidnight() override;
};

}  // namespace pw::win
