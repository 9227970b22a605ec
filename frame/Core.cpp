// Engine core: the VeskCore lifecycle (Begin, Terminate), the millisecond
// clock, the game title and the game number, and the one platform object ASys
// with the clock and game globals.
// Relies on VeskSys::SysInit/Close (frame/Window.cpp) for the window and the
// audio device, and on SeedRnd (util/) for seeding the random generator.
// The clock is std::chrono::steady_clock counted from process start, so it is
// monotonic wall time in milliseconds that starts near 0.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "VeskFrame.h"
#include "frame/Window.h"

VeskSys ASys;
int GameStartTime;
int GameNum;
char GameTitle[kTextBufferSize];
int DebugToggle;
int ScreenshotToggle;

namespace {

const char kRule[] = "-=-=-=-=-=-=-=-=-";

// Taken during static initialisation, i.e. at process start.
const std::chrono::steady_clock::time_point kProcessStart = std::chrono::steady_clock::now();

// Milliseconds since process start. An int holds about 24 days of run time.
int ClockNow() {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - kProcessStart)
                              .count());
}

// Copies at most kTextBufferSize - 1 characters and always terminates, so a
// title too long for the buffer is cut instead of overrunning it.
void CopyTitle(char* to, const char* from) {
  if (from == nullptr) from = "";
  std::strncpy(to, from, kTextBufferSize - 1);
  to[kTextBufferSize - 1] = 0;
}

}  // namespace

void VeskCore::Begin(int num, const char* title) {
  std::printf("\n%s\n", kRule);
  std::printf("VeskFrame - v0.25\n");
  std::fflush(stdout);
  GameStartTime = ClockNow();
  Active = 1;
  GameNum = num;
  MixJoy = 1;
  DebugToggle = 0;
  DebugMode = 1;
  ScreenshotToggle = 0;
  ScreenshotMode = 0;
  CopyTitle(GameTitle, title);
  ASys.SysInit(GameTitle);
  // Without a window nothing can be drawn or polled: the failure is already
  // logged ("Initialisation Failed" / "ERRORRZ"), so shut down the way a game
  // would and leave with a failure status that scripts can see.
  if (window == nullptr) Terminate();
  SeedRnd();
}

void VeskCore::Terminate() {
  // The window exists from start-up until Close, so a missing one here means
  // start-up or a later window re-creation failed.
  const bool windowLost = (window == nullptr);
  ASys.Close();
  std::printf("Ran for %d millisecs.\n", Mills());
  std::printf("Farewell happy gamer\n");
  std::printf("%s\n\n", kRule);
  std::fflush(stdout);
  if (windowLost) std::exit(EXIT_FAILURE);
}

void VeskCore::SetTitle(const char* title) { CopyTitle(GameTitle, title); }

const char* VeskCore::GetTitle() { return GameTitle; }

void VeskCore::SetNum(int num) {
  GameNum = num;
  GameStartTime = ClockNow();
}

int VeskCore::GetNum() { return GameNum; }

int VeskCore::Mills() { return ClockNow() - GameStartTime; }

int VeskCore::StartTick() { return GameStartTime; }

void VeskCore::Rest(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
