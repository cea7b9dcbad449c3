#include "capture/pause.h"

namespace pw {

double elapsedSince(double start, double now) {
  return now < start ? now - start + kSecondsPerDay : now - start;
}

void Pause(EventPump& events, double seconds) {
  const double start = events.timer();
  for (;;) {
    const double elapsed = elapsedSince(start, events.timer());
    if (elapsed >= seconds) return;
    events.processEventsFor(seconds - elapsed);
  }
}

}  // namespace pw
