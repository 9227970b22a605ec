// Program entry of the benchmark: the one game object and the loop pass that
// the framework's Heartbeat runs. Everything else is in MyGame.cpp.
#include "MyGame.h"

MyGame ThisGame;

void Heartbeat() { ThisGame.KeepAlive(); }

// --record FILE and --replay FILE (see VeskCore::CommandLine); without
// arguments the benchmark runs as it always has.
int main(int argc, char** argv) {
  ThisGame.Launch(argc, argv);
  return 0;
}
