#include "random/mersenne_twister.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Inverse of the output tempering, so a test can choose the next outputs.
uint32_t untemper(uint32_t value) {
  value ^= value >> 18;
  value ^= (value << 15) & 0xefc60000u;
  uint32_t result = value;
  for (int i = 0; i < 5; ++i) result = value ^ ((result << 7) & 0x9d2c5680u);
  value = result;
  for (int i = 0; i < 3; ++i) result = value ^ (result >> 11);
  return result;
}

MersenneTwister engineGiving(std::initializer_list<uint32_t> outputs) {
  MersenneTwister engine;
  engine.setSeed(1);
  engine.index = MersenneTwister::kStateSize - static_cast<int32_t>(outputs.size());
  int32_t slot = engine.index;
  for (uint32_t output : outputs) engine.state[slot++] = untemper(output);
  return engine;
}

TEST(MersenneTwister, MatchesTheStandardEngine) {
  for (uint32_t seed : {0u, 1u, 42u, 5489u, 2147483647u, 4294967291u}) {
    MersenneTwister engine;
    engine.setSeed(seed);
    std::mt19937 reference(seed);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(engine.nextUInt32(), reference()) << seed << " " << i;
  }
}

// Chosen outputs against the draws they must give; hi - lo + 1 does not fit
// 32 bits in the widest ranges.
TEST(MersenneTwister, UniformIntBoundaries) {
  const struct {
    int32_t lo, hi;
    uint32_t output;
    int32_t expected;
  } cases[] = {
      // 0.2 and 0.8 of 2^32 lie at 858993459.2 and 3435973836.8.
      {1, 5, 0u, 1}, {1, 5, 858993459u, 1}, {1, 5, 858993460u, 2}, {1, 5, 2147483648u, 3},
      {1, 5, 3435973836u, 4}, {1, 5, 3435973837u, 5}, {1, 5, 4294967295u, 5},
      {INT32_MIN, INT32_MAX, 0u, INT32_MIN}, {INT32_MIN, INT32_MAX, 4294967295u, INT32_MAX},
      {INT32_MIN, INT32_MAX, 2147483648u, 0}, {1, INT32_MAX, 4294967295u, INT32_MAX},
      // The exact product is 1073741824 - 2^-32 and rounds up in double;
      // integer multiply-and-shift would give one less and change large graphs.
      {1, INT32_MAX, 2147483649u, 1073741825},
      {1, 1, 12345u, 1}, {2, 1, 12345u, INT32_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi << " from " << c.output);
    MersenneTwister engine = engineGiving({c.output, 777u});
    EXPECT_EQ(engine.uniformInt(c.lo, c.hi), c.expected);
    EXPECT_EQ(engine.nextUInt32(), 777u);  // every draw takes exactly one output
  }
}

}  // namespace
