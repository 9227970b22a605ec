// Helpers of the tests that start the real benchmark executable (its path
// is compiled in as VF_BENCHMARK): a run folder, the child process with its
// console captured, keys sent through xdotool and the results file.
#ifndef GAME_RUN_KIT_H
#define GAME_RUN_KIT_H

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/Files.h"

constexpr int kTicksPerTestMs = 301 * 16;  // a test's time on a machine that keeps up
constexpr int kStillRunning = -1;

inline std::string Cwd() {
  char buf[4096];
  return getcwd(buf, sizeof buf) ? buf : ".";
}

// A fresh run folder: "<name>/" in the test's working directory.
inline std::string MakeRunFolder(const std::string& name) {
  const std::string dir = Cwd() + "/" + name;
  EXPECT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
  return dir;
}

// The benchmark running in its folder, console in console.txt/stderr.txt.
class BenchmarkRun {
 public:
  // extraEnv: "NAME=value" pairs set for the child only; args: its command
  // line after the program's name.
  void Start(const std::string& dir, const std::vector<std::string>& extraEnv = {},
             const std::vector<std::string>& args = {}) {
    dir_ = dir;
    const char* exe = VF_BENCHMARK;
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      if (chdir(dir.c_str()) != 0) _exit(126);
      const int out = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(err, 2);
      for (const std::string& e : extraEnv) putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> argv{const_cast<char*>(exe)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(exe, argv.data());
      _exit(127);
    }
  }

  // Exit status, or kStillRunning.
  int Poll() {
    if (status_ != kStillRunning) return status_;
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    return status_;
  }

  // Waits for the exit; a run that outlives the limit is killed (status 137).
  int Wait(int seconds) {
    for (int i = 0; i < seconds * 10 && Poll() == kStillRunning; i++) Sleep(100);
    if (Poll() == kStillRunning) Kill();
    return status_;
  }

  void Kill() {
    if (Poll() != kStillRunning) return;
    kill(pid_, SIGKILL);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    status_ = 128 + SIGKILL;
  }

  // Waits until the results file holds at least `lines` lines.
  bool WaitForResultLines(size_t lines, int seconds) {
    for (int i = 0; i < seconds * 10; i++) {
      if (Results().size() >= lines) return true;
      if (Poll() != kStillRunning) return false;
      Sleep(100);
    }
    return false;
  }

  bool WaitForConsole(const std::string& text, int seconds) {
    for (int i = 0; i < seconds * 10; i++) {
      if (Console().find(text) != std::string::npos) return true;
      if (Poll() != kStillRunning) return false;
      Sleep(100);
    }
    return false;
  }

  std::string Console() const { return vftest::ReadFile(dir_ + "/console.txt"); }
  std::string Errors() const { return vftest::ReadFile(dir_ + "/stderr.txt"); }
  std::vector<std::string> Results() const { return vftest::ReadLines(dir_ + "/Debug.txt"); }

  ~BenchmarkRun() {
    if (pid_ > 0) Kill();
  }

  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int status_ = kStillRunning;
};

// Holds Escape for a few frames in the focused window (the game's window is
// raised first); a single key event would fall between two polls.
inline void PressEscape() {
  std::system("xdotool search --name '^This is a test$' windowactivate --sync >/dev/null 2>&1");
  ASSERT_EQ(std::system("xdotool keydown Escape"), 0);
  BenchmarkRun::Sleep(300);
  ASSERT_EQ(std::system("xdotool keyup Escape"), 0);
}

// "<name> took <ms>" -> ms, or -1 when the line has another form.
inline int TookMs(const std::string& line, const std::string& name) {
  const std::string head = name + " took ";
  if (line.compare(0, head.size(), head) != 0) return -1;
  const std::string rest = line.substr(head.size());
  if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::atoi(rest.c_str());
}

#endif  // GAME_RUN_KIT_H
