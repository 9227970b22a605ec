// Pointer, touch and joystick queries, PlayKey, the pressed and released
// edges, raw keys and the key map, read from records filled directly (no
// window): the two families agree, ints are truncated, joystick 0 mixes into
// up and down, edges compare the last poll with the one before, and indices
// outside the arrays read nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "VeskFrame.h"
#include "frame/Window.h"
#include "input/KeyMap.h"
#include "support/Output.h"

namespace {

class InputQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(ASys.Button, 0, sizeof(ASys.Button));
    std::memset(ASys.Touch, 0, sizeof(ASys.Touch));
    std::memset(ASys.Joy, 0, sizeof(ASys.Joy));
    std::memset(ASys.Key, 0, sizeof(ASys.Key));
    std::memset(ASys.ButtonBefore, 0, sizeof(ASys.ButtonBefore));
    std::memset(ASys.TouchBefore, 0, sizeof(ASys.TouchBefore));
    std::memset(ASys.JoyBefore, 0, sizeof(ASys.JoyBefore));
    game.MixJoy = 1;
    game.ResetKeyMap();
  }
  void TearDown() override { game.ResetKeyMap(); }
  // Fills every slot with a value no in-range query of these tests expects,
  // so a read past an array edge shows up as a non-zero result.
  void FillEverything(float value) {
    for (auto& record : ASys.Touch)
      for (float& slot : record) slot = value;
    for (auto& record : ASys.Joy)
      for (float& slot : record) slot = value;
    for (int& b : ASys.Button) b = 1;
    for (int& k : ASys.Key) k = 1;
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
    EXPECT_EQ(game.PlayKeyPressed(n), 0) << n;
    EXPECT_EQ(game.PlayKeyReleased(n), 0) << n;
    EXPECT_EQ(ASys.IsBut(n), 0) << n;
  }
  const int badKeys[] = {-1, kKeyCodes, 100000, -100000};
  for (int key : badKeys) EXPECT_EQ(game.KeyDown(key), 0) << key;
  // The edges themselves are in range.
  EXPECT_EQ(game.MouseDown(kPointers - 1), 1);
  EXPECT_EQ(game.JoyDown(49, kJoysticks - 1), 1);
  EXPECT_EQ(game.JoyAxis(48, kJoysticks - 1), 1);
  EXPECT_EQ(game.PlayKey(kButtons - 1), 1);
  EXPECT_EQ(game.KeyDown(kKeyCodes - 1), 1);
  EXPECT_EQ(game.KeyDown(0), 1);
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

// Each query as the before/now pair of one button runs through the four
// combinations.
TEST_F(InputQueries, PressedAndReleasedCompareTheLastPollWithTheOneBefore) {
  struct Case {
    int before, now, down, pressed, released;
  };
  const Case cases[] = {{0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}, {1, 1, 1, 0, 0}, {1, 0, 0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " -> " << c.now);
    ASys.ButtonBefore[kButtonAction3] = c.before;
    ASys.Button[kButtonAction3] = c.now;
    EXPECT_EQ(game.PlayKey(kButtonAction3), c.down);
    EXPECT_EQ(game.PlayKeyPressed(kButtonAction3), c.pressed);
    EXPECT_EQ(game.PlayKeyReleased(kButtonAction3), c.released);

    ASys.TouchBefore[0][5] = static_cast<float>(c.before);
    ASys.Touch[0][5] = static_cast<float>(c.now);
    ASys.TouchBefore[0][6] = static_cast<float>(c.before);
    ASys.Touch[0][6] = static_cast<float>(c.now);
    EXPECT_EQ(game.MousePressed(), c.pressed);
    EXPECT_EQ(game.MouseReleased(), c.released);
    EXPECT_EQ(game.MousePressed_Alt(), c.pressed);
    EXPECT_EQ(game.MouseReleased_Alt(), c.released);
  }
  // Other buttons and the right mouse button keep their own edges.
  ASys.TouchBefore[0][6] = 0;
  ASys.Touch[0][6] = 0;
  EXPECT_EQ(game.PlayKeyReleased(kButtonAction2), 0);
  EXPECT_EQ(game.MouseReleased_Alt(), 0);
  EXPECT_EQ(game.MouseReleased(), 1);
}

