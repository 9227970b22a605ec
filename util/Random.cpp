// The table-driven random generator of VeskCore: the seeded sequence (Rnd,
// Rand) and the clock-mixed draws (tRnd, tRand) that leave it untouched.
// Relies on Mills() (frame/Core.cpp) for SeedRnd() and tRnd, and on GameNum.
// A draw from the usual state (a seed of 0 or more) takes a short path in
// 32-bit arithmetic; any other state takes the checked path, where every sum
// is computed in 64 bits and every remainder is taken into 0..m-1. Both give
// exactly the 32-bit sequence wherever that stays in range, while negative
// seeds and counters that run past the 32-bit limits after hundreds of
// millions of draws never index outside the table and never give a value
// outside the asked range.
#include "util/Random.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "VeskFrame.h"

int jRand_Seed;
int jRand_Bit;
int jRand_Plus;
int jRand_Count;
int jRand_Out;
int jRand_tSeed;

namespace {

constexpr int kRandTableSize = 256;
constexpr int kPlusModulusA = 13817278;
constexpr int kPlusModulusB = 15215178;
constexpr int kOutModulusA = 371716;
constexpr int kOutModulusB = 1310725;
constexpr int kOutShiftA = 16;
constexpr int kOutShiftB = 1024;
constexpr int kCountStep = 7;
constexpr int kClockMix = 37171;
constexpr double kWholeRangeTop = 0.9999;  // Rand(a, b) draws Rnd(a, b + 0.9999)

constexpr double kOutReciprocal = 1.0 / kOutModulusB;

}  // namespace

// For every draw 0..kOutModulusB-1 the product with the reciprocal rounds to
// the same float as the quotient (the tests go through all of them), and a
// draw need not wait for a division.
float RandomUnit(int out) { return static_cast<float>(out * kOutReciprocal); }

// 256 entries between 48 and 112, kept as a zero-terminated text of signed
// characters.
// clang-format off
const signed char jRand_Txt[kRandTableSize + 1] = {
     52, 103,  78,  53,  71,  78,  71,  85,  72,  79,  60,  48, 100,  86,  87,  78,
     94, 108,  94,  56,  51, 107,  52, 107,  58,  50,  68, 101,  81,  83,  86, 109,
     53,  74,  49,  61,  48,  72,  88,  65,  84, 105,  91,  88,  75,  96,  82,  89,
     76,  81, 111,  70,  98,  94,  79, 106, 111, 111,  77,  55,  73,  91,  59,  69,
     62,  61,  81, 110,  85,  76,  61, 109,  71,  86,  72, 106,  90,  78,  49,  99,
     68,  95,  65, 103,  89,  67,  93, 104,  61,  66,  90,  77,  99, 110,  73,  82,
     97,  63,  85,  50,  84,  51,  65,  93,  99,  77,  71,  69, 110,  48,  86, 102,
     53,  66,  62,  56,  95,  85, 100, 108,  91,  69,  84, 100,  62,  56,  89,  75,
     68, 103,  91,  57,  82,  87,  77,  64, 108,  94,  50,  58, 105,  66,  70,  81,
     58,  60, 107,  55,  59,  74,  83,  97, 107, 108,  64,  64, 109,  59, 112,  95,
     80,  53,  89,  97,  80, 104,  73,  82,  68,  83,  98,  58,  48,  52, 102,  88,
     72, 105, 104, 100, 106,  67,  63,  75, 102,  52,  98,  69,  67,  76,  51,  70,
     64,  66,  55,  95, 110,  73,  90,  63,  96,  76,  60,  74, 103,  80,  88, 111,
     90,  97,  51,  87,  80,  79,  49,  96,  83,  67,  96,  75,  62,  50,  54,  81,
     57, 103, 101,  99, 106,  57,  70, 103,  93, 101,  59,  60,  54,  54,  65,  84,
     56,  74,  55, 109, 105,  93, 101,  49,  87, 104,  63,  98, 102,  54,  79,  57,
    0};
// clang-format on

