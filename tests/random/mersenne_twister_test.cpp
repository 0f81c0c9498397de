#include "random/mersenne_twister.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Inverse of the output tempering, so a test can make the engine hand out any
// chosen output next.
uint32_t untemper(uint32_t value) {
  value ^= value >> 18;
  value ^= (value << 15) & 0xefc60000u;
  uint32_t result = value;
  for (int i = 0; i < 5; ++i) result = value ^ ((result << 7) & 0x9d2c5680u);
  value = result;
  result = value;
  for (int i = 0; i < 3; ++i) result = value ^ (result >> 11);
  return result;
}

// An engine whose next outputs are exactly the given ones.
MersenneTwister engineGiving(std::initializer_list<uint32_t> outputs) {
  MersenneTwister engine;
  engine.setSeed(1);
  int32_t slot = MersenneTwister::kStateSize - static_cast<int32_t>(outputs.size());
  engine.index = slot;
  for (uint32_t output : outputs) engine.state[slot++] = untemper(output);
  return engine;
}

TEST(MersenneTwister, MatchesTheStandardEngine) {
  for (uint32_t seed : {0u, 1u, 42u, 5489u, 123456789u, 2147483647u, 4294967291u}) {
    MersenneTwister engine;
    engine.setSeed(seed);
    std::mt19937 reference(seed);
    for (int i = 0; i < 5000; ++i) {
      ASSERT_EQ(engine.nextUInt32(), reference()) << "seed " << seed << ", output " << i;
    }
  }
}

TEST(MersenneTwister, ReferenceOutputs) {
  MersenneTwister engine;
  engine.setSeed(5489);
  EXPECT_EQ(engine.nextUInt32(), 3499211612u);
  engine.setSeed(0);
  EXPECT_EQ(engine.nextUInt32(), 2357136044u);
  // Seeding again starts over.
  engine.setSeed(5489);
  EXPECT_EQ(engine.nextUInt32(), 3499211612u);
}

TEST(MersenneTwister, ChosenOutputsComeOutInOrder) {
  MersenneTwister engine = engineGiving({0u, 4294967295u, 2357136044u});
  EXPECT_EQ(engine.nextUInt32(), 0u);
  EXPECT_EQ(engine.nextUInt32(), 4294967295u);
  EXPECT_EQ(engine.nextUInt32(), 2357136044u);
}

TEST(MersenneTwister, UnitIntervalEnds) {
  MersenneTwister engine = engineGiving({0u, 4294967295u, 2147483648u});
  EXPECT_EQ(engine.nextUnit(), 0.0);
  const double top = engine.nextUnit();
  EXPECT_LT(top, 1.0);
  EXPECT_EQ(top, 4294967295.0 / 4294967296.0);
  EXPECT_EQ(engine.nextUnit(), 0.5);
}

TEST(MersenneTwister, UniformIntBucketEdges) {
  // 0.2 and 0.8 of 2^32 lie at 858993459.2 and 3435973836.8.
  MersenneTwister engine =
      engineGiving({0u, 858993459u, 858993460u, 3435973836u, 3435973837u, 4294967295u});
  EXPECT_EQ(engine.uniformInt(1, 5), 1);
  EXPECT_EQ(engine.uniformInt(1, 5), 1);
  EXPECT_EQ(engine.uniformInt(1, 5), 2);
  EXPECT_EQ(engine.uniformInt(1, 5), 4);
  EXPECT_EQ(engine.uniformInt(1, 5), 5);
  EXPECT_EQ(engine.uniformInt(1, 5), 5);
}

TEST(MersenneTwister, UniformIntReachesEveryValue) {
  MersenneTwister engine;
  engine.setSeed(7);
  int seen[6] = {};
  for (int i = 0; i < 10000; ++i) {
    const int32_t value = engine.uniformInt(1, 5);
    ASSERT_GE(value, 1);
    ASSERT_LE(value, 5);
    ++seen[value];
  }
  for (int value = 1; value <= 5; ++value) EXPECT_GT(seen[value], 1800) << value;
}

TEST(MersenneTwister, EveryUniformIntConsumesOneOutput) {
  MersenneTwister engine;
  engine.setSeed(99);
  std::mt19937 reference(99);
  EXPECT_EQ(engine.uniformInt(1, 1), 1);
  EXPECT_EQ(engine.uniformInt(2, 1), INT32_MIN);
  EXPECT_EQ(engine.uniformInt(-3, -3), -3);
  reference.discard(3);
  EXPECT_EQ(engine.nextUInt32(), reference());
}

TEST(MersenneTwister, WideRangesStayInside) {
  // hi - lo + 1 does not fit 32 bits here; the result must still lie in range.
  MersenneTwister engine = engineGiving({0u, 4294967295u, 2147483648u, 4294967295u});
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(engine.uniformInt(INT32_MIN, INT32_MAX), 0);
  EXPECT_EQ(engine.uniformInt(0, INT32_MAX), INT32_MAX);
}

TEST(MersenneTwister, CostRangeOfTheLargestGraphs) {
  MersenneTwister engine = engineGiving({0u, 4294967295u});
  EXPECT_EQ(engine.uniformInt(1, INT32_MAX), 1);
  EXPECT_EQ(engine.uniformInt(1, INT32_MAX), INT32_MAX);
}

}  // namespace
