#pragma once
#include <random>

#include "platform/random.h"

namespace pw {

class StdRandom final : public Random {
 public:
  void randomize(double seed) override;
  double next() override;

 private:
  std::mt19937_64 engine_{std::random_device{}()};
};

}  // namespace pw
