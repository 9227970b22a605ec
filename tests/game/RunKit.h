// Helpers of the tests that start the real benchmark executable: a run
// folder with its data, the child process with its console captured, keys
// sent through xdotool, the results file, and 16-bit WAV files (the data's
// own and OpenAL Soft's capture, whose sizes may still read 0xFFFFFFFF).
#ifndef GAME_RUN_KIT_H
#define GAME_RUN_KIT_H

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

constexpr int kTicksPerTestMs = 301 * 16;  // a test's time on a machine that keeps up
constexpr int kStillRunning = -1;

inline std::string SourceDir() {
  const char* s = std::getenv("VF_SOURCE_DIR");
  return s ? s : "";
}

inline std::string Cwd() {
  char buf[4096];
  return getcwd(buf, sizeof buf) ? buf : ".";
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A fresh run folder: "<name>/" in the test's working directory.
inline std::string MakeRunFolder(const std::string& name) {
  const std::string dir = Cwd() + "/" + name;
  EXPECT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
  return dir;
}

inline void LinkData(const std::string& dir) {
  const std::string target = SourceDir() + "/Data";
  EXPECT_EQ(symlink(target.c_str(), (dir + "/Data").c_str()), 0);
}

// The benchmark running in its folder, console in console.txt/stderr.txt.
class BenchmarkRun {
 public:
  // extraEnv: "NAME=value" pairs set for the child only.
  void Start(const std::string& dir, const std::vector<std::string>& extraEnv = {}) {
    dir_ = dir;
    const char* exe = std::getenv("VF_BENCHMARK");
    ASSERT_NE(exe, nullptr) << "VF_BENCHMARK is not set";
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      if (chdir(dir.c_str()) != 0) _exit(126);
      const int out = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(err, 2);
      for (const std::string& e : extraEnv) putenv(const_cast<char*>(e.c_str()));
      execl(exe, exe, static_cast<char*>(nullptr));
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
      if (ReadLines(dir_ + "/Debug.txt").size() >= lines) return true;
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

  std::string Console() const { return ReadFile(dir_ + "/console.txt"); }
  std::string Errors() const { return ReadFile(dir_ + "/stderr.txt"); }
  std::vector<std::string> Results() const { return ReadLines(dir_ + "/Debug.txt"); }

  ~BenchmarkRun() {
    if (pid_ > 0) Kill();
  }

  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int status_ = kStillRunning;
};

// A private virtual screen of a chosen size with its window manager, for a
// run whose full-screen phase should not cost the fill of a large monitor.
// Both processes are stopped by their own ids when the object goes.
class PrivateDisplay {
 public:
  bool Start(int width, int height) {
    int n = 150;
    while (Exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
           Exists("/tmp/.X" + std::to_string(n) + "-lock"))
      n++;
    name_ = ":" + std::to_string(n);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    xvfb_ = Spawn({"Xvfb", name_, "-screen", "0", screen, "-nolisten", "tcp"});
    for (int i = 0; i < 100 && !Exists("/tmp/.X11-unix/X" + std::to_string(n)); i++)
      BenchmarkRun::Sleep(50);
    if (!Exists("/tmp/.X11-unix/X" + std::to_string(n))) return false;
    wm_ = Spawn({"openbox"});
    const std::string check =
        "DISPLAY=" + name_ +
        " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'";
    for (int i = 0; i < 100; i++) {
      if (std::system(check.c_str()) == 0) return true;
      BenchmarkRun::Sleep(50);
    }
    return false;
  }
  std::string Env() const { return "DISPLAY=" + name_; }
  ~PrivateDisplay() {
    Stop(wm_);
    Stop(xvfb_);
  }

 private:
  static bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }
  pid_t Spawn(const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      setenv("DISPLAY", name_.c_str(), 1);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
    return pid;
  }
  static void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int raw = 0;
    waitpid(pid, &raw, 0);
  }
  std::string name_;
  pid_t xvfb_ = -1;
  pid_t wm_ = -1;
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

// ---- WAV ----

struct Wav {
  int channels = 0;
  int rate = 0;
  int bits = 0;
  uint32_t dataBytes = 0;        // as found in the data chunk's header
  std::vector<int16_t> samples;  // interleaved
};

inline uint32_t Le32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

// Reads 16-bit PCM (plain or extensible format). A data size of 0xFFFFFFFF,
// or one past the end of the file, means "to the end of the file".
inline bool ReadWav(const std::string& path, Wav& wav) {
  const std::string b = ReadFile(path);
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
  size_t at = 12;
  bool haveFormat = false;
  while (at + 8 <= b.size()) {
    const std::string id = b.substr(at, 4);
    const uint32_t size = Le32(b, at + 4);
    at += 8;
    if (id == "fmt " && size >= 16 && at + 16 <= b.size()) {
      wav.channels = uint8_t(b[at + 2]) | uint8_t(b[at + 3]) << 8;
      wav.rate = static_cast<int>(Le32(b, at + 4));
      wav.bits = uint8_t(b[at + 14]) | uint8_t(b[at + 15]) << 8;
      haveFormat = true;
    } else if (id == "data") {
      wav.dataBytes = size;
      const size_t n = std::min<size_t>(size, b.size() - at) / 2;
      wav.samples.resize(n);
      for (size_t i = 0; i < n; i++)
        wav.samples[i] =
            static_cast<int16_t>(uint8_t(b[at + 2 * i]) | uint8_t(b[at + 2 * i + 1]) << 8);
      return haveFormat && wav.bits == 16 && wav.channels > 0;
    }
    if (size > b.size() - at) return false;
    at += size + (size & 1);
  }
  return false;
}

#endif  // GAME_RUN_KIT_H
