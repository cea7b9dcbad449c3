#pragma once

namespace pw {

// The clock and the event loop of the user-interface thread.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Seconds since local midnight, with fractions; wraps to 0 at midnight.
  virtual double timer() = 0;
  // Runs every pending event handler, then returns.
  virtual void doEvents() = 0;
  // Runs event handlers as they arrive for up to `seconds`, sleeping while none are pending.
  virtual void processEventsFor(double seconds) = 0;
};

}  // namespace pw
