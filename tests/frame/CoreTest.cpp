// Clock, title and game number of VeskCore, what the game runs on, and the
// operating-system seam under them, without a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "VeskFrame.h"
#include "frame/Platform.h"

namespace {

VeskCore Core;

TEST(Clock, CountsUpMonotonicallyInMilliseconds) {
  int last = Core.Mills();
  EXPECT_GE(last, 0);
  for (int i = 0; i < 1000; i++) {
    const int now = Core.Mills();
    ASSERT_GE(now, last);
    last = now;
  }
  Core.Rest(30);
  EXPECT_GE(Core.Mills() - last, 30);
}

TEST(Clock, SetNumRestartsTheClockNearZero) {
  Core.Rest(50);
  const int before = Core.Mills();
  ASSERT_GE(before, 50);
  Core.SetNum(7);
  EXPECT_EQ(Core.GetNum(), 7);
  EXPECT_EQ(GameNum, 7);
  EXPECT_LT(Core.Mills(), before);
  EXPECT_GE(Core.Mills(), 0);
  // The new start tick is the raw clock value, which had passed `before`.
  EXPECT_GE(Core.StartTick(), before);
}

TEST(Clock, RestIgnoresZeroAndNegativeDurations) {
  Core.SetNum(1);
  Core.Rest(0);
  Core.Rest(-1000);
  EXPECT_LT(Core.Mills(), 1000);
}

TEST(Title, SetTitleIsReturnedByGetTitle) {
  Core.SetTitle("Second title");
  EXPECT_STREQ(Core.GetTitle(), "Second title");
  Core.SetTitle(nullptr);
  EXPECT_STREQ(Core.GetTitle(), "");
}

TEST(Title, OverlongTitleIsCutToTheBuffer) {
  const std::string longTitle(3 * kTextBufferSize, 'x');
  Core.SetTitle(longTitle.c_str());
  EXPECT_EQ(std::strlen(Core.GetTitle()), static_cast<size_t>(kTextBufferSize - 1));
  EXPECT_EQ(longTitle.compare(0, kTextBufferSize - 1, Core.GetTitle()), 0);
}

// Every mode is binary, and the rest of the mode is kept: "w+" still reads
// back what it wrote, "\r\n" and a zero byte come back unchanged.
// No window: no GL context to ask and no display known.
TEST(RunsOn, WithoutAWindowNothingIsKnown) {
  EXPECT_STREQ(Core.GLRenderer(), "");
  EXPECT_STREQ(Core.GLVersion(), "");
  EXPECT_EQ(Core.MonitorWidth(), 0);
  EXPECT_EQ(Core.MonitorHeight(), 0);
}

TEST(PlatformFiles, OpenKeepsTheModeAndTheBytes) {
  const char bytes[] = {'a', '\r', '\n', 0, 'z'};
  FILE* file = PlatformOpenFile("seam.bin", "w+");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(bytes, 1, sizeof bytes, file), sizeof bytes);
  std::rewind(file);
  char back[sizeof bytes] = {};
  EXPECT_EQ(std::fread(back, 1, sizeof back, file), sizeof back);
  EXPECT_EQ(std::memcmp(back, bytes, sizeof bytes), 0);
  std::fclose(file);

  file = PlatformOpenFile("seam.bin", "rb");
  ASSERT_NE(file, nullptr);
  std::fseek(file, 0, SEEK_END);
  EXPECT_EQ(std::ftell(file), static_cast<long>(sizeof bytes));
  std::fclose(file);
  std::remove("seam.bin");
}

TEST(PlatformFiles, MissingFilesAndNullArgumentsGiveNull) {
  EXPECT_EQ(PlatformOpenFile("no-such-folder/none.wav", "r"), nullptr);
  EXPECT_EQ(PlatformOpenFile(nullptr, "rb"), nullptr);
  EXPECT_EQ(PlatformOpenFile("seam.bin", nullptr), nullptr);
}

}  // namespace
