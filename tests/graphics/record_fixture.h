// Shared set-up of the command-recording tests: a game object, the view
// globals as a render step of an 800 x 600 window publishes them, an empty
// update-side list and the default draw state. No window is opened.
#ifndef VESKFRAME_TESTS_RECORD_FIXTURE_H
#define VESKFRAME_TESTS_RECORD_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "VeskFrame.h"

class RecordGame : public VeskCore {};
inline RecordGame TestGame;

constexpr float kTestViewWidth = 800.0f;
constexpr int kTestHalfWidth = 400;
constexpr int kTestHalfHeight = 300;

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASys.TargetScale = kTestViewWidth;
    ViewScale = 2.0f / kTestViewWidth;
    rw2 = kTestHalfWidth;
    rh2 = kTestHalfHeight;
    ASys.DrawTo = 0;
    ASys.DrawDropped = 0;
    TestGame.ResetDraw();
  }

  // Slot of record i of the update-side list.
  static double Slot(int record, int slot) { return ASys.Draw[record * kRecordSlots + slot]; }

  // Ends the update step as BufferGame does, without the overlay.
  static void HandOver() {
    ASys.RenderBuffer();
    ASys.DrawTo = 0;
    ASys.DrawDropped = 0;
  }

  // Number of lines of text that contain needle.
  static int CountLines(const std::string& text, const std::string& needle) {
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      if (text.substr(start, end - start).find(needle) != std::string::npos) count++;
      start = end + 1;
    }
    return count;
  }
};

#endif  // VESKFRAME_TESTS_RECORD_FIXTURE_H
