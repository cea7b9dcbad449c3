#pragma once

namespace pw {

// The time of day on the system's clock, in the user's time zone.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, with fractions.
  virtual double secondsSinceMidnight() = 0;
};

}  // namespace pw
