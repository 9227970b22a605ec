// Truncated and fuzzed music files on OpenAL Soft's silent device: every
// start either logs its message or streams, and nothing crashes or reads out
// of bounds under the sanitizers.
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

TEST(MusicFuzz, TruncatedAndFuzzedStreamsPlaySafely) {
  GameNum = 1;
  LogOf([] { ASys.OpenAudio(); });
  const std::string ogg = ReadFile(FixturePath("stereo.ogg"));
  const std::string wav = ToneWav();
  ASSERT_GT(ogg.size(), 1000u);

  std::mt19937 random(77);
  int started = 0;
  for (int round = 0; round < 240; round++) {
    const bool isOgg = round % 2 == 0;
    std::string bytes = isOgg ? ogg : wav;
    if (round < 80) {
      bytes.resize(random() % bytes.size());
    } else {
      for (int i = 0; i < 1 + int(random() % 20); i++) {
        bytes[random() % bytes.size()] = char(random() & 0xFF);
      }
    }
    const std::string name = isOgg ? "fuzz.ogg" : "fuzz.wav";
    WriteFile("Data/1/audio/" + name, bytes);
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
