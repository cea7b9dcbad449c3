#pragma once

namespace pw {

// Seconds since local midnight, with fractions, from the system clock.
double secondsSinceMidnight();

}  // namespace pw
