// Engine core: the VeskCore lifecycle (Begin, Terminate), the millisecond
// clock, the game title and the game number, and the one platform object ASys
// with the clock and game globals.
// Relies on VeskSys::SysInit/Close (frame/Window.cpp) for the window and the
// audio device, on SeedRnd (util/) for seeding the random generator, and on
// the operating-system seam (frame/Platform.h) for the clock and for sleeping:
// monotonic wall time in milliseconds that starts near 0.
#include <cstdio>
#include <cstdlib>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/Session.h"
#include "frame/Window.h"
#include "util/TextBuffer.h"

VeskSys ASys;
int GameStartTime;
int GameNum;
char GameTitle[kTextBufferSize];
int DebugToggle;
int ScreenshotToggle;

namespace {

const char kRule[] = "-=-=-=-=-=-=-=-=-";

}  // namespace

void VeskCore::Begin(int num, const char* title) {
  std::printf("\n%s\n", kRule);
  std::printf("VeskFrame - v%s\n", VESKFRAME_VERSION);
  std::fflush(stdout);
  GameStartTime = PlatformClockMs();
  Active = 1;
  GameNum = num;
  MixJoy = 1;
  DebugToggle = 0;
  DebugMode = 1;
  ScreenshotToggle = 0;
  ScreenshotMode = 0;
  CopyText(GameTitle, title);
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
  SessionEnds();
  ASys.Close();
  std::printf("Ran for %d millisecs.\n", Mills());
  std::printf("Farewell happy gamer\n");
  std::printf("%s\n\n", kRule);
  std::fflush(stdout);
  if (windowLost) std::exit(EXIT_FAILURE);
}

// A title too long for the buffer is cut instead of overrunning it.
void VeskCore::SetTitle(const char* title) { CopyText(GameTitle, title); }

const char* VeskCore::GetTitle() { return GameTitle; }

void VeskCore::SetNum(int num) {
  GameNum = num;
  GameStartTime = PlatformClockMs();
  SessionClockRestarted();
}

int VeskCore::GetNum() { return GameNum; }

int LiveMills() { return PlatformClockMs() - GameStartTime; }

int VeskCore::Mills() { return SessionClock(LiveMills()); }

int VeskCore::StartTick() { return GameStartTime; }

void VeskCore::Rest(int ms) { PlatformSleepMs(ms); }
