// Program entry of the benchmark: the one game object and the loop pass that
// the framework's Heartbeat runs. Everything else is in MyGame.cpp.
#include "MyGame.h"

MyGame ThisGame;

void Heartbeat() { ThisGame.KeepAlive(); }

int main() {
  ThisGame.Launch();
  return 0;
}
