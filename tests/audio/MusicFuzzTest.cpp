// Music files with several bytes scrambled at once, on OpenAL Soft's silent
// device, streamed for many refills: every start either logs its message or
// streams, and nothing crashes or reads out of bounds under the sanitizers.
// (Every cut, and every single changed byte, is the mutation test's:
// tests/fuzz/MutationTest.cpp.)
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"
#include "audio/MusicStreamKit.h"

using namespace audiotest;

namespace {

struct FuzzGame : VeskCore {};
FuzzGame game;

constexpr int kRounds = 160;
constexpr int kMostScrambled = 20;  // bytes a round

TEST(MusicFuzz, ScrambledStreamsPlaySafely) {
  GameNum = 1;
  LogOf([] { ASys.OpenAudio(); });
  const std::string ogg = ReadFile(FixturePath("stereo.ogg"));
  const std::string wav = ToneWav();
  ASSERT_GT(ogg.size(), 1000u);

  std::mt19937 random(77);
  int started = 0;
  for (int round = 0; round < kRounds; round++) {
    const bool isOgg = round % 2 == 0;
    std::string bytes = isOgg ? ogg : wav;
    for (int i = 0; i < 1 + int(random() % kMostScrambled); i++) {
      bytes[random() % bytes.size()] = char(random() & 0xFF);
    }
    const std::string name = isOgg ? "fuzz.ogg" : "fuzz.wav";
    ASSERT_TRUE(WriteFile("Data/1/audio/" + name, bytes));
    const std::vector<std::string> lines = LogOf([&name] { game.PlayMusic(name.c_str(), 0); });
    if (lines.empty() || lines[0].rfind("Error Opening", 0) != 0) started++;
    LogOf([] { MoreBlocks(60); });
  }
  EXPECT_GT(started, 0);  // the mutations leave some files playable
  LogOf([] { ASys.CloseAudio(); });
  EXPECT_EQ(MusicFile, nullptr);
  EXPECT_EQ(OggFile, nullptr);
}

}  // namespace
