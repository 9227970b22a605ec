// Helpers shared by the benchmark's in-process tests: the game loaded from
// the repository's data (on a real window, or without one for the tests
// that only record), and reading the recorded command list back as plain
// records. The tests define ThisGame themselves (main.cpp is not
// linked), so they drive the very MyGame that the benchmark runs.
#ifndef GAME_KIT_H
#define GAME_KIT_H

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MyGame.h"
#include "VeskFrame.h"
#include "graphics/Records.h"
#include "support/Files.h"
#include "support/Output.h"
#include "support/Scene.h"

struct Record {
  double s[kRecordSlots];
  int Kind() const { return static_cast<int>(s[kSlotKind]); }
  bool IsImage(int image) const {
    return Kind() == kCmdImage && static_cast<int>(s[kSlotImage]) == image;
  }
  int Frame() const { return static_cast<int>(s[kSlotFrame]); }
  // Position in drawing units (records hold it relative to the view centre).
  double X() const { return s[kSlotX] + rw2; }
  double Y() const { return s[kSlotY] + rh2; }
};

// Loads the game as its loading stages do, from the repository's data
// folder linked into the working directory, with no results file.
inline void LoadGame() {
  ASSERT_TRUE(vftest::LinkDataFolder());
  ThisGame.ResultsFile = nullptr;
  ThisGame.LoadTo = 1;
  for (int stage = 0; stage < 2 * kLoadStages && ThisGame.LoadTo > 0; stage++) ThisGame.Loader();
}

// The game loaded and shown in an 800 x 600 view with no window: enough for
// everything the game records, plays and writes. The audio device is
// OpenAL Soft's silent one.
inline void StartGameWithoutWindow() {
  GameNum = kGameNumber;
  ThisGame.DebugMode = 0;
  vftest::LogOf([] { ASys.OpenAudio(); });
  vftest::PublishWindowView();
  ThisGame.ViewWidth = vftest::kViewWidth;
  ThisGame.ViewHeight = vftest::kViewHeight;
  LoadGame();
}

// Opens the game's window with the rate overlay off, loads the game and
// runs one render pass, so that the view size is known and the assets are
// in their slots.
inline void StartGameOnWindow() {
  ASSERT_TRUE(vftest::OpenScene(ThisGame, kGameNumber, "This is a test", LoadGame,
                                &ThisGame.ViewWidth, &ThisGame.ViewHeight));
}

// Runs one test tick of test `test` at tick `tick` and returns what it recorded.
inline std::vector<Record> RecordTick(int test, int tick) {
  ThisGame.TestNum = test;
  ThisGame.TestTicks = tick;
  ASys.DrawTo = 0;
  ThisGame.ResetDraw();
  ThisGame.DoGame();
  std::vector<Record> out(ASys.DrawTo);
  for (int i = 0; i < ASys.DrawTo; i++) {
    for (int k = 0; k < kRecordSlots; k++) out[i].s[k] = ASys.Draw[i * kRecordSlots + k];
  }
  return out;
}

#endif  // GAME_KIT_H
