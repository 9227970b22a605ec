// STUB: the benchmark game class.
#ifndef MYGAME_H
#define MYGAME_H
#include "VeskFrame.h"
class MyGame : public VeskCore {
 public:
  float ViewWidth;
  float ViewHeight;
  int TestNum;
  int TestStart;
  int TestTicks;
  FILE* ResultsFile;
  void Launch();
  void Loader();
  void DoGame();
  void GameLoop();
  void KeepAlive();
  void Update();
  void Render();
};
extern MyGame ThisGame;
#endif
