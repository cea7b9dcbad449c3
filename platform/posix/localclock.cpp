#include "platform/posix/localclock.h"

#include <ctime>

namespace pw::posix {

double LocalClock::secondsSinceMidnight() {
  timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local {};
  localtime_r(&now.tv_sec, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

}  // namespace pw::posix
