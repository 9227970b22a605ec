// Record and replay of a window-free game whose steps read the clock, the
// random generator and a button and draw from them. The session's state
// lives for the whole process, as a game's does, so each recording or
// replay runs in a child process of its own and leaves a log and the values
// its steps saw.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/Session.h"
#include "frame/SessionFile.h"
#include "input/InputSlots.h"
#include "support/Files.h"
#include "support/Output.h"

namespace {

constexpr int kGame = 5;
constexpr int kSteps = 40;
constexpr int kAlteredStep = 17;

constexpr int kRightKeyWord = kInputWords - kKeyCodes + kKeyRight;  // key states come last
constexpr int kMusicStep = kAlteredStep + 3;

struct Stepper : VeskCore {
  // Per step: the clock, a random number, the button, its press edge, the
  // key's raw state and whether music plays.
  std::string Seen;

  // One update step as the loop pass runs it. A window-free poll asks to
  // quit every time; the game plays on until the session ends it.
  void Step() {
    PollInput();
    GameBreak = 0;
    ResetDraw();
    const int now = Mills();
    const int roll = Rand(1000);
    const int right = PlayKey(kButtonRight);
    const int pressed = PlayKeyPressed(kButtonRight);
    const int key = KeyDown(kKeyRight);
    const int music = IsMusicPlaying();
    Rect(static_cast<float>(now % 97), static_cast<float>(roll), 5, 5);
    if (right) Rect(50, 50, 10, 10);
    BufferGame();
    EndUpdate();
    for (int value : {now, roll, right, pressed, key, music}) Seen += std::to_string(value) + " ";
    Seen += "\n";
  }
};
Stepper Game;

struct Session {
  const char* replay = nullptr;
  const char* record = nullptr;
  int thenPlay = 0;
  int steps = kSteps;
};

// Runs the steps in a child process; its log goes to `name`.log and what
// the steps saw to `name`.seen. Returns the child's exit status.
int RunChild(const std::string& name, const Session& run) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    if (std::freopen((name + ".log").c_str(), "w", stdout) == nullptr) _exit(3);
    Game.SetNum(kGame);
    if (run.replay != nullptr) Game.Replay(run.replay, run.thenPlay);
    if (run.record != nullptr) Game.Record(run.record);
    Game.SeedRnd();  // before the loop: the prologue's clock reading
    int steps = 0;
    while (steps < run.steps && Game.GameBreak == 0) {
      Game.Step();
      PlatformSleepMs(steps++ % 3);  // uneven steps, as a loaded machine gives
    }
    ASys.Debuglog(ASys.fstrSys("Stopped after %i steps", steps));
    SessionEnds();  // as Terminate does; without a window Terminate would exit
    _exit(vftest::WriteFile(name + ".seen", Game.Seen) ? 0 : 4);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Log(const std::string& name) { return vftest::ReadFile(name + ".log"); }
std::string Seen(const std::string& name) { return vftest::ReadFile(name + ".seen"); }

// Line `n` (from 1) of a text, split into its numbers.
std::vector<int> Numbers(const std::string& text, int n) {
  size_t at = 0;
  for (int i = 1; i < n && at != std::string::npos; i++) {
    at = text.find('\n', at);
    if (at != std::string::npos) at++;
  }
  std::vector<int> numbers;
  if (at == std::string::npos) return numbers;
  const std::string line = text.substr(at, text.find('\n', at) - at);
  for (size_t p = 0; p < line.size(); p = line.find(' ', p) + 1) {
    numbers.push_back(std::stoi(line.substr(p)));
    if (line.find(' ', p) == std::string::npos) break;
  }
  return numbers;
}

// The first `n` lines of a text.
std::string Lines(const std::string& text, int n) {
  size_t at = 0;
  for (int i = 0; i < n && at != std::string::npos; i++) {
    at = text.find('\n', at);
    if (at != std::string::npos) at++;
  }
  return text.substr(0, at);
}

class SessionReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunChild("recorded", Session{nullptr, "session.vfr"}), 0) << Log("recorded");
    ASSERT_NE(Log("recorded").find("Recorded " + std::to_string(kSteps) + " steps to session.vfr"),
              std::string::npos)
        << Log("recorded");
  }
};

TEST_F(SessionReplay, EveryStepSeesTheRecordedClockRandomNumbersAndInput) {
  // Recorded again while replayed: the same session gives the same file.
  ASSERT_EQ(RunChild("replayed", Session{"session.vfr", "again.vfr"}), 0);
  EXPECT_EQ(Seen("replayed"), Seen("recorded"));
  EXPECT_EQ(Log("replayed").find("desync"), std::string::npos) << Log("replayed");
  EXPECT_EQ(vftest::ReadFile("again.vfr"), vftest::ReadFile("session.vfr"));
  // By default the game quits once the recording is used up.
  EXPECT_NE(Log("replayed")
                .find("Replay of session.vfr stopped after step 40: the recording "
                      "ends there. The game quits."),
            std::string::npos)
      << Log("replayed");
}

