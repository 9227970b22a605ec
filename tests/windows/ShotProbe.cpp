// A test game that compares builds: it runs the benchmark's own MyGame
// through its loading stages to a fixed tick of the first test and saves
// that frame as "Screenshot.png", then shuts down. Built for Linux and for
// Windows; the Windows tier runs both in folders holding Data/1 and compares
// the pictures. The clock moves only the orbiters in the middle of the view.
#include "MyGame.h"

MyGame ThisGame;
void Heartbeat() { ThisGame.KeepAlive(); }

namespace {
constexpr int kTest = 0;
constexpr int kTick = 50;
constexpr int kRenderPasses = 3;  // each pass fades the background one step
}  // namespace

int main() {
  ThisGame.Begin(kGameNumber, "This is a test");
  ThisGame.DebugMode = 0;  // no rate overlay over the bottom-left marker
  ThisGame.LoadTo = 1;
  while (ThisGame.LoadTo > 0) ThisGame.Loader();
  ThisGame.Render();  // publishes the view size that DoGame draws with
  ThisGame.TestNum = kTest;
  ThisGame.TestTicks = kTick;
  ThisGame.ResetDraw();
  ThisGame.DoGame();
  ThisGame.BufferGame();
  for (int pass = 0; pass < kRenderPasses; pass++) ThisGame.Render();
  ThisGame.TakeScreenshot();
  ThisGame.Terminate();
  return 0;
}
