// Music streaming on OpenAL Soft's silent device: which names start which
// stream, the settings and when they reach the source, the priming counter
// and the restart of a source that ran dry, what each refill queues (read
// back as buffer sizes), failed starts, open files after many starts and
// the query whether music plays.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"
#include "audio/MusicStreamKit.h"

using namespace audiotest;

namespace {

struct MusicGame : VeskCore {};
MusicGame game;

using Lines = std::vector<std::string>;
constexpr int kRate = kStreamRate;
constexpr int kBlockBytes = kStreamBlockBytes;

unsigned Source() { return ALsource[kMusicSource]; }
ALint SourceInt(ALenum what) { return MusicSourceInt(what); }

class Music : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    GameNum = 1;
    LogOf([] { ASys.OpenAudio(); });
    WriteFile("Data/1/audio/tone.wav", ToneWav());
    // mono.ogg: 1 s at 660 Hz; stereo.ogg: 0.5 s at 880 Hz (tests/support/MakeFixtures.cpp).
    ASSERT_TRUE(CopyFixture("mono.ogg", "Data/1/audio/mono.ogg"));
    ASSERT_TRUE(CopyFixture("stereo.ogg", "Data/1/audio/stereo.ogg"));
  }
  static void TearDownTestSuite() {
    LogOf([] { ASys.CloseAudio(); });
  }
  void SetUp() override {
    GameNum = 1;
    game.StopMusic();
  }
};

// ---- Names and settings ----

TEST_F(Music, EndingsChooseTheStreamKind) {
  EXPECT_EQ(LogOf([] { game.PlayMusic("theme.OGG"); }), Lines{"Error Opening Ogg"});
  EXPECT_EQ(LogOf([] { game.PlayMusic("theme.Wav"); }),
            Lines{"Error Opening Wave - Data/1/audio/theme.Wav"});
  GameNum = 3;
  EXPECT_EQ(LogOf([] { game.PlayMusic("a.WAV"); }),
            Lines{"Error Opening Wave - Data/3/audio/a.WAV"});
  GameNum = 1;

  LogOf([] { game.PlayMusic("tone.wav"); });
  EXPECT_EQ(ASys.MusicPlaying, 1);
  for (const char* refused : {"theme.oGg", "theme.mp3", "tone.wav.bak", "ogg", "", "a.og"}) {
    EXPECT_EQ(LogOf([refused] { game.PlayMusic(refused); }), Lines{}) << refused;
    EXPECT_EQ(ASys.MusicPlaying, 1) << refused;  // the piece playing goes on
  }
  EXPECT_EQ(LogOf([] { game.PlayMusic(nullptr); }), Lines{});
  EXPECT_EQ(ASys.MusicPlaying, 1);

  LogOf([] { game.PlayMusic("mono.ogg"); });
  EXPECT_EQ(ASys.MusicPlaying, 2);
  // A name left in Tempstr by an earlier string helper.
  LogOf([] { game.PlayMusic(game.fstr("tone.wav")); });
  EXPECT_EQ(ASys.MusicPlaying, 1);
}

TEST_F(Music, LoopArgumentLoopsOnlyForOne) {
  const int loops[] = {1, 0, 2, -1};
  for (int loop : loops) {
    LogOf([loop] { game.PlayMusic("tone.wav", loop); });
    EXPECT_EQ(ASys.MusicLoop, loop == 1 ? 1 : 0) << loop;
    BlocksFromStart(20);
    EXPECT_EQ(ASys.MusicPlaying, loop == 1 ? 1 : 0) << loop;
  }
  LogOf([] { game.PlayMusic("tone.wav"); });
  EXPECT_EQ(ASys.MusicLoop, 1);
}

// The query follows the stream: a start, a loop, the end of a piece played
// once, a stop and a failed start.
TEST_F(Music, IsMusicPlayingFollowsTheStream) {
  EXPECT_EQ(game.IsMusicPlaying(), 0);
  LogOf([] { game.PlayMusic("stereo.ogg"); });
  EXPECT_EQ(game.IsMusicPlaying(), 1);
  BlocksFromStart(20);  // loops: many times the piece
  EXPECT_EQ(game.IsMusicPlaying(), 1);
  game.StopMusic();
  EXPECT_EQ(game.IsMusicPlaying(), 0);

  LogOf([] { game.PlayMusic("tone.wav", 0); });
  EXPECT_EQ(game.IsMusicPlaying(), 1);
  BlocksFromStart(20);
  EXPECT_EQ(game.IsMusicPlaying(), 0);

  LogOf([] { game.PlayMusic("mono.ogg"); });
  LogOf([] { game.PlayMusic("missing.ogg"); });
  EXPECT_EQ(game.IsMusicPlaying(), 0);
}

