// The game's loop on the desktop (VeskCore::RunLoop): passes of the game's
// Heartbeat until GameBreak is set, then the game's shutdown. Kept apart from
// the other loop pieces so that only games that use RunLoop define Heartbeat.
#include "VeskFrame.h"
#include "frame/Session.h"

void VeskCore::RunLoop(void (*shutdown)()) {
  SessionLoopStarts();
  GameBreak = 0;
  while (GameBreak == 0) Heartbeat();
  if (shutdown != nullptr) shutdown();
}