// Up driven by the stick in one poll and by its key in the next is no new press.
TEST_F(InputQueries, EdgesSeeTheJoystickMixedIn) {
  ASys.Joy[0][51] = -0.8f;
  EXPECT_EQ(game.PlayKeyPressed(kButtonUp), 1);
  ASys.JoyBefore[0][51] = -0.8f;
  ASys.Joy[0][51] = 0;
  ASys.Button[kButtonUp] = 1;
  EXPECT_EQ(game.PlayKeyPressed(kButtonUp), 0);
  EXPECT_EQ(game.PlayKeyReleased(kButtonUp), 0);
  ASys.Button[kButtonUp] = 0;
  EXPECT_EQ(game.PlayKeyReleased(kButtonUp), 1);
  game.MixJoy = 0;
  EXPECT_EQ(game.PlayKeyReleased(kButtonUp), 0);
}

// The buttons that ButtonsFromKeys sets with only `key` down.
std::set<int> ButtonsOf(int key) {
  int keys[kKeyCodes] = {};
  int buttons[kButtons] = {};
  keys[key] = 1;
  ButtonsFromKeys(keys, buttons);
  std::set<int> down;
  for (int b = 0; b < kButtons; b++) {
    if (buttons[b] != 0) down.insert(b);
  }
  return down;
}

TEST_F(InputQueries, KeyMapStartsWithTheFixedLayoutAndTakesChanges) {
  EXPECT_EQ(ButtonsOf('D'), (std::set<int>{kButtonRight, kButtonDown}));
  EXPECT_EQ(ButtonsOf('S'), std::set<int>{});
  EXPECT_EQ(ButtonsOf('E'), std::set<int>{kButtonLeft});
  EXPECT_EQ(ButtonsOf(kKeyKeypad0 + 5), std::set<int>{kButtonDown});
  EXPECT_EQ(ButtonsOf(kKeyF4), std::set<int>{kButtonQuit});

  game.MapKey(kButtonDown, 'S');
  game.UnmapKey(kButtonDown, 'D');
  EXPECT_EQ(ButtonsOf('S'), std::set<int>{kButtonDown});
  EXPECT_EQ(ButtonsOf('D'), std::set<int>{kButtonRight});
  EXPECT_EQ(ButtonsOf(kKeyDown), std::set<int>{kButtonDown});  // the other keys stay
  // One key can drive several buttons; mapping it twice changes nothing.
  game.MapKey(kButtonAction6, 'S');
  game.MapKey(kButtonAction6, 'S');
  EXPECT_EQ(ButtonsOf('S'), (std::set<int>{kButtonDown, kButtonAction6}));
  game.UnmapKey(kButtonAction6, 'S');
  EXPECT_EQ(ButtonsOf('S'), std::set<int>{kButtonDown});
  game.MapKey(kGameButtons - 1, kKeyTab);
  EXPECT_EQ(ButtonsOf(kKeyTab), std::set<int>{kGameButtons - 1});

  game.ResetKeyMap();
  EXPECT_EQ(ButtonsOf('S'), std::set<int>{});
  EXPECT_EQ(ButtonsOf('D'), (std::set<int>{kButtonRight, kButtonDown}));
  EXPECT_EQ(ButtonsOf(kKeyTab), std::set<int>{});
}

TEST_F(InputQueries, KeyMapRefusesFrameworkButtonsBadCodesAndANinthKey) {
  const std::string log = vftest::StdoutOf([this] {
    game.MapKey(kButtonQuit, 'S');
    game.UnmapKey(kButtonEscape, kKeyEscape);
    game.MapKey(kButtonFocus, 'S');
    game.MapKey(-1, 'S');
    game.MapKey(kButtonAction1, kKeyCodes);
    game.MapKey(kButtonAction1, 0);
    // Action 5 starts with B and U: six more fill its eight places.
    for (char key : {'1', '2', '3', '4', '5', '6', '7'}) game.MapKey(kButtonAction5, key);
  });
  EXPECT_EQ(ButtonsOf('S'), std::set<int>{});
  EXPECT_EQ(ButtonsOf(kKeyEscape), std::set<int>{kButtonEscape});
  EXPECT_EQ(ButtonsOf('6'), std::set<int>{kButtonAction5});
  EXPECT_EQ(ButtonsOf('7'), std::set<int>{});
  EXPECT_EQ(ButtonsOf('B'), std::set<int>{kButtonAction5});
  EXPECT_NE(log.find("Key 83 cannot drive button 100: buttons are 0 to 62, keys 32 to 348"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Key 256 cannot drive button 99"), std::string::npos) << log;
  EXPECT_NE(log.find("Key 349 cannot drive button 10"), std::string::npos) << log;
  EXPECT_NE(log.find("Button 14 has 8 keys already: key 55 not added"), std::string::npos) << log;
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
