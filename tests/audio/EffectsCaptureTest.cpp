// Effect playback on OpenAL Soft's wave writer: the sources and buffers made
// at start-up, the channel rotation, the clamps as the sources report them,
// and the captured mix, where each effect must sound at its pitch, on its
// side and for its length.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"

using namespace audiotest;

namespace {

struct EffectGame : VeskCore {};
EffectGame game;

constexpr int kRate = 44100;
constexpr int kToneFrames = kRate * 3 / 10;  // 0.3 s
constexpr double kToneHz = 1000.0;

class Effects : public testing::Test {
 protected:
  void SetUp() override {
    GameNum = 1;
    startLines = LogOf([] { ASys.OpenAudio(); });
    WriteFile("Data/1/audio/01.wav",
              SimpleWav(1, kRate, Sine16(1, kRate, kToneHz, kToneFrames, 0.5)));
    WriteFile("Data/1/audio/02.wav", SimpleWav(1, kRate, Sine16(1, kRate, 300, 1000, 0.5)));
  }
  void TearDown() override {
    if (ALdev != nullptr) LogOf([] { ASys.CloseAudio(); });
  }
  std::vector<std::string> startLines;
};

ALint SourceInt(int source, ALenum what) {
  ALint value = -1;
  alGetSourcei(ALsource[source], what, &value);
  return value;
}

float SourceFloat(int source, ALenum what) {
  ALfloat value = -1.0f;
  alGetSourcef(ALsource[source], what, &value);
  return value;
}

TEST_F(Effects, StartUpMakesThirtyTwoSourcesFourBuffersAndTheListener) {
  EXPECT_EQ(startLines, std::vector<std::string>{"OpenAL Audio Engaged!"});
  EXPECT_EQ(AudioEnabled, 1);
  EXPECT_STREQ(game.AudioDevice(), alcGetString(ALdev, ALC_DEVICE_SPECIFIER));
  EXPECT_STRNE(game.AudioDevice(), "");
  std::set<unsigned> names;
  for (int i = 0; i < kSources; i++) {
    EXPECT_TRUE(alIsSource(ALsource[i])) << i;
    names.insert(ALsource[i]);
    EXPECT_EQ(ALsourcebuffer[i], -1);
  }
  EXPECT_EQ(names.size(), size_t(kSources));
  for (int i = 0; i < kMusicBuffers; i++) EXPECT_TRUE(alIsBuffer(MusicBuffer[i])) << i;
  for (int slot = 0; slot < kSoundSlots; slot++) EXPECT_EQ(ALbufferActive[slot], 0);

  ALfloat position[3], orientation[6];
  alGetListenerfv(AL_POSITION, position);
  alGetListenerfv(AL_ORIENTATION, orientation);
  EXPECT_EQ(std::vector<float>(position, position + 3), (std::vector<float>{0, 0, 1}));
  EXPECT_EQ(std::vector<float>(orientation, orientation + 6),
            (std::vector<float>{0, 0, 1, 0, 1, 0}));
}

TEST_F(Effects, ThirtyTwoPlaysRotateThroughTheEffectChannels) {
  LogOf([] {
    game.LoadSFX(1);
    game.LoadSFX(2);
  });
  std::vector<int> used;
  for (int play = 0; play < 32; play++) {
    const int slot = play == 31 ? 2 : 1;
    for (int s = 0; s < kSources; s++) alSourceStop(ALsource[s]);
    game.PlaySFX(slot, 1.0f, 0.0f);
    std::vector<int> playing;
    for (int s = 0; s < kSources; s++) {
      if (SourceInt(s, AL_SOURCE_STATE) == AL_PLAYING) playing.push_back(s);
    }
    ASSERT_EQ(playing.size(), 1u) << "play " << play;
    used.push_back(playing[0]);
    EXPECT_EQ(SourceInt(playing[0], AL_BUFFER), ALint(ALbuffer[slot]));
    EXPECT_EQ(ALsourcebuffer[playing[0]], slot);
  }
  std::vector<int> expected;
  for (int s = 1; s <= 30; s++) expected.push_back(s);
  expected.push_back(0);
  expected.push_back(1);
  EXPECT_EQ(used, expected);
  // The 32nd play took source 1 from the first one.
  EXPECT_EQ(SourceInt(1, AL_BUFFER), ALint(ALbuffer[2]));
  EXPECT_EQ(SourceInt(kMusicSource, AL_BUFFER), 0);
}

TEST_F(Effects, ParametersAreClampedOnTheSource) {
  LogOf([] { game.LoadSFX(1); });
  const struct {
    float pitch, volume, pan;
    int loop;
    float wantPitch, wantGain, wantX;
    int wantLoop;
  } cases[] = {
      {0.1f, -1.0f, 5.0f, 2, 0.25f, 0.0f, -1.0f, AL_FALSE},
      {20.0f, 3.0f, -5.0f, 1, 16.0f, 1.0f, 1.0f, AL_TRUE},
      {1.5f, 0.5f, 0.25f, 0, 1.5f, 0.5f, -0.25f, AL_FALSE},
      {std::nanf(""), std::nanf(""), std::nanf(""), -1, 0.25f, 0.0f, 1.0f, AL_FALSE},
  };
  for (const auto& c : cases) {
    game.PlaySFX(1, c.pitch, c.volume, c.pan, c.loop);
    const int s = ALChannel;
    EXPECT_FLOAT_EQ(SourceFloat(s, AL_PITCH), c.wantPitch) << c.pitch;
    EXPECT_FLOAT_EQ(SourceFloat(s, AL_GAIN), c.wantGain) << c.volume;
    ALfloat position[3] = {9, 9, 9};
    alGetSourcefv(ALsource[s], AL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], c.wantX) << c.pan;
    EXPECT_FLOAT_EQ(position[1], 0.0f);
    EXPECT_FLOAT_EQ(position[2], 0.0f);
    EXPECT_EQ(SourceInt(s, AL_LOOPING), c.wantLoop) << c.loop;
  }
}

