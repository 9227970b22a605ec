// A second, tiny game built on the framework exactly as a game is: a class
// derived from VeskCore, one static instance, Begin, the standard loop pass
// and Terminate. The lifecycle tests run it as a child process.
// Usage: frame_testgame [title] [update steps after which the game quits]
// Without a step count it runs until Escape, F4 or a close request.
#include <cstdlib>

#include "VeskFrame.h"

class TestGame : public VeskCore {
 public:
  float ViewWidth;
  float ViewHeight;
  int Steps;
  int QuitAfter;  // 0: run until the player quits

  void Update() {
    PollInput();
    ResetDraw();
    Rect(rw2, rh2, 40);
    BufferGame();
    Steps += 1;
    if (QuitAfter > 0 && Steps >= QuitAfter) GameBreak = 1;
  }
  void Render() { RenderGame(ViewWidth, ViewHeight); }
  void KeepAlive() { VeskKeepAlive(*this); }
  void GameLoop() {
    GameBreak = 0;
    while (GameBreak == 0) KeepAlive();
    Terminate();
  }
};

TestGame Game;

void Heartbeat() { Game.KeepAlive(); }

int main(int argc, char** argv) {
  Game.QuitAfter = argc > 2 ? std::atoi(argv[2]) : 0;
  Game.Begin(1, argc > 1 ? argv[1] : "VeskFrame test game");
  Game.NextUpdate = 0;
  Game.NextRender = 0;
  Game.GameLoop();
  return 0;
}
