#pragma once

#include <cstdint>

// The 32-bit Mersenne Twister MT19937 with the reference seeding, so a seed
// gives the same outputs as every conforming implementation, plus this tool's
// own fixed rules for mapping outputs into ranges. Random graphs are
// identified by (node count, seed, maxEdge) alone, so none of this may depend
// on the platform's library.
struct MersenneTwister {
  static constexpr int32_t kStateSize = 624;

  uint32_t state[kStateSize];
  int32_t index = kStateSize;  // kStateSize: regenerate before the next output

  void setSeed(uint32_t seed);

  uint32_t nextUInt32() {
    if (index >= kStateSize) regenerate();
    uint32_t word = state[index++];
    word ^= word >> 11;
    word ^= (word << 7) & 0x9d2c5680u;
    word ^= (word << 15) & 0xefc60000u;
    word ^= word >> 18;
    return word;
  }

  // One output scaled into [0, 1); exact, since 32 bits fit a double.
  double nextUnit() { return static_cast<double>(nextUInt32()) * (1.0 / 4294967296.0); }

  // lo + trunc((hi - lo + 1) * nextUnit()), capped at hi. The product is taken
  // in double on purpose: a multiply-and-shift in integers rounds differently
  // in rare cases and would change the graphs. Consumes exactly one output,
  // even when hi < lo, which gives INT32_MIN.
  int32_t uniformInt(int32_t lo, int32_t hi) {
    const double unit = nextUnit();
    if (hi < lo) return INT32_MIN;
    const int64_t span = int64_t{hi} - lo + 1;
    const int64_t value = lo + static_cast<int64_t>(static_cast<double>(span) * unit);
    return value > hi ? hi : static_cast<int32_t>(value);
  }

  // Refills all 624 words at once; rare enough to stay out of line.
  void regenerate();
};
