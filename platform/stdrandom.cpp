#include "platform/stdrandom.h"

#include <bit>
#include <cstdint>

namespace pw {

void StdRandom::randomize(double seed) { engine_.seed(std::bit_cast<std::uint64_t>(seed)); }

double StdRandom::next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

}  // namespace pw
