// The benchmark game: fifteen timed tests of sprite drawing, blend modes,
// rotation, full-screen output and streamed music, with their results
// written to "Debug.txt". One instance, ThisGame, lives in static storage.
#ifndef MYGAME_H
#define MYGAME_H

#include <cstdio>

#include "VeskFrame.h"

constexpr int kGameNumber = 1;      // data folder "Data/1"
constexpr int kTestCount = 15;      // tests 0..14
constexpr int kTestLastTick = 300;  // a test ends on the tick that counts past this
constexpr int kLoadStages = 5;      // loading stages 1..5 (4 and 5 load nothing)
constexpr int kSpriteImage = 0;     // "gfx-32"
constexpr int kFontImage = 51;      // "bandwidth"
constexpr int kSheetFrame = 32;     // frame side of both sheets, in pixels
constexpr int kEndSound = 1;        // "audio/01.wav"
constexpr int kFullscreenTest = 8;  // the window goes full screen when this test starts
constexpr const char* kResultsFileName = "Debug.txt";
constexpr const char* kSystemFileName = "System.txt";  // what the run measured on

class MyGame : public VeskCore {
 public:
  float ViewWidth;  // view size in drawing units, written by every render step
  float ViewHeight;
  int TestNum;        // running test, 0..14; 15 ends the run
  int TestStart;      // Mills() when the running test began
  int TestTicks;      // ticks counted in the running test, 0..300
  FILE* ResultsFile;  // nullptr when "Debug.txt" could not be created

  void Launch(int argc, const char* const* argv);  // the whole program
  void Loader();                                   // one loading stage
  void DoGame();                                   // one test tick
  void GameLoop();  // RunLoop: passes of Heartbeat until GameBreak, then Finish
  void Finish();    // closes the results file and terminates
  void KeepAlive();
  void Update();
  void Render();

  // Times the running test from now. Its ticks and frames fall due one step
  // apart from here: a backlog left by start-up or by a slow test is not
  // caught up inside it, which would cut its time below 301 steps.
  void StartTestClock();

  // Writes "System.txt" beside the results: the GL renderer and version of
  // the game's own context, the window's and the monitor's size in pixels and
  // the audio device, one "key: value" line each ("none" for what is not
  // there). Called when loading ends, after the first render passes.
  void WriteSystemFile();

  // Name of test n as shown and written to the results; "" outside 0..14.
  static const char* TestName(int n);
};

extern MyGame ThisGame;

#endif  // MYGAME_H
