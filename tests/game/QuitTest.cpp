// The real benchmark stopped early: Escape during the second test (with the
// system file written beside the results, and also recorded and replayed),
// results and system files that cannot be created, and damaged assets. Each
// run waits for the first test to finish (about 5 s) and then quits with
// Escape.
#include <cstdio>
#include <regex>

#include "RunKit.h"

namespace {

using vftest::ReadFile;
using vftest::WriteFile;

const char kHeader1[] = "Bim's Magical Benchmark";
const char kHeader2[] = "-=-=-=-";
const char kFirstTest[] = "Practically nothing";
constexpr int kFirstTestSeconds = 60;  // start-up plus one test, generously
constexpr int kQuitSeconds = 30;

class QuitEarly : public ::testing::Test {
 protected:
  void ExpectHeaderAndFirstTest(const std::vector<std::string>& lines) {
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kHeader1);
    EXPECT_EQ(lines[1], kHeader2);
    EXPECT_GE(TookMs(lines[2], kFirstTest), kTicksPerTestMs - 16) << lines[2];
  }
  void ExpectClosedNormally(BenchmarkRun& run) {
    EXPECT_EQ(run.Wait(kQuitSeconds), 0) << run.Errors();
    const std::string console = run.Console();
    EXPECT_NE(console.find("Closing OpenGL Window"), std::string::npos);
    EXPECT_NE(console.find("Farewell happy gamer"), std::string::npos) << console;
  }
  BenchmarkRun run;
};

// The size of the display the run is on, as xdotool sees it: "W x H".
std::string DisplaySize() {
  FILE* pipe = popen("xdotool getdisplaygeometry", "r");
  if (pipe == nullptr) return "";
  int w = 0;
  int h = 0;
  const int fields = std::fscanf(pipe, "%d %d", &w, &h);
  pclose(pipe);
  return fields == 2 ? std::to_string(w) + "x" + std::to_string(h) : "";
}

TEST_F(QuitEarly, EscapeDuringTheSecondTestKeepsTheFirstLine) {
  const std::string dir = MakeRunFolder("run-escape");
  ASSERT_TRUE(vftest::LinkDataFolder(dir));
  run.Start(dir);
  ASSERT_TRUE(run.WaitForResultLines(3, kFirstTestSeconds)) << run.Console() << run.Errors();
  // The line is on disk while the game still runs and holds the file, so a
  // killed run keeps it too.
  ASSERT_EQ(run.Poll(), kStillRunning);
  ExpectHeaderAndFirstTest(run.Results());
  PressEscape();
  ExpectClosedNormally(run);
  ExpectHeaderAndFirstTest(run.Results());

  // What the run measured on, from its own GL context, window and device.
  const std::vector<std::string> system = vftest::ReadLines(dir + "/System.txt");
  ASSERT_EQ(system.size(), 5u);
  EXPECT_TRUE(std::regex_match(system[0], std::regex("gl-renderer: .+"))) << system[0];
  EXPECT_NE(system[0], "gl-renderer: none");
  EXPECT_TRUE(std::regex_match(system[1], std::regex("gl-version: [2-9]\\.[0-9].*"))) << system[1];
  EXPECT_EQ(system[2], "window: 800x600");
  const std::string display = DisplaySize();
  ASSERT_FALSE(display.empty());
  EXPECT_EQ(system[3], "monitor: " + display);
  EXPECT_TRUE(std::regex_match(system[4], std::regex("audio-device: .+"))) << system[4];
  EXPECT_NE(system[4], "audio-device: none");  // OpenAL Soft's silent device
}

