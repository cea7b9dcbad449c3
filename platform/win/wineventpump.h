#pragma once
#include "platform/clock.h"
#include "platform/eventpump.h"

namespace pw::win {

// The thread's Win32 message queue. Pumping it is also what lets other programs take the
// clipboard from us and activate their windows while we wait.
class WinEventPump final : public EventPump {
 public:
  explicit WinEventPump(Clock& clock) : clock_(clock) {}
  double timer() override { return clock_.secondsSinceMidnight(); }
  void doEvents() override;
  void processEventsFor(double seconds) override;

 private:
  Clock& clock_;
};

// Lets messages that other threads send to ours be handled for up to `ms` milliseconds, without
// running any of our own queued events.
void serveSentMessages(unsigned ms);

}  // namespace pw::win
