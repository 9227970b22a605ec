// Helpers shared by the benchmark's in-process tests: the data folder link,
// a loaded game on a real window, and reading the recorded command list back
// as plain records. The tests define ThisGame themselves (main.cpp is not
// linked), so they drive the very MyGame that the benchmark runs.
#ifndef GAME_KIT_H
#define GAME_KIT_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "MyGame.h"
#include "VeskFrame.h"
#include "graphics/Records.h"

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

// Makes "Data" in the working directory point at the repository's data.
inline void LinkDataFolder() {
  const char* source = std::getenv("VF_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "VF_SOURCE_DIR is not set";
  const std::string target = std::string(source) + "/Data";
  unlink("Data");
  ASSERT_EQ(symlink(target.c_str(), "Data"), 0) << "cannot link " << target;
}

// Opens the game's window, runs every loading stage and one render pass, so
// that the view size is known and the assets are in their slots.
inline void StartLoadedGame() {
  LinkDataFolder();
  ThisGame.Begin(kGameNumber, "This is a test");
  ThisGame.DebugMode = 0;  // no rate overlay over the bottom-left corner
  ThisGame.ResultsFile = nullptr;
  ThisGame.LoadTo = 1;
  for (int stage = 0; stage < 2 * kLoadStages && ThisGame.LoadTo > 0; stage++) ThisGame.Loader();
  ThisGame.Render();
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