// The replay runs without input and quits where the recorded run did, with
// the same results: every step sees the recorded clock.
TEST_F(QuitEarly, ARecordedRunReplaysToTheSameResults) {
  const std::string dir = MakeRunFolder("run-recorded");
  ASSERT_TRUE(vftest::LinkDataFolder(dir));
  run.Start(dir, {}, {"--record", "run.vfr"});
  ASSERT_TRUE(run.WaitForResultLines(3, kFirstTestSeconds)) << run.Console() << run.Errors();
  BenchmarkRun::Sleep(1000);  // into the second test
  PressEscape();
  ExpectClosedNormally(run);
  ASSERT_NE(run.Console().find("Recorded "), std::string::npos) << run.Console();
  const std::vector<std::string> recorded = run.Results();
  ExpectHeaderAndFirstTest(recorded);

  BenchmarkRun replay;
  replay.Start(dir, {}, {"--replay", "run.vfr"});
  EXPECT_EQ(replay.Wait(kFirstTestSeconds + kQuitSeconds), 0) << replay.Errors();
  const std::string console = replay.Console();
  EXPECT_NE(console.find("Replaying run.vfr"), std::string::npos) << console;
  EXPECT_EQ(console.find("desync"), std::string::npos) << console;
  EXPECT_NE(console.find("Farewell happy gamer"), std::string::npos) << console;
  EXPECT_EQ(replay.Results(), recorded);
}

TEST_F(QuitEarly, UncreatableResultsAndSystemFilesAreReportedAndTheRunGoesOn) {
  const std::string dir = MakeRunFolder("run-noresults");
  ASSERT_TRUE(vftest::LinkDataFolder(dir));
  ASSERT_EQ(mkdir((dir + "/Debug.txt").c_str(), 0755), 0);  // a folder cannot be opened for writing
  ASSERT_EQ(mkdir((dir + "/System.txt").c_str(), 0755), 0);
  run.Start(dir);
  ASSERT_TRUE(run.WaitForConsole("Cannot create Debug.txt", kFirstTestSeconds)) << run.Console();
  EXPECT_TRUE(std::regex_search(run.Console(),
                                std::regex("\\n +[0-9]+> Cannot create Debug\\.txt: the results "
                                           "are not saved\\n")))
      << run.Console();
  ASSERT_TRUE(run.WaitForConsole("Cannot create System.txt", kFirstTestSeconds)) << run.Console();
  EXPECT_TRUE(std::regex_search(run.Console(),
                                std::regex("\\n +[0-9]+> Cannot create System\\.txt: the run's "
                                           "system is not recorded\\n")))
      << run.Console();
  // Past the first test's end, where the results would be written.
  BenchmarkRun::Sleep(kTicksPerTestMs + 1500);
  ASSERT_EQ(run.Poll(), kStillRunning) << run.Errors();
  PressEscape();
  ExpectClosedNormally(run);
}

// Cut and scrambled copies of the data: the loaders log their failures and
// the tests still run (sprites and glyphs of a failed sheet draw nothing).
TEST_F(QuitEarly, DamagedAssetsDoNotStopTheRun) {
  const std::string dir = MakeRunFolder("run-damaged");
  const std::string data = vftest::SourceDir() + "/Data/1/";
  const std::string font = ReadFile(data + "bandwidth.png");
  std::string sprites = ReadFile(data + "gfx-32.png");
  const std::string sound = ReadFile(data + "audio/01.wav");
  ASSERT_GT(sprites.size(), 200u);
  for (size_t i = 60; i < sprites.size(); i += 7) sprites[i] = static_cast<char>(sprites[i] ^ 0x5a);
  ASSERT_TRUE(WriteFile(dir + "/Data/1/bandwidth.png", font.substr(0, font.size() / 2)));
  ASSERT_TRUE(WriteFile(dir + "/Data/1/gfx-32.png", sprites));
  // The header cut inside "data".
  ASSERT_TRUE(WriteFile(dir + "/Data/1/audio/01.wav", sound.substr(0, 60)));
  run.Start(dir);
  ASSERT_TRUE(run.WaitForResultLines(3, kFirstTestSeconds)) << run.Console() << run.Errors();
  const std::string console = run.Console();
  EXPECT_NE(console.find("Load Image : bandwidth "), std::string::npos);
  EXPECT_NE(console.find("OMGERRORZ"), std::string::npos) << console;
  PressEscape();
  ExpectClosedNormally(run);
  ExpectHeaderAndFirstTest(run.Results());
}

}  // namespace
