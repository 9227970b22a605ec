// A run without an audio device (OpenAL Soft given only a backend that does
// not exist): start-up logs its one line, loading, effects and music go on
// silently without harm, and shutdown still logs its line. The tests run in
// order: start-up, use, shutdown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"

using namespace audiotest;

namespace {

struct SilentGame : VeskCore {};
SilentGame game;

constexpr int kRate = 44100;

class NoDevice : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    GameNum = 1;
    startLines = new std::vector<std::string>(LogOf([] { ASys.OpenAudio(); }));
  }
  static void TearDownTestSuite() {
    delete startLines;
    startLines = nullptr;
  }
  static std::vector<std::string>* startLines;
};
std::vector<std::string>* NoDevice::startLines;

TEST_F(NoDevice, StartUpLogsOnlyTheDeviceError) {
  EXPECT_EQ(*startLines, std::vector<std::string>{"Audio Device Error"});
  EXPECT_EQ(ALdev, nullptr);
  EXPECT_EQ(ALctx, nullptr);
  EXPECT_EQ(AudioEnabled, 0);
  EXPECT_STREQ(game.AudioDevice(), "");  // the game can tell that it runs silent
}

TEST_F(NoDevice, SoundsStillLoadAndPlayWithoutHarm) {
  WriteFile("Data/1/audio/01.wav", SimpleWav(1, kRate, Sine16(1, kRate, 440, 100, 0.5)));
  const std::vector<std::string> lines = LogOf([] { game.LoadSFX(1); });
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Load Wave 1");
  // The file is still parsed without a device.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "     Load 200 bytes"), lines.end());
  EXPECT_EQ(ALbufferActive[1], 1);

  for (int i = 0; i < 40; i++) game.PlaySFX(1);
  EXPECT_EQ(ALChannel, 40 % kEffectChannels);  // the rotation goes on
}

TEST_F(NoDevice, MusicStartsAndStopsWithoutHarm) {
  WriteFile("Data/1/audio/tune.wav", SimpleWav(2, kRate, Sine16(2, kRate, 440, 20000, 0.5)));
  const std::string errors = StderrOf([] { game.PlayMusic("tune.wav"); });
  EXPECT_NE(errors.find("Error Opening WAV stream :(\n"), std::string::npos) << errors;
  EXPECT_EQ(ASys.MusicPlaying, 1);
  LogOf([] {
    for (int i = 0; i < 20; i++) game.MusicHandler();
  });
  game.StopMusic();
  EXPECT_EQ(ASys.MusicPlaying, 0);
  EXPECT_EQ(MusicFile, nullptr);

  ASSERT_TRUE(CopyFixture("stereo.ogg", "Data/1/audio/tune.ogg"));
  const std::string oggErrors = StderrOf([] { game.PlayMusic("tune.ogg"); });
  EXPECT_NE(oggErrors.find("Error Opening OGG stream :(\n"), std::string::npos) << oggErrors;
  EXPECT_EQ(ASys.MusicPlaying, 2);
  LogOf([] {
    for (int i = 0; i < 20; i++) game.MusicHandler();
  });
}

TEST_F(NoDevice, ShutdownStillLogsItsLineAndReleasesTheStream) {
  EXPECT_EQ(LogOf([] { ASys.CloseAudio(); }), std::vector<std::string>{"Closing OpenAL Audio"});
  EXPECT_EQ(MusicFile, nullptr);
  EXPECT_EQ(OggFile, nullptr);
  EXPECT_EQ(ASys.MusicPlaying, 0);
  for (int slot = 0; slot < kSoundSlots; slot++) EXPECT_EQ(ALbufferActive[slot], 0);
}

}  // namespace