TEST_F(Music, SettingsAreClampedAndReachTheSourceAtTheNextHandlerCall) {
  game.MusicPitch(8);
  EXPECT_FLOAT_EQ(ASys.MusicPitchValue, 4.0f);
  game.MusicPitch(0);
  EXPECT_FLOAT_EQ(ASys.MusicPitchValue, 0.25f);
  game.MusicPitch(std::nanf(""));
  EXPECT_FLOAT_EQ(ASys.MusicPitchValue, 0.25f);
  game.MusicVolume(-1);
  EXPECT_FLOAT_EQ(ASys.MusicVolumeValue, 0.0f);
  game.MusicVolume(3);
  EXPECT_FLOAT_EQ(ASys.MusicVolumeValue, 1.0f);
  game.MusicPan(5);
  EXPECT_FLOAT_EQ(ASys.MusicPanValue, 1.0f);
  game.MusicPan(-5);
  EXPECT_FLOAT_EQ(ASys.MusicPanValue, -1.0f);

  // Set before the start: the start resets them.
  game.MusicVolume(0.5f);
  LogOf([] { game.PlayMusic("tone.wav"); });
  EXPECT_FLOAT_EQ(ASys.MusicVolumeValue, 1.0f);
  EXPECT_FLOAT_EQ(ASys.MusicPitchValue, 1.0f);
  EXPECT_FLOAT_EQ(ASys.MusicPanValue, 0.0f);

  game.MusicVolume(0.5f);
  game.MusicPitch(2.0f);
  game.MusicPan(0.5f);
  ALfloat gain = 0;
  alGetSourcef(Source(), AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 1.0f);  // not yet
  game.MusicHandler();
  ALfloat pitch = 0, position[3] = {9, 9, 9};
  alGetSourcef(Source(), AL_GAIN, &gain);
  alGetSourcef(Source(), AL_PITCH, &pitch);
  alGetSourcefv(Source(), AL_POSITION, position);
  EXPECT_FLOAT_EQ(gain, 0.5f);
  EXPECT_FLOAT_EQ(pitch, 2.0f);
  EXPECT_FLOAT_EQ(position[0], -0.5f);
}

// ---- The ring ----

TEST_F(Music, PrimingFillsFourBuffersThenWaitsForAFinishedOne) {
  LogOf([] { game.PlayMusic("tone.wav"); });
  EXPECT_EQ(MusicBufferTick, -2);
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 1);
  EXPECT_EQ(SourceInt(AL_SOURCE_STATE), AL_PLAYING);
  for (int i = 0; i < 3; i++) game.MusicHandler();
  EXPECT_EQ(MusicBufferTick, 1);
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 4);
  // Held still, the source finishes nothing: the full ring waits.
  alSourcePause(Source());
  const long position = std::ftell(MusicFile);
  for (int i = 0; i < 10; i++) game.MusicHandler();
  EXPECT_EQ(MusicBufferTick, 1);
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 4);
  EXPECT_EQ(std::ftell(MusicFile), position);
}

// A source that played out its whole queue is started again with new
// blocks only, not with the four it has already played.
TEST_F(Music, ASourceThatRanDryStartsAgainWithFreshBlocks) {
  LogOf([] { game.PlayMusic("tone.wav"); });
  for (int i = 0; i < 3; i++) game.MusicHandler();
  ASSERT_EQ(SourceInt(AL_BUFFERS_QUEUED), 4);
  alSourceStop(Source());  // as when the game stopped calling MusicHandler
  const long position = std::ftell(MusicFile);
  game.MusicHandler();
  EXPECT_EQ(SourceInt(AL_SOURCE_STATE), AL_PLAYING);
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 1);
  EXPECT_EQ(std::ftell(MusicFile), position + kBlockBytes);  // went on where it stopped
  for (int i = 0; i < 3; i++) game.MusicHandler();
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 4);
}

