// STUB: program entry.
#include "MyGame.h"
MyGame ThisGame;
void Heartbeat() { ThisGame.KeepAlive(); }
int main() {
  ThisGame.Launch();
  return 0;
}