namespace {

// The remainder in 0..modulus-1, equal to % for non-negative values.
int Reduce(int64_t value, int modulus) {
  int64_t r = value % modulus;
  return static_cast<int>(r < 0 ? r + modulus : r);
}

int Entry(int64_t index) { return jRand_Txt[Reduce(index, kRandTableSize)]; }

// A draw counter that would pass the 32-bit maximum starts again at 0.
int CountOn(int counter, int step) {
  int64_t next = static_cast<int64_t>(counter) + step;
  return next > INT_MAX || next < 0 ? 0 : static_cast<int>(next);
}

float Scale(float a, float b, int out) { return a + (b - a) * RandomUnit(out); }

// Floor to int; values beyond the int range saturate and NaN gives 0, since
// converting them directly would be undefined.
int FloorToInt(float value) {
  if (std::isnan(value)) return 0;
  float whole = std::floor(value);
  if (whole >= static_cast<float>(INT_MAX)) return INT_MAX;
  if (whole <= static_cast<float>(INT_MIN)) return INT_MIN;
  return static_cast<int>(whole);
}

}  // namespace

// ---- Seeding ----

// A negative seed starts the table index at its remainder in 0..255. The
// running sum stays seed / 256 + GameNum; only a game number near the int
// limits, where that sum would overflow, has it reduced.
void VeskCore::SeedRnd(int seed) {
  jRand_Seed = seed;
  jRand_Bit = Reduce(seed, kRandTableSize);
  int64_t plus = static_cast<int64_t>(seed / kRandTableSize) + GameNum;
  if (plus > INT_MAX || plus < INT_MIN) plus %= kPlusModulusB;
  jRand_Plus = static_cast<int>(plus);
  jRand_Count = 0;
  jRand_Out = 0;
}

void VeskCore::SeedRnd() { SeedRnd(Mills()); }

// ---- The seeded sequence ----

namespace {

// Whether the next draw may take the short path: a seed of 0 or more, the
// table index and the running sum inside the ranges every draw leaves them
// in, and a counter that does not restart. Every seed of 0 or more with a
// small game number reaches such a state at once and keeps it for about 300
// million draws.
bool ShortDrawFits() {
  return jRand_Seed >= 0 && jRand_Bit >= 0 && jRand_Bit < kRandTableSize && jRand_Plus >= 0 &&
         jRand_Plus < kPlusModulusB && jRand_Count <= INT_MAX - kCountStep;
}

// One draw in unsigned 32-bit arithmetic: every sum stays below 2^32 and so
// equals the 64-bit sum, and every remainder is that of the checked path.
// What links one draw to the next (index, running sum) goes through two
// table reads and two remainders; those remainders are taken of sums whose
// other parts were reduced beforehand (count mod A, seed mod B, computed
// beside the chain), so they need one or two subtractions instead of a
// division: T + plus + (count mod A) < 3A, T + plus1 + (seed mod B) < 2B.
// As plain branches these subtractions cost least: with the counter small
// (games reseed often) they are almost never taken and are predicted so,
// while a conditional move would lengthen the chain on every draw.
void ShortDraw() {
  const uint32_t count = static_cast<uint32_t>(jRand_Count) + kCountStep;
  const uint32_t countA = count % kPlusModulusA;
  const uint32_t seedB = static_cast<uint32_t>(jRand_Seed) % kPlusModulusB;
  const uint32_t plus0 = static_cast<uint32_t>(jRand_Plus);
  const uint32_t bit1 = (static_cast<uint32_t>(jRand_Bit) + plus0) % kRandTableSize;
  uint32_t plus1 = static_cast<uint32_t>(jRand_Txt[bit1]) + (plus0 + countA);
  if (plus1 >= kPlusModulusA) plus1 -= kPlusModulusA;
  if (plus1 >= kPlusModulusA) plus1 -= kPlusModulusA;
  const uint32_t bit2 = (bit1 + plus1) % kRandTableSize;
  uint32_t plus2 = static_cast<uint32_t>(jRand_Txt[bit2]) + (plus1 + seedB);
  if (plus2 >= kPlusModulusB) plus2 -= kPlusModulusB;
  const uint32_t bit3 = (bit2 + plus2 + count) % kRandTableSize;
  uint32_t out = static_cast<uint32_t>(jRand_Txt[bit3] + jRand_Txt[count % kRandTableSize]);
  out = (out * kOutShiftA + bit3 + count) % kOutModulusA;
  out = (out * kOutShiftB + plus2) % kOutModulusB;
  jRand_Count = static_cast<int>(count);
  jRand_Bit = static_cast<int>(bit3);
  jRand_Plus = static_cast<int>(plus2);
  jRand_Out = static_cast<int>(out);
}

// Any state: sums in 64 bits, remainders taken into 0..m-1.
void CheckedDraw() {
  jRand_Count = CountOn(jRand_Count, kCountStep);
  int64_t count = jRand_Count;
  jRand_Bit = Reduce(static_cast<int64_t>(jRand_Bit) + jRand_Plus, kRandTableSize);
  jRand_Plus = Reduce(Entry(jRand_Bit) + count + jRand_Plus, kPlusModulusA);
  jRand_Bit = Reduce(static_cast<int64_t>(jRand_Bit) + jRand_Plus, kRandTableSize);
  jRand_Plus =
      Reduce(static_cast<int64_t>(Entry(jRand_Bit)) + jRand_Plus + jRand_Seed, kPlusModulusB);
  jRand_Bit = Reduce(static_cast<int64_t>(jRand_Bit) + jRand_Plus + count, kRandTableSize);
  jRand_Out = Entry(jRand_Bit) + Entry(count);
  jRand_Out =
      Reduce(static_cast<int64_t>(jRand_Out) * kOutShiftA + jRand_Bit + count, kOutModulusA);
  jRand_Out = Reduce(static_cast<int64_t>(jRand_Out) * kOutShiftB + jRand_Plus, kOutModulusB);
}

}  // namespace

