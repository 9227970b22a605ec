// Pointer, touch and joystick queries and PlayKey, read from records filled
// directly (no window): the two families agree, ints are truncated, joystick 0
// mixes into up and down, and indices outside the arrays read nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "VeskFrame.h"
#include "frame/Window.h"

namespace {

class InputQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(ASys.Button, 0, sizeof(ASys.Button));
    std::memset(ASys.Touch, 0, sizeof(ASys.Touch));
    std::memset(ASys.Joy, 0, sizeof(ASys.Joy));
    game.MixJoy = 1;
  }
  // Fills every slot with a value no in-range query of these tests expects,
  // so a read past an array edge shows up as a non-zero result.
  void FillEverything(float value) {
    for (auto& record : ASys.Touch)
      for (float& slot : record) slot = value;
    for (auto& record : ASys.Joy)
      for (float& slot : record) slot = value;
    for (int& b : ASys.Button) b = 1;
  }
  VeskCore game{};
};

TEST_F(InputQueries, MouseAndTouchFamiliesReadTheSameRecords) {
  float* mouse = ASys.Touch[0];
  mouse[1] = 123.5f;
  mouse[2] = 77.25f;
  mouse[5] = 1;
  mouse[6] = 1;
  mouse[7] = 3;
  EXPECT_FLOAT_EQ(game.MouseX(), 123.5f);
  EXPECT_FLOAT_EQ(game.MouseY(), 77.25f);
  EXPECT_EQ(game.MouseDown(), 1);
  EXPECT_EQ(game.MouseDown_Alt(), 1);
  EXPECT_EQ(game.MouseHeld(), 3);
  EXPECT_EQ(game.TouchX(), game.MouseX());
  EXPECT_EQ(game.TouchY(), game.MouseY());
  EXPECT_EQ(game.TouchDown(), game.MouseDown());
  EXPECT_EQ(game.TouchDown_Alt(), game.MouseDown_Alt());
  EXPECT_EQ(game.TouchHeld(), game.MouseHeld());
  EXPECT_EQ(game.MouseX(0), game.MouseX());
  EXPECT_EQ(game.TouchHeld(0), game.MouseHeld());
}

TEST_F(InputQueries, IndexedFormsPickTheirRecordAndTruncateInts) {
  ASys.Touch[3][1] = 10;
  ASys.Touch[3][2] = 20;
  ASys.Touch[3][5] = 0.9f;
  ASys.Touch[3][7] = 2.99f;
  EXPECT_FLOAT_EQ(game.MouseX(3), 10);
  EXPECT_FLOAT_EQ(game.TouchY(3), 20);
  EXPECT_EQ(game.MouseDown(3), 0);
  EXPECT_EQ(game.TouchHeld(3), 2);
  EXPECT_EQ(game.MouseX(), 0);
}

TEST_F(InputQueries, JoystickButtonsCountOnlyAboveHalf) {
  ASys.Joy[0][4] = 0.5f;
  ASys.Joy[0][5] = 0.51f;
  ASys.Joy[2][49] = 1;
  EXPECT_EQ(game.JoyDown(4), 0);
  EXPECT_EQ(game.JoyDown(5), 1);
  EXPECT_EQ(game.JoyDown(5, 0), 1);
  EXPECT_EQ(game.JoyDown(5, 1), 0);
  EXPECT_EQ(game.JoyDown(49, 2), 1);
}

TEST_F(InputQueries, JoystickAxesReadSlotFiftyOnward) {
  ASys.Joy[2][51] = -0.75f;
  ASys.Joy[0][50] = 0.25f;
  ASys.Joy[1][98] = 1;
  EXPECT_FLOAT_EQ(game.JoyAxis(1, 2), -0.75f);
  EXPECT_FLOAT_EQ(game.JoyAxis(0), 0.25f);
  EXPECT_FLOAT_EQ(game.JoyAxis(48, 1), 1);
  EXPECT_FLOAT_EQ(game.JoyAxis(1), 0);
}