// The button and key pressed from one step on, and music said to play in
// a later one: the replay gives the edges, raw keys and readings as a live
// poll would have, and reports the first step that draws otherwise.
TEST_F(SessionReplay, AChangedInputIsReportedAtItsStep) {
  SessionReader reader{};
  SessionHeader header{};
  ASSERT_EQ(OpenSessionReader(reader, "session.vfr", kInputWords, kGame, header),
            ReadResult::kEntry);
  SessionWriter writer{};
  ASSERT_TRUE(OpenSessionWriter(writer, "altered.vfr", header));
  SessionEntry e{};
  ReadResult result;
  for (int n = 0; (result = ReadSessionEntry(reader, e)) != ReadResult::kCut; n++) {
    ASSERT_TRUE(result == ReadResult::kEntry || result == ReadResult::kEnd);
    if (n == kAlteredStep) {
      ASSERT_EQ(e.flags & kEntryInput, 0);  // a window-free poll changes nothing
      e.flags |= kEntryInput;
      e.input = {{kButtonRight, 1}, {kRightKeyWord, 1}};
    }
    if (n == kMusicStep) {
      ASSERT_EQ(e.other, std::vector<int>{0});
      e.other = {1};
    }
    ASSERT_TRUE(WriteSessionEntry(writer, e));
    if (result == ReadResult::kEnd) break;
  }
  CloseSessionWriter(writer);

  ASSERT_EQ(RunChild("altered", Session{"altered.vfr"}), 0);
  const std::string log = Log("altered");
  EXPECT_NE(log.find("Replay desync at step 17: its draw commands differ from the recording"),
            std::string::npos)
      << log;
  EXPECT_EQ(vftest::CountLines(log, "desync"), 1) << log;  // only the first
  const std::string seen = Seen("altered");
  EXPECT_EQ(Lines(seen, kAlteredStep - 1), Lines(Seen("recorded"), kAlteredStep - 1));
  // right, pressed, key, music
  const auto flags = [&seen](int step) {
    const std::vector<int> n = Numbers(seen, step);
    return n.size() == 6 ? std::vector<int>(n.begin() + 2, n.end()) : n;
  };
  EXPECT_EQ(flags(kAlteredStep - 1), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(flags(kAlteredStep), (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(flags(kAlteredStep + 1), (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(flags(kMusicStep), (std::vector<int>{1, 0, 1, 1}));
  EXPECT_EQ(flags(kMusicStep + 1), (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(SessionReplay, WithThenPlayThePlayerTakesOverAndTheClockGoesOn) {
  ASSERT_EQ(RunChild("continued", Session{"session.vfr", nullptr, 1, kSteps + 10}), 0);
  const std::string log = Log("continued");
  // The recorded session quit in its last step (the window-free poll asks
  // to quit), so the player takes over before it.
  EXPECT_NE(log.find("The player takes over."), std::string::npos) << log;
  EXPECT_NE(log.find("Stopped after"), std::string::npos) << log;
  const std::string seen = Seen("continued");
  EXPECT_EQ(Lines(seen, kSteps - 1), Lines(Seen("recorded"), kSteps - 1));
  // Live steps read a clock that carries on from the recorded one.
  std::vector<int> clock;
  for (size_t at = 0; at < seen.size(); at = seen.find('\n', at) + 1) {
    clock.push_back(std::stoi(seen.substr(at)));
  }
  ASSERT_GT(clock.size(), static_cast<size_t>(kSteps));
  for (size_t i = 1; i < clock.size(); i++) EXPECT_GE(clock[i], clock[i - 1]) << "step " << i + 1;
}

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Nothing is replayed past the damage, and the game quits as at the end of
// a whole recording.
TEST_F(SessionReplay, ABadFileIsOneLogLineAndNothingPastTheDamage) {
  const std::string whole = vftest::ReadFile("session.vfr");
  ASSERT_TRUE(vftest::WriteFile("cut.vfr", whole.substr(0, whole.size() * 2 / 3)));
  ASSERT_TRUE(vftest::WriteFile("not.vfr", "hello"));
  struct Case {
    const char* file;
    const char* reason;
  };
  for (const Case& c : {Case{"missing.vfr", "stopped after step 0: the file cannot be opened"},
                        Case{"not.vfr", "stopped after step 0: the file is not a recording"},
                        Case{"cut.vfr", "the file is cut off after it. The game quits."}}) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(RunChild("bad", Session{c.file}), 0);
    const std::string log = Log("bad");
    EXPECT_NE(log.find(c.reason), std::string::npos) << log;
    EXPECT_EQ(vftest::CountLines(log, "Replay of"), 1) << log;
    EXPECT_NE(log.find("Stopped after"), std::string::npos) << log;
  }
  // A cut file replays the steps it holds, and the game quits after them.
  EXPECT_LT(Seen("bad").size(), Seen("recorded").size());
  EXPECT_GT(LineCount(Seen("bad")), 1);
  EXPECT_EQ(Seen("bad"), Lines(Seen("recorded"), LineCount(Seen("bad"))));
}

}  // namespace
