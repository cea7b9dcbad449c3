#pragma once
#include <cstdint>
#include <vector>

namespace pw {

// A picture in a neutral form: premultiplied-free ARGB pixels, row by row, and a hot spot.
struct Picture {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<std::uint32_t> argb;
};

}  // namespace pw
