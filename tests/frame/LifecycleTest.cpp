// A whole run of the small test game as a child process: its start-up and
// shutdown output line by line, quitting by Escape and by F4, and a start-up
// on a display that does not exist, which must fail cleanly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "frame/DisplayDriver.h"
#include "support/Files.h"

namespace {

const char kRule[] = "-=-=-=-=-=-=-=-=-";
const char kStderrFile[] = "child-stderr.txt";

struct ChildRun {
  std::vector<std::string> lines;
  std::string err;
  int status = -1;  // exit status, or -1 if the child did not exit normally
};

class Child {
 public:
  // Starts the test game (under a time limit, so a hung child cannot hang the
  // test). display replaces DISPLAY when given.
  Child(const std::string& title, int steps, const char* display = nullptr) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      const int err = open(kStderrFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (err >= 0) dup2(err, STDERR_FILENO);
      close(fds[0]);
      if (display != nullptr) setenv("DISPLAY", display, 1);
      const std::string stepText = std::to_string(steps);
      execlp("timeout", "timeout", "60", VF_TESTGAME, title.c_str(), stepText.c_str(),
             (char*)nullptr);
      _exit(127);
    }
    close(fds[1]);
    out_ = fds[0];
  }
  ~Child() {
    if (out_ >= 0) close(out_);
  }
  bool Started() const { return pid_ > 0 && out_ >= 0; }

  // Reads output until the child closes it or timeoutMs pass; true on close.
  bool ReadUntilClosed(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p = {out_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      const ssize_t n = read(out_, buffer, sizeof(buffer));
      if (n <= 0) return true;
      text_.append(buffer, static_cast<size_t>(n));
    }
    return false;
  }

  ChildRun Finish() {
    ReadUntilClosed(kWaitMs * 6);
    ChildRun run;
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    std::istringstream in(text_);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    run.err = vftest::ReadFile(kStderrFile);
    return run;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string text_;
};

std::string UniqueTitle(const char* what) {
  static int count = 0;
  return std::string("vf-lifecycle-") + what + "-" + std::to_string(getpid()) + "-" +
         std::to_string(++count);
}

void ExpectNoSanitizerReport(const ChildRun& run) {
  EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
}

// The closing lines after the log: elapsed time, farewell, rule, empty line.
void ExpectClosingLines(const ChildRun& run, int minMillis) {
  const size_t n = run.lines.size();
  ASSERT_GE(n, 4u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.lines[n - 4], m, std::regex("Ran for (\\d+) millisecs\\.")))
      << run.lines[n - 4];
  EXPECT_GE(std::stoi(m[1]), minMillis);
  EXPECT_EQ(run.lines[n - 3], "Farewell happy gamer");
  EXPECT_EQ(run.lines[n - 2], kRule);
  EXPECT_EQ(run.lines[n - 1], "");
}

TEST(Lifecycle, StartUpAndShutdownOutputLineByLine) {
  const int steps = 20;
  Child child(UniqueTitle("output"), steps);
  ASSERT_TRUE(child.Started());
  const ChildRun run = child.Finish();
  EXPECT_EQ(run.status, 0);
  const std::vector<std::string> head = {
      "",
      kRule,
      "VeskFrame - v0.25",
      "       1> Opened Window",
      "       2> OpenAL Audio Engaged!",
      "       3> Opened Window",
      "       4> Closing OpenAL Audio",
      "       5> Closing OpenGL Window",
  };
  ASSERT_EQ(run.lines.size(), head.size() + 4);
  for (size_t i = 0; i < head.size(); i++) EXPECT_EQ(run.lines[i], head[i]) << "line " << i;
  // The game quit after its update steps, 16 ms apart.
  ExpectClosingLines(run, (steps - 1) * kFixedStepMs);
  ExpectNoSanitizerReport(run);
}

class Quit : public ::testing::TestWithParam<const char*> {};

TEST_P(Quit, KeyEndsTheLoopAndTheGameSaysFarewell) {
  const std::string title = UniqueTitle(GetParam());
  Child child(title, 0);
  ASSERT_TRUE(child.Started());
  const std::string id = FindWindow(title);
  ASSERT_FALSE(id.empty());
  Xdo("windowactivate --sync " + id);
  Xdo(std::string("keydown ") + GetParam());
  const bool closed = child.ReadUntilClosed(kWaitMs);
  Xdo(std::string("keyup ") + GetParam());
  EXPECT_TRUE(closed);
  const ChildRun run = child.Finish();
  EXPECT_EQ(run.status, 0);
  ASSERT_GE(run.lines.size(), 6u);
  EXPECT_EQ(run.lines[run.lines.size() - 5], "       5> Closing OpenGL Window");
  ExpectClosingLines(run, 0);
  ExpectNoSanitizerReport(run);
}

INSTANTIATE_TEST_SUITE_P(Keys, Quit, ::testing::Values("Escape", "F4"));

// A display number nobody serves: GLFW cannot initialise, no window can be
// made, and the program must say so, shut down and exit with a failure.
TEST(Lifecycle, MissingDisplayFailsCleanlyWithNonZeroStatus) {
  int number = 977;
  while (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0) number++;
  const std::string display = ":" + std::to_string(number);
  Child child(UniqueTitle("nodisplay"), 5, display.c_str());
  ASSERT_TRUE(child.Started());
  const ChildRun run = child.Finish();
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.status, -1) << "the child did not exit by itself";
  std::string all;
  for (const std::string& line : run.lines) all += line + "\n";
  const size_t failed = all.find("> Initialisation Failed\n");
  const size_t noWindow = all.find("> ERRORRZ\n");
  const size_t closing = all.find("> Closing OpenGL Window\n");
  EXPECT_NE(failed, std::string::npos) << all;
  EXPECT_NE(noWindow, std::string::npos) << all;
  EXPECT_NE(closing, std::string::npos) << all;
  EXPECT_LT(failed, noWindow);
  EXPECT_LT(noWindow, closing);
  EXPECT_EQ(all.find("Opened Window"), std::string::npos) << all;
  ExpectClosingLines(run, 0);
  ExpectNoSanitizerReport(run);
}

}  // namespace