// ---- What the refills queue ----

TEST_F(Music, WavStreamPlaysItsWholeDataChunkAndNothingElse) {
  LogOf([] { game.PlayMusic("tone.wav", 0); });
  const std::vector<int> sizes = BlocksFromStart(20);
  std::vector<int> expected(kToneBytes / kBlockBytes, kBlockBytes);
  expected.push_back(kToneBytes % kBlockBytes);
  EXPECT_EQ(sizes, expected);
  EXPECT_EQ(ASys.MusicPlaying, 0);
}

TEST_F(Music, LoopingWavRestartsAtItsFirstSample) {
  const std::string bytes = ToneWav();
  const long firstSample = long(bytes.find("data")) + 8;
  LogOf([] { game.PlayMusic("tone.wav"); });
  EXPECT_EQ(std::ftell(MusicFile), firstSample + kBlockBytes);
  const std::vector<int> sizes = BlocksFromStart(7);
  EXPECT_EQ(Sum(sizes), kToneBytes);
  EXPECT_EQ(std::ftell(MusicFile), firstSample);
  EXPECT_EQ(MoreBlocks(7), sizes);  // the second pass is the first again
  EXPECT_EQ(ASys.MusicPlaying, 1);
}

TEST_F(Music, DataOfPartFramesStreamsTheWholeFrames) {
  const std::string samples = Sine16(2, kRate, 440, 5000, 0.5) + "xyz";  // 20,003 bytes
  WriteFile("Data/1/audio/odd.wav",
            Riff(Chunk("fmt ", FormatBody(2, 16, kRate)) + Chunk("data", samples, true)));
  LogOf([] { game.PlayMusic("odd.wav", 0); });
  EXPECT_EQ(Sum(BlocksFromStart(20)), 20000);
  EXPECT_EQ(ASys.MusicPlaying, 0);
}

TEST_F(Music, CutOffDataChunkStreamsTheSamplesTheFileHolds) {
  const std::string good = ToneWav();
  const size_t firstSample = good.find("data") + 8;
  const int held = 3 * kBlockBytes + 1000;  // whole 16-bit stereo frames
  WriteFile("Data/1/audio/cut.wav", good.substr(0, firstSample + held));
  std::string unsized = good;  // as a writer that streams leaves it: size 0xFFFFFFFF
  unsized.replace(firstSample - 4, 4, std::string(4, '\xff'));
  WriteFile("Data/1/audio/unsized.wav", unsized);

  LogOf([] { game.PlayMusic("cut.wav", 0); });
  EXPECT_EQ(Sum(BlocksFromStart(20)), held);
  EXPECT_EQ(ASys.MusicPlaying, 0);
  LogOf([] { game.PlayMusic("unsized.wav", 0); });  // to the end of the file, in whole frames
  EXPECT_EQ(Sum(BlocksFromStart(20)), int(good.size() - firstSample) / 4 * 4);
  EXPECT_EQ(ASys.MusicPlaying, 0);
}

TEST_F(Music, OggBlocksHoldExactlyTheDecodedSamples) {
  for (const char* name : {"mono.ogg", "stereo.ogg"}) {
    int frames = 0, channels = 0;
    ASSERT_TRUE(OggLength(std::string("Data/1/audio/") + name, &frames, &channels));
    LogOf([name] { game.PlayMusic(name, 0); });
    ASSERT_EQ(MusicBufferStats[kMusicStatsChannels], channels);
    const std::vector<int> sizes = BlocksFromStart(100);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.front(), 32768) << name;  // 16,384 values of 2 bytes, whatever the channels
    EXPECT_EQ(Sum(sizes), long(frames) * channels * 2) << name;
    for (int s : sizes) EXPECT_GT(s, 0) << name;
    EXPECT_EQ(ASys.MusicPlaying, 0) << name;
  }
}

