#pragma once
#include "platform/eventpump.h"

namespace pw::qt {

class QtEventPump final : public EventPump {
 public:
  double timer() override;
  void doEvents() override;
  void processEventsFor(double seconds) override;
};

}  // namespace pw::qt