TEST_F(Effects, DefaultPlayDrawsAFreshPitchEachTime) {
  LogOf([] { game.LoadSFX(1); });
  std::set<float> pitches;
  for (int i = 0; i < 20; i++) {
    game.PlaySFX(1);
    const int s = ALChannel;
    const float pitch = SourceFloat(s, AL_PITCH);
    EXPECT_GE(pitch, 0.8f);
    EXPECT_LE(pitch, 1.2f);
    EXPECT_FLOAT_EQ(SourceFloat(s, AL_GAIN), 1.0f);
    EXPECT_EQ(SourceInt(s, AL_LOOPING), AL_FALSE);
    pitches.insert(pitch);
  }
  EXPECT_GT(pitches.size(), 1u);
}

// Two effects a moment apart: the first at recorded pitch panned right with
// loop value 2 (plays once), the second at double pitch panned left.
TEST_F(Effects, CaptureHoldsEachEffectAtItsPitchSideAndLength) {
  LogOf([] { game.LoadSFX(1); });
  game.PlaySFX(1, 1.0f, 1.0f, 1.0f, 2);
  RunFor(700, [] {});
  game.PlaySFX(1, 2.0f, 1.0f, -1.0f, 0);
  RunFor(400, [] {});
  LogOf([] { ASys.CloseAudio(); });
  EXPECT_STREQ(game.AudioDevice(), "");  // closed: no device any more

  Capture capture;
  ASSERT_TRUE(ReadCapture("capture.wav", &capture));
  ASSERT_EQ(capture.rate, kRate);
  std::vector<float> mix(capture.left.size());
  for (size_t i = 0; i < mix.size(); i++) mix[i] = capture.left[i] + capture.right[i];
  const std::vector<Span> spans = SoundSpans(mix, kRate / 10);
  ASSERT_EQ(spans.size(), 2u);

  const Span right = spans[0];
  EXPECT_NEAR(right.end - right.begin, kToneFrames, 40);
  EXPECT_NEAR(Frequency(capture.right, kRate, right.begin, right.end), kToneHz, kToneHz / 100);
  EXPECT_GT(Rms(capture.right, right.begin, right.end), 0.15);
  EXPECT_GT(Rms(capture.right, right.begin, right.end),
            4 * Rms(capture.left, right.begin, right.end));

  const Span left = spans[1];
  EXPECT_NEAR(left.end - left.begin, kToneFrames / 2, 40);
  EXPECT_NEAR(Frequency(capture.left, kRate, left.begin, left.end), 2 * kToneHz, kToneHz / 50);
  EXPECT_GT(Rms(capture.left, left.begin, left.end), 4 * Rms(capture.right, left.begin, left.end));
}

}  // namespace
