// Random generator: known outputs of the seeded sequence, reproducibility,
// the ranges of Rnd/Rand/tRand, the independence of clock-mixed draws and
// states at the 32-bit limits (negative seeds, exhausted counters).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

#include "VeskFrame.h"
#include "util/Random.h"

namespace {

VeskCore core;

class RandomTest : public testing::Test {
 protected:
  void SetUp() override { GameNum = 1; }

  // The documented ranges of the generator state after any draw.
  static void ExpectStateInRange() {
    EXPECT_GE(jRand_Bit, 0);
    EXPECT_LT(jRand_Bit, 256);
    EXPECT_GE(jRand_Plus, 0);
    EXPECT_LT(jRand_Plus, 15215178);
    EXPECT_GE(jRand_Out, 0);
    EXPECT_LE(jRand_Out, 1310724);
    EXPECT_GE(jRand_Count, 0);
  }
};

TEST_F(RandomTest, KnownSequenceForSeed1000InGame1) {
  core.SeedRnd(1000);
  EXPECT_EQ(jRand_Seed, 1000);
  EXPECT_EQ(jRand_Bit, 232);
  EXPECT_EQ(jRand_Plus, 4);
  const int raw[] = {218239, 237814, 355715, 632346};
  const float value[] = {0.166503f, 0.181437f, 0.271388f, 0.482440f};
  for (int i = 0; i < 4; i++) {
    EXPECT_NEAR(core.Rnd(0, 1), value[i], 1e-6) << "draw " << i;
    EXPECT_EQ(jRand_Out, raw[i]) << "draw " << i;
    if (i == 0) {
      EXPECT_EQ(jRand_Bit, 189);
      EXPECT_EQ(jRand_Plus, 1161);
      EXPECT_EQ(jRand_Count, 7);
    }
  }
}

TEST_F(RandomTest, KnownSequenceForSeed0InGame0) {
  GameNum = 0;
  core.SeedRnd(0);
  for (int raw : {699496, 17693, 795076}) {
    core.Rnd(1);
    EXPECT_EQ(jRand_Out, raw);
  }
}

TEST_F(RandomTest, SameSeedRepeatsAndOtherGameDiffers) {
  float first[200];
  core.SeedRnd(4242);
  for (float& v : first) v = core.Rnd(0, 100);
  core.SeedRnd(4242);
  for (float v : first) ASSERT_EQ(core.Rnd(0, 100), v);
  GameNum = 2;
  core.SeedRnd(4242);
  int same = 0;
  for (float v : first) same += core.Rnd(0, 100) == v;
  EXPECT_LT(same, 10);
}

TEST_F(RandomTest, DrawsStayInTheirRangesAndCoverThem) {
  core.SeedRnd(77);
  int seen[3][6] = {};
  for (int i = 0; i < 20000; i++) {
    int r[3] = {core.Rand(0, 3), core.Rand(5), core.tRand(0, 3)};
    const int top[3] = {3, 5, 3};
    for (int k = 0; k < 3; k++) {
      ASSERT_TRUE(r[k] >= 0 && r[k] <= top[k]) << "form " << k << ": " << r[k];
      seen[k][r[k]]++;
    }
    float f = core.Rnd(2, 4), t = core.tRnd(-1, 1);
    ASSERT_TRUE(f >= 2 && f < 4 && t >= -1 && t < 1) << f << " " << t;
  }
  for (int k = 0; k < 3; k++) {
    for (int v = 0; v <= (k == 1 ? 5 : 3); v++) EXPECT_GT(seen[k][v], 2000) << k << " " << v;
  }
}

TEST_F(RandomTest, ClockMixedDrawLeavesTheSeededSequenceAlone) {
  core.SeedRnd(31337);
  core.Rnd(1);
  float expected = core.Rnd(1);
  core.SeedRnd(31337);
  core.Rnd(1);
  const int state[] = {jRand_Seed, jRand_Bit, jRand_Plus, jRand_Count, jRand_Out, jRand_tSeed + 1};
  core.tRnd(10);
  const int after[] = {jRand_Seed, jRand_Bit, jRand_Plus, jRand_Count, jRand_Out, jRand_tSeed};
  for (int i = 0; i < 6; i++) EXPECT_EQ(after[i], state[i]) << "state word " << i;
  EXPECT_EQ(core.Rnd(1), expected);
}

// Negative seeds and game numbers would make the table index negative.
TEST_F(RandomTest, NegativeSeedsNeverLeaveTheTable) {
  for (int game : {1, -5, INT_MIN}) {
    GameNum = game;
    for (int seed : {-1, -255, -256, -1000, -123456789, INT_MIN}) {
      core.SeedRnd(seed);
      EXPECT_GE(jRand_Bit, 0);
      EXPECT_LT(jRand_Bit, 256);
      for (int i = 0; i < 300; i++) {
        float f = core.Rnd(0, 1);
        ASSERT_TRUE(f >= 0 && f < 1) << "seed " << seed << " draw " << i;
        ExpectStateInRange();
      }
    }
  }
}

// After hundreds of millions of draws the counter nears the int limit and
// the sums of the draw would overflow.
TEST_F(RandomTest, CounterAtTheLimitRestartsAtZero) {
  core.SeedRnd(INT_MAX);
  jRand_Count = INT_MAX - 7;
  jRand_Plus = 15215177;
  core.Rnd(1);
  EXPECT_EQ(jRand_Count, INT_MAX);
  ExpectStateInRange();
  core.Rnd(1);
  EXPECT_EQ(jRand_Count, 0);
  ExpectStateInRange();
  jRand_tSeed = INT_MAX;
  jRand_Plus = INT_MAX;
  float f = core.tRnd(0, 1);
  EXPECT_TRUE(f >= 0 && f < 1) << f;
  EXPECT_EQ(jRand_tSeed, 0);
}

// The seeded draw as written down, in 64-bit arithmetic, for states whose
// words are 0 or more.
struct FormulaDraws {
  int64_t seed, bit, plus, count = 0, out = 0;
  FormulaDraws(int s, int game) : seed(s), bit(s % 256), plus(s / 256 + game) {}
  int64_t T(int64_t i) const { return jRand_Txt[i]; }
  int64_t Next() {
    count += 7;
    if (count > INT_MAX) count = 0;
    bit = (bit + plus) % 256;
    plus = (T(bit) + count + plus) % 13817278;
    bit = (bit + plus) % 256;
    plus = (T(bit) + plus + seed) % 15215178;
    bit = (bit + plus + count) % 256;
    out = T(bit) + T(count % 256);
    out = (out * 16 + bit + count) % 371716;
    out = (out * 1024 + plus) % 1310725;
    return out;
  }
};

// Long runs, also from counters whose remainder by the first modulus is near
// its top, so that every reduction of a draw takes each of its branches.
TEST_F(RandomTest, LongRunsFollowTheFormulaDrawForDraw) {
  for (int game : {0, 1, 99}) {
    GameNum = game;
    for (int seed : {0, 1000, 123456789, INT_MAX}) {
      for (int counter : {0, 13700000, 2000000000}) {
        core.SeedRnd(seed);
        FormulaDraws formula(seed, game);
        formula.count = jRand_Count = counter;
        for (int i = 0; i < 20000; i++) {
          const float value = core.Rnd(0, 1);
          ASSERT_EQ(jRand_Out, formula.Next())
              << "game " << game << " seed " << seed << " counter " << counter << " draw " << i;
          ASSERT_EQ(jRand_Plus, formula.plus);
          ASSERT_EQ(jRand_Bit, formula.bit);
          ASSERT_EQ(value, static_cast<float>(formula.out / 1310725.0));
        }
      }
    }
  }
}

// The scaling multiplies by the reciprocal instead of dividing: that has to
// round to the very float of the division for every draw there can be.
TEST_F(RandomTest, EveryDrawScalesToTheFloatOfItsQuotient) {
  int differing = 0;
  int first = -1;
  for (int out = 0; out < 1310725; out++) {
    if (RandomUnit(out) != static_cast<float>(out / 1310725.0)) {
      if (first < 0) first = out;
      differing++;
    }
  }
  EXPECT_EQ(differing, 0) << "first at draw " << first;
}

// Across the counter's restart, and from a running sum that a game number
// has pushed past the usual range back into it.
TEST_F(RandomTest, DrawsAroundUnusualStatesFollowTheFormula) {
  core.SeedRnd(5000);
  FormulaDraws formula(5000, 1);
  formula.count = jRand_Count = INT_MAX - 7 * 3;
  for (int i = 0; i < 8; i++) {
    core.Rnd(1);
    ASSERT_EQ(jRand_Out, formula.Next()) << "draw " << i;
    ASSERT_EQ(jRand_Count, formula.count);
  }
  GameNum = 20000000;
  core.SeedRnd(777);
  FormulaDraws pushed(777, GameNum);
  EXPECT_GT(jRand_Plus, 15215178);
  for (int i = 0; i < 100; i++) {
    core.Rnd(1);
    ASSERT_EQ(jRand_Out, pushed.Next()) << "draw " << i;
  }
}

TEST_F(RandomTest, WholeDrawsWithHugeOrNanBoundsDoNotOverflow) {
  core.SeedRnd(5);
  for (int i = 0; i < 100; i++) {
    EXPECT_GE(core.Rand(1e20f), 0);
    EXPECT_LE(core.Rand(-1e20f, -1e19f), 0);
    EXPECT_EQ(core.Rand(NAN), 0);
  }
}

}  // namespace