TEST_F(Music, LoopingOggRewindsAtItsEnd) {
  int frames = 0, channels = 0;
  ASSERT_TRUE(OggLength("Data/1/audio/stereo.ogg", &frames, &channels));
  const long bytes = long(frames) * channels * 2;
  LogOf([] { game.PlayMusic("stereo.ogg"); });
  std::vector<int> sizes = BlocksFromStart(40);
  ASSERT_EQ(sizes.size(), 40u);
  EXPECT_EQ(ASys.MusicPlaying, 2);
  // The blocks run through the piece and on into its start again.
  long total = 0;
  size_t i = 0;
  while (i < sizes.size() && total < bytes) total += sizes[i++];
  EXPECT_EQ(total, bytes);
  EXPECT_EQ(sizes[i], sizes[0]);
}

// ---- Failed starts and open files ----

TEST_F(Music, FilesThatCannotStreamLeaveNoStreamAndSilenceTheOldPiece) {
  const std::string good = ToneWav();
  const size_t data = good.find("data");
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"notriff.wav", "RIFX" + good.substr(4), "Error Opening Wave - Data/1/audio/notriff.wav"},
      {"nodata.wav", good.substr(0, data), "Error Opening Wave - Data/1/audio/nodata.wav"},
      {"empty.wav", "", "Error Opening Wave - Data/1/audio/empty.wav"},
      {"float.wav", Riff(Chunk("fmt ", FormatBody(2, 32, kRate, 0, 3)) + Chunk("data", "12345678")),
       "Error Opening Wave - Data/1/audio/float.wav"},
      {"garbage.ogg", std::string(5000, 'g'), "Error Opening Ogg"},
      {"wave.ogg", good, "Error Opening Ogg"},
      {"empty.ogg", "", "Error Opening Ogg"},
  };
  const int descriptors = OpenDescriptors();
  for (const auto& c : cases) {
    WriteFile(std::string("Data/1/audio/") + c.name, c.bytes);
    LogOf([] { game.PlayMusic("tone.wav"); });
    ASSERT_EQ(SourceInt(AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(LogOf([&c] { game.PlayMusic(c.name); }), Lines{c.message}) << c.name;
    EXPECT_EQ(ASys.MusicPlaying, 0) << c.name;
    EXPECT_EQ(MusicFile, nullptr) << c.name;
    EXPECT_EQ(OggFile, nullptr) << c.name;
    EXPECT_NE(SourceInt(AL_SOURCE_STATE), AL_PLAYING) << c.name;
    EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 0) << c.name;
    game.MusicHandler();
    EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), 0) << c.name;
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
  // Standard error names the file; a damaged one is not called missing.
  const std::string missing = StderrOf([] { LogOf([] { game.PlayMusic("gone.ogg"); }); });
  EXPECT_NE(missing.find("no file \"Data/1/audio/gone.ogg\""), std::string::npos) << missing;
  const std::string damaged = StderrOf([] { LogOf([] { game.PlayMusic("nodata.wav"); }); });
  EXPECT_NE(damaged.find("\"Data/1/audio/nodata.wav\" in the working folder"), std::string::npos)
      << damaged;
  EXPECT_NE(damaged.find("could not be read"), std::string::npos) << damaged;
}

TEST_F(Music, AThousandStartsHoldOneOpenStream) {
  const int before = OpenDescriptors();
  LogOf([] {
    for (int i = 0; i < 1000; i++) {
      game.PlayMusic(i % 2 == 0 ? "tone.wav" : "stereo.ogg");
      game.MusicHandler();
    }
  });
  EXPECT_LE(OpenDescriptors(), before + 1);
  game.StopMusic();
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(Music, StopMusicLetsTheQueuedBlocksPlayOut) {
  LogOf([] { game.PlayMusic("stereo.ogg"); });
  game.MusicHandler();
  const ALint queued = SourceInt(AL_BUFFERS_QUEUED);
  ASSERT_EQ(queued, 2);
  game.StopMusic();
  EXPECT_EQ(ASys.MusicPlaying, 0);
  EXPECT_EQ(MusicFile, nullptr);
  EXPECT_EQ(OggFile, nullptr);
  EXPECT_EQ(SourceInt(AL_SOURCE_STATE), AL_PLAYING);
  for (int i = 0; i < 5; i++) game.MusicHandler();
  EXPECT_EQ(SourceInt(AL_BUFFERS_QUEUED), queued);
}

}  // namespace
