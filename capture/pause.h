#pragma once
#include "platform/eventpump.h"

namespace pw {

inline constexpr double kSecondsPerDay = 86400.0;

// Seconds from `start` to `now` on the clock of seconds since midnight, across midnight too.
double elapsedSince(double start, double now);

// Waits at least `seconds`, running the window's events meanwhile (so any command, another
// capture included, may run inside it). Sleeps while no event is pending. A wait that is already
// over on entry returns without running any event.
void Pause(EventPump& events, double seconds);

}  // namespace pw
