#include "random/mersenne_twister.h"

namespace {

constexpr int32_t kShift = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7fffffffu;

inline uint32_t twist(uint32_t current, uint32_t next, uint32_t shifted) {
  const uint32_t mixed = (current & kUpperMask) | (next & kLowerMask);
  return shifted ^ (mixed >> 1) ^ ((mixed & 1u) != 0 ? kMatrix : 0u);
}

}  // namespace

void MersenneTwister::setSeed(uint32_t seed) {
  state[0] = seed;
  for (int32_t i = 1; i < kStateSize; ++i) {
    const uint32_t previous = state[i - 1];
    state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
  }
  index = kStateSize;
}

void MersenneTwister::regenerate() {
  // Split in three so no index needs a modulo.
  int32_t i = 0;
  for (; i < kStateSize - kShift; ++i) state[i] = twist(state[i], state[i + 1], state[i + kShift]);
  for (; i < kStateSize - 1; ++i) {
    state[i] = twist(state[i], state[i + 1], state[i + kShift - kStateSize]);
  }
  state[kStateSize - 1] = twist(state[kStateSize - 1], state[0], state[kShift - 1]);
  index = 0;
}
