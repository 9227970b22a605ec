// One complete benchmark run of the real executable (about 80 s or more),
// with OpenAL Soft's wave writer capturing the mix: the run ends by itself,
// "Debug.txt" holds the header and the fifteen tests in order, the console
// shows the banner, the loading lines and the closing lines, and the capture
// holds music in the streaming tests, silence in the others, and a chime at
// the end of each test. ctest gives the run a private 800 x 600 screen
// (tests/game/CMakeLists.txt).
#include <algorithm>
#include <cmath>
#include <regex>

#include "RunKit.h"
#include "support/Wav.h"

namespace {

// A run takes a few minutes on an idle machine; one shared with other builds
// and runs can take several times as long.
constexpr int kRunSeconds = 900;
constexpr int kTests = 15;
constexpr int kTimeToleranceMs = 16;  // one step
const char* const kNames[kTests] = {
    "Practically nothing",
    "Added Blend Modes",
    "Oodles of Sprites",
    "Oodles of Alt-Blended Sprites",
    "Boatloads of Sprites",
    "An Insane Number of Sprites",
    "Streaming Wave",
    "Streaming Ogg",
    "Fullscreen - Oodles of Sprites",
    "Oodles of Alt-Blended Sprites",
    "Boatloads of Sprites",
    "An Insane Number of Sprites",
    "Rotated Sprites",
    "Streaming Wave",
    "Streaming Ogg",
};

bool IsMusicTest(int k) { return k == 6 || k == 7 || k == 13 || k == 14; }

// Per-frame loudness of the capture: the larger channel, 0..1.
struct Loudness {
  int rate = 0;
  std::vector<float> frames;

  float Peak(double fromMs, double toMs) const {
    float peak = 0;
    for (size_t i = Index(fromMs); i < Index(toMs); i++) peak = std::max(peak, frames[i]);
    return peak;
  }
  double Rms(double fromMs, double toMs) const {
    return vftest::Rms(frames, long(Index(fromMs)), long(Index(toMs)));
  }
  size_t Index(double ms) const {
    const double i = ms * rate / 1000.0;
    return static_cast<size_t>(std::clamp(i, 0.0, double(frames.size())));
  }
  double Ms(size_t index) const { return index * 1000.0 / rate; }
};

class FullRun : public ::testing::Test {
 protected:
  // One run for all the checks below.
  static void SetUpTestSuite() {
    dir = MakeRunFolder("run-full");
    ready = vftest::LinkDataFolder(dir) &&
            vftest::WriteFile(dir + "/alsoft.conf",
                              "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                              "frequency = 44100\n[wave]\nfile = " +
                                  dir + "/capture.wav\n");
    if (!ready) return;
    BenchmarkRun run;
    run.Start(dir, {"ALSOFT_CONF=" + dir + "/alsoft.conf", "ALSOFT_DRIVERS=wave"});
    status = run.Wait(kRunSeconds);
    console = run.Console();
    errors = run.Errors();
    results = run.Results();
  }

  void SetUp() override { ASSERT_TRUE(ready) << "cannot prepare the run folder"; }

  static bool ready;
  static std::string dir;
  static int status;
  static std::string console;
  static std::string errors;
  static std::vector<std::string> results;
};

bool FullRun::ready = false;
std::string FullRun::dir;
int FullRun::status = kStillRunning;
std::string FullRun::console;
std::string FullRun::errors;
std::vector<std::string> FullRun::results;

TEST_F(FullRun, EndsByItselfWithStatusZero) { EXPECT_EQ(status, 0) << errors << console; }

TEST_F(FullRun, ResultsHoldHeaderAndEveryTestInOrder) {
  ASSERT_EQ(results.size(), 2u + kTests);
  EXPECT_EQ(results[0], "Bim's Magical Benchmark");
  EXPECT_EQ(results[1], "-=-=-=-");
  for (int k = 0; k < kTests; k++) {
    SCOPED_TRACE(k);
    const int ms = TookMs(results[2 + k], kNames[k]);
    EXPECT_GE(ms, kTicksPerTestMs - kTimeToleranceMs) << results[2 + k];
  }
}

TEST_F(FullRun, ConsoleShowsBannerLoadingAndClosingLines) {
  vftest::Wav sound;
  ASSERT_TRUE(vftest::ReadWav(vftest::SourceDir() + "/Data/1/audio/01.wav", &sound));
  // In order of appearance; each a whole line or a numbered log line.
  const std::string lines[] = {
      "\nVeskFrame - v0.25\n",
      "> Load Image : bandwidth \n",
      ">     Loaded Spritesheet of 32x32 sprites\n",
      "> Load Image : gfx-32 \n",
      ">     Loaded Spritesheet of 32x32 sprites\n",
      "> Load Wave 1\n",
      ">      Load " + std::to_string(sound.dataBytes) + " bytes\n",
      "> Closing OpenAL Audio\n",
      "> Closing OpenGL Window\n",
      "Ran for ",
      " millisecs.\nFarewell happy gamer\n",
  };
  size_t at = 0;
  for (const std::string& line : lines) {
    const size_t found = console.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line << "\n"
                                        << console;
    at = found + line.size();
  }
}

// The capture starts when the audio device opens; the first chime marks the
// end of test 0, and the test times of the results place every later end.
TEST_F(FullRun, CaptureHoldsMusicAndChimesWhereTheyBelong) {
  ASSERT_EQ(results.size(), 2u + kTests);
  vftest::Wav capture;
  ASSERT_TRUE(vftest::ReadWav(dir + "/capture.wav", &capture));
  ASSERT_EQ(capture.channels, 2);
  Loudness loud;
  loud.rate = capture.rate;
  loud.frames.resize(capture.samples.size() / 2);
  for (size_t i = 0; i < loud.frames.size(); i++) {
    loud.frames[i] =
        std::max(std::abs(capture.samples[2 * i]), std::abs(capture.samples[2 * i + 1]));
  }
  const auto first =
      std::find_if(loud.frames.begin(), loud.frames.end(), [](float v) { return v > 0.02f; });
  ASSERT_NE(first, loud.frames.end()) << "the capture is silent";
  double end[kTests];
  end[0] = loud.Ms(first - loud.frames.begin());
  EXPECT_GE(end[0], kTicksPerTestMs - kTimeToleranceMs);  // nothing sounds before test 0 ends
  for (int k = 1; k < kTests; k++) end[k] = end[k - 1] + TookMs(results[2 + k], kNames[k]);
  ASSERT_GE(loud.Ms(loud.frames.size()), end[kTests - 1] - 1000) << "capture too short";

  for (int k = 0; k < kTests; k++) {
    SCOPED_TRACE(kNames[k]);
    const double start = k == 0 ? end[0] - kTicksPerTestMs : end[k - 1];
    if (IsMusicTest(k)) {
      // Music all through: no quarter of a second without it.
      for (double t = start + 500; t + 250 < end[k] - 300; t += 250)
        ASSERT_GT(loud.Rms(t, t + 250), 0.02f) << "no music at " << t << " ms";
    } else if (k > 0) {
      EXPECT_LT(loud.Peak(start + 800, end[k] - 400), 0.01f) << "sound inside a silent test";
    }
    // The end-of-test chime, where no music surrounds it (the last one is
    // cut short by the shutdown).
    if (!IsMusicTest(k) && k + 1 < kTests && !IsMusicTest(k + 1)) {
      EXPECT_GT(loud.Peak(end[k] - 300, end[k] + 600), 0.05f) << "no chime at " << end[k];
    }
  }
}

}  // namespace