float VeskCore::Rnd(float a, float b) {
  if (ShortDrawFits()) {
    ShortDraw();
  } else {
    CheckedDraw();
  }
  return Scale(a, b, jRand_Out);
}

float VeskCore::Rnd(float x) { return Rnd(0, x); }

int VeskCore::Rand(float a, float b) {
  return FloorToInt(Rnd(a, static_cast<float>(b + kWholeRangeTop)));
}

int VeskCore::Rand(float x) { return FloorToInt(Rnd(0, static_cast<float>(x + kWholeRangeTop))); }

// ---- Clock-mixed draws ----

// Reads the seeded state but writes only jRand_tSeed, so the seeded sequence
// goes on as if the draw had not happened.
float VeskCore::tRnd(float a, float b) {
  jRand_tSeed = CountOn(jRand_tSeed, 1);
  int64_t s = jRand_tSeed;
  int64_t m = Mills();
  int64_t m2 = Mills();
  int64_t plus = jRand_Plus;
  int64_t bit = Reduce(m + m2 + kClockMix + 2 * plus, kRandTableSize);
  plus = Reduce(Entry(bit) + m + plus, kPlusModulusA);
  bit = Reduce(bit + plus, kRandTableSize);
  plus = Reduce(Entry(bit) + plus + s, kPlusModulusB);
  bit = Reduce(bit + plus + m, kRandTableSize);
  int64_t out = Entry(bit) + s + Entry(m);
  out = Reduce(out * kOutShiftA + bit + m, kOutModulusA);
  out = Reduce(out * kOutShiftB + plus + kCountStep * s, kOutModulusB);
  return Scale(a, b, static_cast<int>(out));
}

float VeskCore::tRnd(float x) { return tRnd(0, x); }

int VeskCore::tRand(float a, float b) {
  return FloorToInt(tRnd(a, static_cast<float>(b + kWholeRangeTop)));
}

int VeskCore::tRand(float x) { return FloorToInt(tRnd(0, static_cast<float>(x + kWholeRangeTop))); }
