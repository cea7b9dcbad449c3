#include "platform/win/winclock.h"

#include <windows.h>

namespace pw::win {

double WinClock::secondsSinceMidnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

}  // namespace pw::win
