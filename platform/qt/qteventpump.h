#pragma once
#include "platform/clock.h"
#include "platform/eventpump.h"

namespace pw::qt {

class QtEventPump final : public EventPump {
 public:
  explicit QtEventPump(Clock& clock) : clock_(clock) {}
  double timer() override { return clock_.secondsSinceMidnight(); }
  void doEvents() override;
  void processEventsFor(double seconds) override;

 private:
  Clock& clock_;
};

}  // namespace pw::qt
