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

TEST(MersenneTwister, UnitAndUniformIntBoundaries) {
  MersenneTwister unit = engineGiving({0u, 4294967295u});
  EXPECT_EQ(unit.nextUnit(), 0.0);
  EXPECT_EQ(unit.nextUnit(), 4294967295.0 / 4294967296.0);

  // 0.2 and 0.8 of 2^32 lie at 858993459.2 and 3435973836.8.
  MersenneTwister engine = engineGiving(
      {0u, 858993459u, 858993460u, 2147483648u, 3435973836u, 3435973837u, 4294967295u});
  for (int32_t expected : {1, 1, 2, 3, 4, 5, 5}) EXPECT_EQ(engine.uniformInt(1, 5), expected);
}

TEST(MersenneTwister, EveryUniformIntConsumesOneOutput) {
  MersenneTwister engine;
  engine.setSeed(99);
  EXPECT_EQ(engine.uniformInt(1, 1), 1);
  EXPECT_EQ(engine.uniformInt(2, 1), INT32_MIN);
  EXPECT_EQ(engine.uniformInt(-3, -3), -3);
  std::mt19937 reference(99);
  reference.discard(3);
  EXPECT_EQ(engine.nextUInt32(), reference());
}

TEST(MersenneTwister, WideRangesStayInside) {
  // hi - lo + 1 does not fit 32 bits in the first three.
  MersenneTwister engine =
      engineGiving({0u, 4294967295u, 2147483648u, 4294967295u, 0u, 4294967295u, 2147483649u});
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), 0);
  EXPECT_EQ(engine.uniformInt(0, INT32_MAX), INT32_MAX);
  // The cost range of the largest graphs.
  EXPECT_EQ(engine.uniformInt(1, INT32_MAX), 1);
  EXPECT_EQ(engine.uniformInt(1, INT32_MAX), INT32_MAX);
  // The exact product is 1073741824 - 2^-32; in double it rounds up. Integer
  // multiply-and-shift would give one less and change large graphs.
  EXPECT_EQ(engine.uniformInt(1, INT32_MAX), 1073741825);
}

}  // namespace
