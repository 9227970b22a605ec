// The game's loop in a browser (VeskCore::RunLoop). The page owns the loop:
// the browser calls Frame once per animation frame, about every 16.7 ms.
// One pass per frame would fall behind the 16 ms fixed step (at most 96 % of
// its pace), so a frame runs passes of the game's Heartbeat until no update
// or render step is due any more, as the native loop's passes would have run
// them in that time. A frame that has spent one whole step stops after its
// pass, so a slow render hands the page back to the browser after each pass.
// The pass that sees GameBreak ends the loop and runs the game's shutdown;
// then the page's onGameEnd hook, if it has one, is told.
#include <emscripten.h>

#include "VeskFrame.h"
#include "frame/Session.h"

// In frame/web/platform.js.
extern "C" void vf_page_game_ended();

namespace {

VeskCore* LoopGame;
void (*LoopShutdown)();

bool StepDue(VeskCore& game) {
  const int now = game.Mills();
  return now > game.NextUpdate || now > game.NextRender;
}

void Frame() {
  VeskCore& game = *LoopGame;
  const int start = game.Mills();
  do {
    Heartbeat();
  } while (game.GameBreak == 0 && StepDue(game) && game.Mills() - start < kFixedStepMs);
  if (game.GameBreak == 0) return;
  emscripten_cancel_main_loop();
  if (LoopShutdown != nullptr) LoopShutdown();
  vf_page_game_ended();
}

}  // namespace

void VeskCore::RunLoop(void (*shutdown)()) {
  SessionLoopStarts();
  GameBreak = 0;
  LoopGame = this;
  LoopShutdown = shutdown;
  // Does not return: the browser calls Frame from now on.
  emscripten_set_main_loop(Frame, 0, 1);
}