TEST_F(InputQueries, IndicesOutsideTheArraysReadNothing) {
  FillEverything(1);
  const int badPointers[] = {-1, kPointers, 1000, -100000};
  for (int i : badPointers) {
    EXPECT_EQ(game.MouseX(i), 0) << i;
    EXPECT_EQ(game.MouseY(i), 0) << i;
    EXPECT_EQ(game.MouseDown(i), 0) << i;
    EXPECT_EQ(game.MouseDown_Alt(i), 0) << i;
    EXPECT_EQ(game.MouseHeld(i), 0) << i;
    EXPECT_EQ(game.TouchX(i), 0) << i;
    EXPECT_EQ(game.TouchHeld(i), 0) << i;
  }
  // Button slots end at 49 (slot 50 is the first axis); axes end at 48
  // (slot 99 is the presence flag).
  const int badButtons[] = {-1, 50, 99, kJoySlots, 5000};
  for (int n : badButtons) {
    EXPECT_EQ(game.JoyDown(n), 0) << n;
    EXPECT_EQ(game.JoyDown(n, 1), 0) << n;
  }
  const int badAxes[] = {-1, 49, 50, 1000};
  for (int n : badAxes) EXPECT_EQ(game.JoyAxis(n, 1), 0) << n;
  const int badSlots[] = {-1, kJoysticks, 77};
  for (int j : badSlots) {
    EXPECT_EQ(game.JoyDown(0, j), 0) << j;
    EXPECT_EQ(game.JoyAxis(0, j), 0) << j;
  }
  const int badButtonNumbers[] = {-1, kButtons, 100000, -100000};
  for (int n : badButtonNumbers) {
    EXPECT_EQ(game.PlayKey(n), 0) << n;
    EXPECT_EQ(ASys.IsBut(n), 0) << n;
  }
  // The edges themselves are in range.
  EXPECT_EQ(game.MouseDown(kPointers - 1), 1);
  EXPECT_EQ(game.JoyDown(49, kJoysticks - 1), 1);
  EXPECT_EQ(game.JoyAxis(48, kJoysticks - 1), 1);
  EXPECT_EQ(game.PlayKey(kButtons - 1), 1);
}

TEST_F(InputQueries, PlayKeyMixesJoystickZeroIntoUpAndDown) {
  ASys.Joy[0][51] = -0.8f;
  EXPECT_EQ(game.PlayKey(kButtonUp), 1);
  EXPECT_EQ(game.PlayKey(kButtonDown), 0);
  game.MixJoy = 0;
  EXPECT_EQ(game.PlayKey(kButtonUp), 0);
  game.MixJoy = 1;

  ASys.Joy[0][51] = 0.8f;
  EXPECT_EQ(game.PlayKey(kButtonUp), 0);
  EXPECT_EQ(game.PlayKey(kButtonDown), 1);

  ASys.Joy[0][51] = 0.5f;  // exactly half is not pressed
  EXPECT_EQ(game.PlayKey(kButtonDown), 0);

  ASys.Joy[0][10] = 1;
  ASys.Joy[0][12] = 1;
  EXPECT_EQ(game.PlayKey(kButtonUp), 1);
  EXPECT_EQ(game.PlayKey(kButtonDown), 1);
  // Other buttons and other joysticks are not mixed in.
  EXPECT_EQ(game.PlayKey(kButtonAction1), 0);
  ASys.Joy[0][10] = 0;
  ASys.Joy[1][10] = 1;
  EXPECT_EQ(game.PlayKey(kButtonUp), 0);

  ASys.Button[kButtonAction1] = 1;
  EXPECT_EQ(game.PlayKey(kButtonAction1), 1);
  EXPECT_EQ(ASys.IsBut(kButtonAction1), 1);
}

// Without a window (its re-creation failed) a poll reads no device, reports
// no focus and asks the game to quit instead of touching the missing window.
TEST_F(InputQueries, PollWithoutWindowRequestsQuit) {
  ASSERT_EQ(window, nullptr);
  game.Active = 1;
  game.DebugMode = 1;
  ASys.Touch[0][1] = 42;
  game.PollInput();
  EXPECT_EQ(game.GameBreak, 1);
  EXPECT_EQ(game.Active, -1);
  EXPECT_EQ(game.DebugMode, 1);
  EXPECT_FLOAT_EQ(game.MouseX(), 42);
  EXPECT_EQ(ASys.IsBut(kButtonQuit), 1);
}

}  // namespace
