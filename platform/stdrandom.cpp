#include "platform/stdrandom.h"

#include <bit>
#include <cstdint>
#include <ctime>

namespace pw {

void StdRandom::randomize(double seed) { engine_.seed(std::bit_cast<std::uint64_t>(seed)); }

double StdRandom::next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

double secondsSinceMidnight() {
  timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local {};
  localtime_r(&now.tv_sec, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

}  // namespace pw
