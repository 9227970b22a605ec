// Shared set-up of the command-recording tests: a game object, the view
// globals as a render step of an 800 x 600 window publishes them, an empty
// update-side list and the default draw state. No window is opened.
#ifndef VESKFRAME_TESTS_RECORD_FIXTURE_H
#define VESKFRAME_TESTS_RECORD_FIXTURE_H

#include <gtest/gtest.h>

#include "VeskFrame.h"
#include "graphics/Records.h"
#include "support/Output.h"
#include "support/Scene.h"

class RecordGame : public VeskCore {};
inline RecordGame TestGame;

constexpr int kTestHalfWidth = static_cast<int>(vftest::kViewWidth / 2);
constexpr int kTestHalfHeight = static_cast<int>(vftest::kViewHeight / 2);

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vftest::PublishWindowView();
    ASys.DrawTo = 0;
    ASys.DrawDropped = 0;
    TestGame.ResetDraw();
  }

  // Slot of record i of the update-side list.
  static double Slot(int record, int slot) { return ASys.Draw[record * kRecordSlots + slot]; }

  // Ends the update step as BufferGame does, without the overlay.
  static void HandOver() { HandOverRecords(); }
};

#endif  // VESKFRAME_TESTS_RECORD_FIXTURE_H
