// STUB (Engine core: the VeskCore lifecycle (Begin, Terminate), clock, title and game number;
// the ASys platform object and the clock/game globals.): placeholder so the library links while the real code is written.
#include "Platform.h"

VeskSys ASys;
int GameStartTime;
int GameNum;
char GameTitle[kTextBufferSize];
int DebugToggle;
int ScreenshotToggle;
void VeskCore::Begin(int, const char*) {}
void VeskCore::Terminate() {}
void VeskCore::SetTitle(const char*) {}
const char* VeskCore::GetTitle() { return GameTitle; }
void VeskCore::SetNum(int) {}
int VeskCore::GetNum() { return GameNum; }
int VeskCore::Mills() { return 0; }
int VeskCore::StartTick() { return GameStartTime; }
void VeskCore::Rest(int) {}
