// The engine's pseudo-random sequence, one per process, shared by the Math
// library's Rnd and the System library's Rnd and Randomize.
//
// A 24-bit linear congruential sequence: each number is the next state over
// 2^24, so 0 <= r < 1 and every value is exact in a Single.
#pragma once

#include <cstdint>

namespace engine {

class RandomSequence {
 public:
  // Rnd(x): x < 0 the same number for the same x, x = 0 the last number
  // again, x > 0 (or no argument) the next number.
  float rnd(float x);
  float next();
  // Randomize(seed): mixes the seed's bits into the state.
  void randomize(double seed);
  // Randomize without a seed: from the time of day.
  void randomize();

 private:
  float current() const { return static_cast<float>(state_) / 16777216.0f; }

  uint32_t state_ = 0x50000;
};

RandomSequence& randomSequence();

}  // namespace engine
