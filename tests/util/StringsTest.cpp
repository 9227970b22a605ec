// String helpers: examples per helper, the not-found marker, saturating
// number reading, results that alias Tempstr, over-long results, and fuzzed
// bytes through every helper with invariants that hold for any input.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "VeskFrame.h"

namespace {

VeskCore core;
const std::string kMarker = "-=+=-";

TEST(FormatTest, FormatsHexAndUnsignedDigits) {
  EXPECT_STREQ(core.fstr("%s=%03i", "n", 7), "n=007");
  EXPECT_EQ(core.fstr("x"), core.Tempstr);
  core.tstr("Data/%i/audio/%s.wav", 1, "chime");
  EXPECT_STREQ(core.Tempstr, "Data/1/audio/chime.wav");
  EXPECT_STREQ(core.Hex(255), "FF");
  EXPECT_STREQ(core.Hex(-1), "FFFFFFFF");
  EXPECT_STREQ(core.Bin(5), "5");
  EXPECT_STREQ(core.Bin(-1), "4294967295");
}

TEST(FormatTest, EachResultClearsTheOldOneAndShowsThroughOldPointers) {
  std::string longText(900, 'q');
  core.fstr("%s", longText.c_str());
  const char* left = core.Left("abc", 2);
  for (int i = 2; i < 1023; i++) ASSERT_EQ(core.Tempstr[i], 0) << i;
  core.fstr("new");
  EXPECT_STREQ(left, "new");
}

TEST(FormatTest, ResultsLongerThanTheBufferAreCut) {
  std::string text(3000, 'x');
  text[1022] = 'y';
  text[1023] = 'z';
  const std::string cut = text.substr(0, 1023);
  EXPECT_EQ(core.fstr("%s", text.c_str()), cut);
  EXPECT_EQ(core.Left(text.c_str(), -1), cut);
  EXPECT_EQ(core.Mid(text.c_str(), 0, 2000), cut);
  EXPECT_EQ(core.Trim(text.c_str()), cut);
  EXPECT_EQ(core.Split(text.c_str(), ',', 1), cut);
  EXPECT_EQ(core.iniRight(("k=" + text).c_str()), cut);
  EXPECT_EQ(core.Right(text.c_str(), 2000), text.substr(1000, 1023));
  EXPECT_EQ(core.Tempstr[1023], 0);
}

// Text that lies in Tempstr itself is read before the buffer is rewritten.
TEST(FormatTest, SourcesInsideTempstrAreSafe) {
  core.fstr("abcdef");
  EXPECT_STREQ(core.fstr("%s!", core.Tempstr), "abcdef!");
  EXPECT_STREQ(core.fstr("%s%s", core.Tempstr, core.Tempstr), "abcdef!abcdef!");
  EXPECT_STREQ(core.Left(core.Tempstr, 3), "abc");
  core.fstr("  key = a,b  ");
  EXPECT_STREQ(core.Trim(core.Tempstr), "key = a,b");
  EXPECT_STREQ(core.iniRight(core.Tempstr), " a,b");
  EXPECT_STREQ(core.Split(core.Tempstr, ',', 2), "b");
  core.fstr("abcdef");
  EXPECT_STREQ(core.Mid(core.Tempstr + 1, 1, 3), "cde");
  EXPECT_STREQ(core.Right(core.Tempstr, 2), "de");
}

TEST(TextToNumberTest, ReadsLikeStrtolAndSaturates) {
  struct Case {
    const char* text;
    int hex, bin, dec;
  } cases[] = {
      {"ff", 255, 0, 0},
      {"101", 257, 5, 101},
      {"  -0X1f", -31, 0, 0},
      {"80000000", INT_MAX, 0, 80000000},
      {"-2147483649", INT_MIN, 0, INT_MIN},
      {"123456789012345678901234567890", INT_MAX, 1, INT_MAX},
      {"-111111111111111111111111111111111111111", INT_MIN, INT_MIN, INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(core.HexToInt(c.text), c.hex) << c.text;
    EXPECT_EQ(core.BinToInt(c.text), c.bin) << c.text;
    EXPECT_EQ(core.ToInt(c.text), c.dec) << c.text;
  }
  EXPECT_EQ(core.ToInt(nullptr), 0);
}

TEST(SubstringTest, KeyValueHalves) {
  EXPECT_STREQ(core.iniLeft("volume=7"), "volume");
  EXPECT_STREQ(core.iniRight("volume=7"), "7");
  EXPECT_STREQ(core.iniRight("a=b=c"), "b=c");
  EXPECT_STREQ(core.iniLeft("key = value"), "key ");
  EXPECT_STREQ(core.iniLeft("=x"), "");
  EXPECT_STREQ(core.iniRight("x="), "");
  core.fstr("kept");
  EXPECT_EQ(core.iniLeft("novalue"), kMarker);
  EXPECT_EQ(core.iniRight("novalue"), kMarker);
  EXPECT_NE(core.iniRight("novalue"), core.Tempstr);
  EXPECT_STREQ(core.Tempstr, "kept");
}

TEST(SubstringTest, TrimTreatsControlAndHighBytesAsBlank) {
  EXPECT_STREQ(core.Trim("  abc  "), "abc");
  EXPECT_STREQ(core.Trim(""), "");
  EXPECT_STREQ(core.Trim(" \t\r\n "), "");
  EXPECT_STREQ(core.Trim("x"), "x");
  EXPECT_STREQ(core.Trim("\xC8"
                         "a b\xFF"),
               "a b");
  EXPECT_STREQ(core.Trim(nullptr), "");
}

// Starts and counts outside the text are clamped into it.
TEST(SubstringTest, MidLeftRightWithClampedArguments) {
  EXPECT_STREQ(core.Left("abc", 5), "abc");
  EXPECT_STREQ(core.Left("abc", -1), "abc");
  EXPECT_STREQ(core.Left("abc", 0), "");
  EXPECT_STREQ(core.Mid("abcdef", 2, 3), "cde");
  EXPECT_STREQ(core.Mid("abcdef", 2, -1), "cdef");
  EXPECT_STREQ(core.Mid("abcdef", -3, 2), "ab");
  EXPECT_STREQ(core.Mid("abc", 10, 2), "");
  EXPECT_STREQ(core.Mid("abc", INT_MAX, INT_MAX), "");
  EXPECT_STREQ(core.Right("abcdef", 2), "ef");
  EXPECT_STREQ(core.Right("abc", 0), "");
  EXPECT_STREQ(core.Right("abc", 5), "abc");
  EXPECT_STREQ(core.Right("abc", -1), "");
  EXPECT_STREQ(core.Right("abc", INT_MIN), "");
}

TEST(SubstringTest, SplitFields) {
  EXPECT_STREQ(core.Split("a,,b", ',', 2), "");
  EXPECT_STREQ(core.Split("a,,b", ',', 3), "b");
  EXPECT_STREQ(core.Split("abc", ',', 1), "abc");
  EXPECT_EQ(core.Split("abc", ',', 2), kMarker);
  EXPECT_STREQ(core.Split("a,b,", ',', 1), "a");
  EXPECT_STREQ(core.Split("a,b,", ',', 2), "b,");
  EXPECT_EQ(core.Split("a,b,", ',', 3), kMarker);
  EXPECT_STREQ(core.Split(",a", ',', 1), "");
  EXPECT_EQ(core.Split("a,b", ',', 0), kMarker);
  EXPECT_EQ(core.Split("a,b", ',', -1), kMarker);
  EXPECT_EQ(core.Split("", ',', 1), kMarker);
  EXPECT_STREQ(core.Split("a\xC8"
                          "b",
                          -56, 2),
               "b");
}

TEST(ChecksumTest, KnownTotals) {
  EXPECT_EQ(core.Checksum("abc", 0), 3530);
  EXPECT_EQ(core.Checksum("abc", 1), 403);
  GameNum = 1;
  EXPECT_EQ(core.Checksum("abc"), 403);
  for (int key : {0, 1, -9, INT_MAX}) EXPECT_EQ(core.Checksum("", key), 0);
  EXPECT_EQ(core.Checksum("\xFF", 0), -11);  // weight 11 times -1
  // Weight 11 + INT_MAX wraps to INT_MIN + 10; times 'a' it wraps to
  // INT_MIN + 970, whose remainder is -796.
  EXPECT_EQ(core.Checksum("a", INT_MAX), -796);
}

TEST(TrigTest, DegreesWithTheFixedConstant) {
  EXPECT_NEAR(core.Sin(90), 1.0f, 1e-6);
  EXPECT_NEAR(core.Cos(180), -1.0f, 1e-6);
  EXPECT_NEAR(core.Sin(30), 0.5f, 1e-6);
  // 180 * (pi/180 - 0.0174532925) = 3.5898e-9: a full-precision constant gives ~1e-16.
  EXPECT_NEAR(core.Sin(180), 3.5898e-9f, 1e-12);
}

// Random bytes, starts and counts through every helper under the sanitizers.
TEST(FuzzTest, RandomTextsKeepTheHelpersInvariants) {
  std::mt19937 gen(12345);
  for (int round = 0; round < 3000; round++) {
    std::string text(gen() % 1500, ' ');
    for (char& c : text) c = static_cast<char>(gen() % 255 + 1);
    const char* t = text.c_str();
    int n = static_cast<int>(gen() % 2000) - 200;
    const size_t expect = std::min<size_t>(text.size(), 1023);
    ASSERT_EQ(core.Left(t, -1), text.substr(0, expect));
    ASSERT_LE(strlen(core.Mid(t, n, n)), 1023u);
    ASSERT_LE(strlen(core.Right(t, n)), 1023u);
    ASSERT_LE(strlen(core.Trim(t)), 1023u);
    const char* field = core.Split(t, static_cast<signed char>(t[0]), 2 + n % 5);
    ASSERT_TRUE(field == core.Tempstr || field == kMarker);
    ASSERT_LE(std::abs(core.Checksum(t, n)), 3716);
  }
}

int Clamped(long long value) {
  return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

// The C library's reader, clamped to int, is the reference for number texts.
TEST(FuzzTest, NumberTextsReadLikeTheClampedLibraryReader) {
  std::mt19937 gen(99);
  const char alphabet[] = " \t-+0123456789acdefxXz";
  for (int round = 0; round < 20000; round++) {
    std::string text(gen() % 40, ' ');
    for (char& c : text) c = alphabet[gen() % (sizeof alphabet - 1)];
    const char* t = text.c_str();
    ASSERT_EQ(core.ToInt(t), Clamped(strtoll(t, nullptr, 10))) << t;
    ASSERT_EQ(core.HexToInt(t), Clamped(strtoll(t, nullptr, 16))) << t;
    ASSERT_EQ(core.BinToInt(t), Clamped(strtoll(t, nullptr, 2))) << t;
  }
}

// Without a trailing separator the fields rejoin to the original text.
TEST(FuzzTest, SplitFieldsRejoinToTheText) {
  std::mt19937 gen(777);
  for (int round = 0; round < 500; round++) {
    std::string text(gen() % 60 + 1, 'a');
    for (char& c : text) c = "ab,"[gen() % 3];
    if (text.back() == ',') text.back() = 'b';
    std::string joined;
    for (int i = 1; core.Split(text.c_str(), ',', i) != kMarker; i++) {
      joined += (i > 1 ? "," : "") + std::string(core.Tempstr);
    }
    ASSERT_EQ(joined, text);
  }
}

}  // namespace
