#include "builtins/random.h"

#include <bit>
#include <chrono>

namespace engine {

namespace {
constexpr uint32_t kMask = 0xFFFFFF;
}

float RandomSequence::next() {
  state_ = (state_ * 1140671485u + 12820163u) & kMask;
  return current();
}

float RandomSequence::rnd(float x) {
  if (x == 0) return current();
  if (x < 0) {
    // A negative argument restarts the sequence from its own bits.
    uint32_t b = std::bit_cast<uint32_t>(x);
    state_ = (b + (b >> 24)) & kMask;
  }
  return next();
}

void RandomSequence::randomize(double seed) {
  // The high half of the Double folded to 16 bits, into the middle of the state.
  uint64_t b = std::bit_cast<uint64_t>(seed);
  uint32_t hi = static_cast<uint32_t>(b >> 32);
  uint32_t mix = ((hi & 0xFFFF) ^ (hi >> 16)) << 8;
  state_ = (state_ & 0xFFu) | mix;
}

void RandomSequence::randomize() {
  // Seconds into the day, to the microsecond, as a timer reads them.
  using namespace std::chrono;
  int64_t us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  randomize(static_cast<double>(us % 86400000000LL) / 1e6);
}

RandomSequence& randomSequence() {
  static RandomSequence sequence;
  return sequence;
}

}  // namespace engine
