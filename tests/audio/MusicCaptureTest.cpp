// Streamed music as heard: OpenAL Soft's wave writer captures the mix while
// a loop calls MusicHandler the way the game loop does, and the tests measure
// the capture: pitch (zero crossings), length, gaps, level, and where one
// piece gives way to another or to silence.
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

struct CaptureGame : VeskCore {};
CaptureGame game;

constexpr int kRate = kStreamRate;
constexpr int kBlockFrames = kStreamBlockBytes / 4;  // a WAV block of 16-bit stereo
constexpr long kTenMs = kRate / 100;

void Feed(int ms) {
  RunFor(ms, [] { game.MusicHandler(); });
}

class MusicCapture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteFile("Data/1/audio/tone.wav", ToneWav());
    WriteFile("Data/1/audio/long440.wav",
              SimpleWav(2, kRate, Sine16(2, kRate, 440, 2 * kRate, 0.5)));
    WriteFile("Data/1/audio/long880.wav",
              SimpleWav(2, kRate, Sine16(2, kRate, 880, 2 * kRate, 0.5)));
    // 0.75 s: a whole number of cycles, so the loop point is seamless.
    WriteFile("Data/1/audio/loop440.wav",
              SimpleWav(2, kRate, Sine16(2, kRate, 440, kRate * 3 / 4, 0.5)));
    // mono.ogg: 1 s at 660 Hz; stereo.ogg: 0.5 s at 880 Hz (tests/support/MakeFixtures.cpp).
    ASSERT_TRUE(CopyFixture("mono.ogg", "Data/1/audio/mono.ogg"));
    ASSERT_TRUE(CopyFixture("stereo.ogg", "Data/1/audio/stereo.ogg"));
  }
  void SetUp() override {
    GameNum = 1;
    LogOf([] { ASys.OpenAudio(); });
  }
  void TearDown() override {
    if (ALdev != nullptr) LogOf([] { ASys.CloseAudio(); });
  }

  // Closes the device so the writer finalises its file, then reads the mix
  // (left plus right) into `mix`.
  void Finish() {
    LogOf([] { ASys.CloseAudio(); });
    Capture capture;
    ASSERT_TRUE(ReadCapture("capture.wav", &capture));
    ASSERT_EQ(capture.rate, kRate);
    mix.resize(capture.left.size());
    for (size_t i = 0; i < mix.size(); i++) mix[i] = capture.left[i] + capture.right[i];
  }

  // Start of the first 20 ms window, from `from` on, whose pitch is near hz.
  long FirstWindowAt(double hz, long from) const {
    for (long at = from; at + 2 * kTenMs <= long(mix.size()); at += kTenMs) {
      if (std::fabs(Frequency(mix, kRate, at, at + 2 * kTenMs) - hz) < hz / 20) return at;
    }
    return -1;
  }

  std::vector<float> mix;
};

TEST_F(MusicCapture, WavPlaysItsWholeDataChunkOnceAtItsPitch) {
  LogOf([] { game.PlayMusic("tone.wav", 0); });
  Feed(900);
  EXPECT_EQ(ASys.MusicPlaying, 0);
  Finish();
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_EQ(spans.size(), 1u);
  const Span tone = spans[0];
  EXPECT_NEAR(tone.end - tone.begin, kToneBytes / 4, 30);
  EXPECT_NEAR(Frequency(mix, kRate, tone.begin, tone.end), 440.0, 2.0);
  // The chunk after the data holds near full-scale values: nothing in the
  // capture may be louder than the tone itself.
  float tonePeak = 0, peak = 0;
  for (long i = tone.begin; i < (tone.begin + tone.end) / 2; i++) {
    tonePeak = std::max(tonePeak, std::fabs(mix[size_t(i)]));
  }
  for (float s : mix) peak = std::max(peak, std::fabs(s));
  EXPECT_LE(peak, tonePeak * 1.05f);
  EXPECT_LT(LargestStep(mix, tone.begin, tone.end), 0.15);
}

