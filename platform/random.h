#pragma once

namespace pw {

// The runtime's random numbers.
class Random {
 public:
  virtual ~Random() = default;
  virtual void randomize(double seed) = 0;
  virtual double next() = 0;  // in [0, 1)
};

}  // namespace pw
