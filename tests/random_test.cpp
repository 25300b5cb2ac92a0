#include "platform/random.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

namespace qm {
namespace {

// The generator written out longhand in 64-bit arithmetic, independent of the class.
struct Reference {
  std::uint64_t seed;
  std::int64_t Next(std::int64_t n) {
    seed = (seed * 134775813ULL + 1ULL) % 4294967296ULL;
    return static_cast<std::int64_t>((seed * static_cast<std::uint64_t>(n)) / 4294967296ULL);
  }
};

TEST(Random, KnownSequencesFromFixedSeeds) {
  Random zero(0);
  for (int expected : {0, 3, 86, 20, 27})
    EXPECT_EQ(zero.Next(100), expected);
  EXPECT_EQ(zero.Seed(), 1172187917u);

  Random r(12345);
  EXPECT_EQ(r(10), 3);
  EXPECT_EQ(r(1000), 289);
  EXPECT_EQ(r(2), 0);
  EXPECT_EQ(r(61), 33);
  EXPECT_EQ(r(400), 253);
  EXPECT_EQ(r.Seed(), 2721613530u);

  Random top(0xFFFFFFFFu);
  EXPECT_EQ(top.Next(std::numeric_limits<std::int32_t>::max()), 2080095741);
  EXPECT_EQ(top.Next(7), 1);
  EXPECT_EQ(top.Next(7), 3);
  EXPECT_EQ(top.Next(7), 0);
}

TEST(Random, MatchesTheRecurrenceForManySeedsAndRanges) {
  const std::array<std::uint32_t, 6> seeds = {0u, 1u, 42u, 86399999u, 0x80000000u, 0xFFFFFFFFu};
  const std::array<std::int32_t, 7> ranges = {1, 2, 3, 10, 61, 1000, 2147483647};
  for (std::uint32_t seed : seeds) {
    Random r(seed);
    Reference ref{seed};
    for (int i = 0; i < 2000; ++i) {
      const std::int32_t n = ranges[static_cast<size_t>(i) % ranges.size()];
      ASSERT_EQ(r.Next(n), ref.Next(n)) << "seed " << seed << " draw " << i;
      ASSERT_EQ(r.Seed(), ref.seed);
    }
  }
}

TEST(Random, NonPositiveAndUnitRangesGiveZeroButStillDraw) {
  for (std::int32_t n : {0, -1, -100, std::numeric_limits<std::int32_t>::min(), 1}) {
    Random r(777);
    Reference ref{777};
    for (int i = 0; i < 50; ++i) {
      ASSERT_EQ(r.Next(n), 0) << n;
      ref.Next(1);
    }
    // Every call consumes one step, so a replayed voyage stays in step whatever it asked.
    EXPECT_EQ(r.Seed(), ref.seed) << n;
  }
}

TEST(Random, StaysInRangeAndSpreadsEvenly) {
  Random r(20240601);
  for (std::int32_t n : {2, 3, 7, 61, 400, 2147483647}) {
    for (int i = 0; i < 5000; ++i) {
      const std::int32_t v = r(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
  std::vector<int> counts(6, 0);
  for (int i = 0; i < 60000; ++i)
    ++counts[static_cast<size_t>(r(6))];
  for (int c : counts) {
    EXPECT_GT(c, 9400);
    EXPECT_LT(c, 10600);
  }
}

TEST(Random, SameSeedReplaysTheSameRolls) {
  Random a(31337);
  Random b(0);
  b.SetSeed(31337);
  for (int i = 0; i < 100; ++i)
    ASSERT_EQ(a(1000), b(1000));
}

TEST(Random, SeedFromTimeOfDay) {
  EXPECT_EQ(SeedFromTimeOfDay(0, 0, 0, 0), 0u);
  EXPECT_EQ(SeedFromTimeOfDay(0, 0, 1, 5), 1005u);
  EXPECT_EQ(SeedFromTimeOfDay(12, 34, 56, 789), 45296789u);
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
}

TEST(Random, RandomizeUsesTheUtcTimeOfDay) {
  using namespace std::chrono;
  constexpr long long kDay = 86400000;
  auto ms_of_day = [] {
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % kDay;
  };
  const long long before = ms_of_day();
  Random r(123);
  r.Randomize();
  const long long after = ms_of_day();
  const long long seed = r.Seed();
  EXPECT_LT(seed, kDay);
  if (before <= after) {
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, after);
  } else {  // midnight passed in between
    EXPECT_TRUE(seed >= before || seed <= after);
  }
}

}  // namespace
}  // namespace qm