TEST_F(MusicCapture, MonoOggLoopsWithoutAGapAtItsPitch) {
  LogOf([] { game.PlayMusic("mono.ogg"); });
  Feed(2600);
  EXPECT_EQ(ASys.MusicPlaying, 2);
  Finish();
  // One span: no gap of 10 ms or more anywhere.
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_EQ(spans.size(), 1u);
  const Span piece = spans[0];
  EXPECT_GT(piece.end - piece.begin, 2 * kRate);  // past the loop point twice
  EXPECT_NEAR(Frequency(mix, kRate, piece.begin, piece.end), 660.0, 3.0);
  // Samples dropped or repeated anywhere would break the sine with a jump.
  EXPECT_LT(LargestStep(mix, piece.begin + kTenMs, piece.end - kTenMs), 0.15);
}

TEST_F(MusicCapture, WavLoopsWithoutAGapAndTakesANewVolume) {
  LogOf([] { game.PlayMusic("loop440.wav"); });
  Feed(1300);
  game.MusicVolume(0.5f);
  Feed(1000);
  Finish();
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_EQ(spans.size(), 1u);
  const Span piece = spans[0];
  EXPECT_GT(piece.end - piece.begin, 2 * kRate);
  EXPECT_NEAR(Frequency(mix, kRate, piece.begin, piece.end), 440.0, 2.0);
  EXPECT_LT(LargestStep(mix, piece.begin + kTenMs, piece.end - kTenMs), 0.15);
  const double loud = Rms(mix, piece.begin + kRate / 5, piece.begin + kRate);
  const double soft = Rms(mix, piece.end - kRate / 2, piece.end - kRate / 10);
  EXPECT_NEAR(soft / loud, 0.5, 0.05);
}

TEST_F(MusicCapture, StereoOggPlaysOnceToItsEnd) {
  int frames = 0, channels = 0;
  ASSERT_TRUE(OggLength("Data/1/audio/stereo.ogg", &frames, &channels));
  LogOf([] { game.PlayMusic("stereo.ogg", 0); });
  Feed(900);
  EXPECT_EQ(ASys.MusicPlaying, 0);
  Finish();
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_NEAR(spans[0].end - spans[0].begin, frames, frames / 100);
  EXPECT_NEAR(Frequency(mix, kRate, spans[0].begin, spans[0].end), 880.0, 4.0);
}

// The old piece stops where the new one starts: the blocks it still had
// queued (about four, 93 ms each) are not heard.
TEST_F(MusicCapture, StopMusicThenPlayMusicCutsTheOldPiece) {
  LogOf([] { game.PlayMusic("long440.wav"); });
  Feed(600);
  const long queuedFrames = long(MusicBufferTick + 3) * kBlockFrames;
  game.StopMusic();
  LogOf([] { game.PlayMusic("long880.wav"); });
  Feed(600);
  Finish();
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_FALSE(spans.empty());
  const long first880 = FirstWindowAt(880.0, spans[0].begin);
  ASSERT_GT(first880, 0);
  EXPECT_LT(first880 - spans[0].begin, queuedFrames - 2 * kBlockFrames);
  EXPECT_EQ(FirstWindowAt(440.0, first880 + 2 * kTenMs), -1);  // none of the old piece after
  EXPECT_GT(spans.back().end - first880, kRate / 3);
}

TEST_F(MusicCapture, AMissingFileSilencesTheOldPiece) {
  LogOf([] { game.PlayMusic("long440.wav"); });
  Feed(600);
  const long queuedFrames = long(MusicBufferTick + 3) * kBlockFrames;
  EXPECT_EQ(LogOf([] { game.PlayMusic("missing.ogg"); }),
            std::vector<std::string>{"Error Opening Ogg"});
  EXPECT_EQ(ASys.MusicPlaying, 0);
  Feed(500);
  Finish();
  const std::vector<Span> spans = SoundSpans(mix, kTenMs);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_LT(spans[0].end - spans[0].begin, queuedFrames - 2 * kBlockFrames);
  EXPECT_GT(long(mix.size()) - spans[0].end, 3 * kRate / 10);
}

}  // namespace
