// Input polling on the real window, driven with xdotool: the key map and a
// game's changes to it, raw keys, the pressed and released edges of keys and
// mouse buttons, the F1, F2 and F9 hotkeys, the mouse in drawing units, focus
// loss with the slow loop, the window-size presets and F11. One window for
// the process; the cases run in order on the one game object.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "frame/DisplayDriver.h"
#include "frame/Window.h"
#include "graphics/RenderPass.h"

namespace {

DriverGame Game;
std::string Title;
std::string WindowId;

constexpr int kHoldMs = 120;  // short of the X server's key repeat delay

class Poll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Title = OpenDriverWindow(Game, "poll-test"); }
  void SetUp() override {
    WindowId = FindWindow(Title);
    ASSERT_FALSE(WindowId.empty());
    ASSERT_TRUE(ActivateUntil(Game, WindowId, [] { return Game.Active == 1; }));
  }
};

std::set<int> ButtonsDown() {
  std::set<int> down;
  for (int i = 0; i < kButtons; i++) {
    if (i != kButtonFocus && ASys.IsBut(i) != 0) down.insert(i);
  }
  return down;
}

struct KeyCase {
  const char* key;  // xdotool key name
  std::set<int> buttons;
};

TEST_F(Poll, EachKeySetsExactlyItsButtons) {
  const std::vector<KeyCase> cases = {
      {"Escape", {kButtonEscape}},
      {"d", {kButtonRight, kButtonDown}},
      {"e", {kButtonLeft}},
      {"Left", {kButtonLeft}},
      {"a", {kButtonLeft}},
      {"KP_4", {kButtonLeft}},
      {"Right", {kButtonRight}},
      {"KP_6", {kButtonRight}},
      {"Up", {kButtonUp}},
      {"w", {kButtonUp}},
      {"KP_8", {kButtonUp}},
      {"Down", {kButtonDown}},
      {"KP_5", {kButtonDown}},
      {"KP_2", {kButtonDown}},
      {"z", {kButtonAction1}},
      {"j", {kButtonAction1}},
      {"space", {kButtonAction1}},
      {"Return", {kButtonAction1}},
      {"KP_7", {kButtonAction1}},
      {"x", {kButtonAction2}},
      {"k", {kButtonAction2}},
      {"Control_L", {kButtonAction2}},
      {"Control_R", {kButtonAction2}},
      {"KP_9", {kButtonAction2}},
      {"c", {kButtonAction3}},
      {"l", {kButtonAction3}},
      {"Shift_L", {kButtonAction3}},
      {"Shift_R", {kButtonAction3}},
      {"v", {kButtonAction4}},
      {"i", {kButtonAction4}},
      {"Alt_L", {kButtonAction4}},
      {"b", {kButtonAction5}},
      {"u", {kButtonAction5}},
      {"n", {kButtonAction6}},
      {"o", {kButtonAction6}},
      {"F9", {kButtonWireframe}},
      {"F2", {kButtonScreenshotMode}},
      {"F1", {kButtonDebug}},
      {"m", {}},  // not mapped
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.key);
    const int anyButton = c.buttons.empty() ? -1 : *c.buttons.begin();
    Xdo(std::string("keydown ") + c.key);
    if (anyButton >= 0) {
      EXPECT_TRUE(RunUntil(Game, [&] { return ASys.IsBut(anyButton) == 1; }));
    } else {
      RunFor(Game, kHoldMs);
    }
    EXPECT_EQ(ButtonsDown(), c.buttons);
    Xdo(std::string("keyup ") + c.key);
    EXPECT_TRUE(RunUntil(Game, [] { return ButtonsDown().empty(); }));
    Game.GameBreak = 0;  // Escape's quit request is the loop's business
  }
}

// What the update steps of a run of passes saw of one button: an edge query
// must give 1 on exactly one step per press or release.
struct Edges {
  int pressed = 0;
  int released = 0;
  int stepsDown = 0;
};

struct EdgeWatch {
  std::function<int()> down;
  std::function<int()> pressed;
  std::function<int()> released;
  Edges seen{};
  int lastStep = Game.Updates;

  EdgeWatch(std::function<int()> d, std::function<int()> p, std::function<int()> r)
      : down(std::move(d)), pressed(std::move(p)), released(std::move(r)) {}

  // Runs passes, counting on each new update step, until done() holds.
  template <class Done>
  bool RunUntilCounting(Done done) {
    return RunUntil(Game, [&] {
      if (Game.Updates != lastStep) {
        lastStep = Game.Updates;
        seen.pressed += pressed();
        seen.released += released();
        seen.stepsDown += down();
      }
      return done();
    });
  }
  // Presses with xdotool `downCommand`, holds for several steps, lets go.
  void Tap(const std::string& downCommand, const std::string& upCommand) {
    Xdo(downCommand);
    EXPECT_TRUE(RunUntilCounting([&] { return down() == 1; }));
    const int until = Game.Updates + 5;
    EXPECT_TRUE(RunUntilCounting([&] { return Game.Updates >= until; }));
    Xdo(upCommand);
    EXPECT_TRUE(RunUntilCounting([&] { return down() == 0; }));
    const int settle = Game.Updates + 3;
    EXPECT_TRUE(RunUntilCounting([&] { return Game.Updates >= settle; }));
  }
};

TEST_F(Poll, PressedAndReleasedShowOnOneStepEach) {
  EdgeWatch z([] { return Game.PlayKey(kButtonAction1); },
              [] { return Game.PlayKeyPressed(kButtonAction1); },
              [] { return Game.PlayKeyReleased(kButtonAction1); });
  z.Tap("keydown z", "keyup z");
  z.Tap("keydown space", "keyup space");
  EXPECT_EQ(z.seen.pressed, 2);
  EXPECT_EQ(z.seen.released, 2);
  EXPECT_GE(z.seen.stepsDown, 2 * 5);

  EdgeWatch left([] { return Game.MouseDown(); }, [] { return Game.MousePressed(); },
                 [] { return Game.MouseReleased(); });
  left.Tap("mousedown 1", "mouseup 1");
  EXPECT_EQ(left.seen.pressed, 1);
  EXPECT_EQ(left.seen.released, 1);
  EdgeWatch right([] { return Game.MouseDown_Alt(); }, [] { return Game.MousePressed_Alt(); },
                  [] { return Game.MouseReleased_Alt(); });
  right.Tap("mousedown 3", "mouseup 3");
  EXPECT_EQ(right.seen.pressed, 1);
  EXPECT_EQ(right.seen.released, 1);
  EXPECT_EQ(left.seen.pressed, 1);  // the right button is not the left one's
}

// Raw keys by code, whether or not they drive a button.
TEST_F(Poll, KeyDownReadsEveryKeyByItsCode) {
  struct RawCase {
    const char* key;  // xdotool key name
    int code;
  };
  const RawCase cases[] = {{"m", 'M'},
                           {"s", 'S'},
                           {"3", '3'},
                           {"F3", kKeyF3},
                           {"Tab", kKeyTab},
                           {"Left", kKeyLeft},
                           {"KP_Enter", kKeyKeypadEnter},
                           {"Home", kKeyHome},
                           {"space", kKeySpace}};
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.key);
    Xdo(std::string("keydown ") + c.key);
    EXPECT_TRUE(RunUntil(Game, [&] { return Game.KeyDown(c.code) == 1; }));
    int down = 0;
    for (int code = 0; code < kKeyCodes; code++) down += Game.KeyDown(code);
    EXPECT_EQ(down, 1);
    Xdo(std::string("keyup ") + c.key);
    EXPECT_TRUE(RunUntil(Game, [&] { return Game.KeyDown(c.code) == 0; }));
  }
}

TEST_F(Poll, ARemappedKeyDrivesItsNewButton) {
  Game.MapKey(kButtonDown, 'S');
  Game.UnmapKey(kButtonDown, 'D');
  Xdo("keydown s");
  EXPECT_TRUE(RunUntil(Game, [] { return Game.PlayKey(kButtonDown) == 1; }));
  EXPECT_EQ(ButtonsDown(), std::set<int>{kButtonDown});
  Xdo("keyup s");
  EXPECT_TRUE(RunUntil(Game, [] { return ButtonsDown().empty(); }));
  Xdo("keydown d");
  EXPECT_TRUE(RunUntil(Game, [] { return Game.PlayKey(kButtonRight) == 1; }));
  RunFor(Game, kHoldMs);
  EXPECT_EQ(ButtonsDown(), std::set<int>{kButtonRight});
  Xdo("keyup d");
  EXPECT_TRUE(RunUntil(Game, [] { return ButtonsDown().empty(); }));
  Game.ResetKeyMap();
  Xdo("keydown d");
  EXPECT_TRUE(RunUntil(Game, [] { return Game.PlayKey(kButtonRight) == 1; }));
  EXPECT_EQ(ButtonsDown(), (std::set<int>{kButtonRight, kButtonDown}));
  Xdo("keyup d");
  EXPECT_TRUE(RunUntil(Game, [] { return ButtonsDown().empty(); }));
}

// Presses a key and holds it for many polls.
void Press(const char* key, int button) {
  Xdo(std::string("keydown ") + key);
  EXPECT_TRUE(RunUntil(Game, [&] { return ASys.IsBut(button) == 1; }));
  RunFor(Game, kHoldMs);
  Xdo(std::string("keyup ") + key);
  EXPECT_TRUE(RunUntil(Game, [&] { return ASys.IsBut(button) == 0; }));
}

TEST_F(Poll, F1AndF2FlipTheirModeOncePerPress) {
  const int debug = Game.DebugMode;
  const int shots = Game.ScreenshotMode;
  Press("F1", kButtonDebug);
  EXPECT_EQ(Game.DebugMode, 1 - debug);
  Press("F1", kButtonDebug);
  EXPECT_EQ(Game.DebugMode, debug);
  Press("F2", kButtonScreenshotMode);
  EXPECT_EQ(Game.ScreenshotMode, 1 - shots);
  EXPECT_EQ(Game.DebugMode, debug);
  Press("F2", kButtonScreenshotMode);
  EXPECT_EQ(Game.ScreenshotMode, shots);
}

TEST_F(Poll, WireframeLastsWhileF9IsHeld) {
  Xdo("keydown F9");
  EXPECT_TRUE(RunUntil(Game, [] { return Wireframe == 1; }));
  Xdo("keyup F9");
  EXPECT_TRUE(RunUntil(Game, [] { return Wireframe == 0; }));
}

// Runs passes until the pointer reads (x, y) in drawing units.
bool PointerAt(float x, float y) {
  return RunUntil(Game, [&] {
    return std::fabs(Game.MouseX() - x) < 0.01f && std::fabs(Game.MouseY() - y) < 0.01f;
  });
}

TEST_F(Poll, MouseReachesPointerRecordZeroInDrawingUnits) {
  ASSERT_EQ(ASys.CanvasWidth, 800);
  Xdo("mousemove --window " + WindowId + " 200 150");
  ASSERT_TRUE(PointerAt(200, 150));
  const float* mouse = ASys.Touch[0];
  EXPECT_EQ(Game.MouseDown(), 0);
  EXPECT_EQ(Game.MouseHeld(), 0);
  EXPECT_EQ(mouse[3], -100);
  EXPECT_EQ(mouse[4], -100);
  EXPECT_EQ(mouse[8], 0);
  EXPECT_EQ(mouse[9], 0);

  Xdo("mousedown 1");
  ASSERT_TRUE(RunUntil(Game, [] { return Game.MouseDown() == 1; }));
  int held = Game.MouseHeld();
  EXPECT_GE(held, 1);
  EXPECT_EQ(Game.TouchHeld(), held);
  // The held count grows by one per poll, and the movement slots follow the
  // pointer while it moves with the button down.
  Xdo("mousemove --window " + WindowId + " 300 180");
  bool sawMovement = false;
  ASSERT_TRUE(RunUntil(Game, [&] {
    if (Game.MouseHeld() != held) {
      EXPECT_EQ(Game.MouseHeld(), held + 1);
      held = Game.MouseHeld();
      EXPECT_FLOAT_EQ(mouse[8], mouse[1] - mouse[3]);
      EXPECT_FLOAT_EQ(mouse[9], mouse[2] - mouse[4]);
      if (mouse[8] > 0) sawMovement = true;
    }
    return std::fabs(Game.MouseX() - 300) < 0.01f;
  }));
  EXPECT_TRUE(sawMovement);
  EXPECT_FLOAT_EQ(Game.MouseY(), 180);
  Xdo("mouseup 1");
  ASSERT_TRUE(RunUntil(Game, [] { return Game.MouseDown() == 0; }));
  EXPECT_EQ(Game.MouseHeld(), 0);
  EXPECT_EQ(mouse[3], -100);

  Xdo("mousedown 3");
  ASSERT_TRUE(RunUntil(Game, [] { return Game.MouseDown_Alt() == 1; }));
  EXPECT_EQ(Game.MouseDown(), 0);
  EXPECT_EQ(Game.TouchDown_Alt(), 1);
  Xdo("mouseup 3");
  ASSERT_TRUE(RunUntil(Game, [] { return Game.MouseDown_Alt() == 0; }));
  EXPECT_EQ(Game.MouseDown(3), 0);
}

TEST_F(Poll, LosingFocusSwitchesToTheSlowLoop) {
  const std::string other = "vf-other-" + std::to_string(getpid());
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    execlp("xmessage", "xmessage", "-title", other.c_str(), "focus thief", (char*)nullptr);
    _exit(127);
  }
  const std::string otherId = FindWindow(other);
  EXPECT_FALSE(otherId.empty());
  EXPECT_TRUE(ActivateUntil(Game, otherId, [] { return Game.Active == -1; }))
      << otherId << " focus " << FirstLine("xdotool getwindowfocus") << " active "
      << FirstLine("xdotool getactivewindow") << " ours " << WindowId << " "
      << FirstLine("xwininfo -id " + otherId + " | grep -i map") << " wm "
      << FirstLine("xprop -root _NET_SUPPORTING_WM_CHECK");
  EXPECT_EQ(ASys.IsBut(kButtonFocus), -1);
  // Unfocused, the next poll is due one slow step after the last.
  const int due = Game.NextUpdate;
  EXPECT_TRUE(RunUntil(Game, [&] { return Game.NextUpdate != due; }));
  EXPECT_EQ(Game.NextUpdate - due, kInactiveStepMs);

  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  EXPECT_TRUE(ActivateUntil(Game, WindowId, [] { return Game.Active == 1; }));
}

// Q with a digit asks for a window of the monitor's height less 128 (less 64
// more for the widest preset if it would not fit) times the digit's factor.
TEST_F(Poll, QuickSizePresetsFollowTheMonitor) {
  const GLFWvidmode* mode = PrimaryMode();
  ASSERT_NE(mode, nullptr);
  const int monitorW = mode->width, monitorH = mode->height;
  struct Preset {
    const char* digit;
    float factor;
  };
  const Preset presets[] = {{"1", 1.3333f}, {"6", 2.16f}};
  for (const Preset& p : presets) {
    SCOPED_TRACE(p.digit);
    int h = monitorH - 128;
    if (h * p.factor > monitorW) h -= 64;
    const int w = static_cast<int>(h * p.factor);
    Xdo("keydown q");
    Xdo(std::string("keydown ") + p.digit);
    EXPECT_TRUE(RunUntil(Game, [&] { return ASys.CanvasWidth == w; }));
    Xdo(std::string("keyup ") + p.digit);
    Xdo("keyup q");
    EXPECT_EQ(ASys.CanvasHeight, h);
    EXPECT_EQ(isFullscreen, 0);
    int gotW = 0, gotH = 0;
    glfwGetWindowSize(window, &gotW, &gotH);
    EXPECT_EQ(gotW, w);
    EXPECT_EQ(gotH, h);
    WindowId = FindWindow(Title);
    EXPECT_TRUE(
        ActivateUntil(Game, WindowId, [] { return Game.Active == 1 && ButtonsDown().empty(); }));
  }
  // Pointer positions scale by the view width over the window width.
  const int w = static_cast<int>((monitorH - 128) * 1.3333f);
  Xdo("keydown q");
  Xdo("keydown 1");
  EXPECT_TRUE(RunUntil(Game, [&] { return ASys.CanvasWidth == w; }));
  Xdo("keyup 1");
  Xdo("keyup q");
  WindowId = FindWindow(Title);
  EXPECT_TRUE(ActivateUntil(Game, WindowId, [] { return Game.Active == 1; }));
  Xdo("mousemove --window " + WindowId + " 400 300");
  EXPECT_TRUE(PointerAt(400.0f * 800 / w, 300.0f * 800 / w));
}

TEST_F(Poll, F11SwitchesToFullScreenAndBack) {
  const GLFWvidmode* mode = PrimaryMode();
  ASSERT_NE(mode, nullptr);
  const int monitorW = mode->width, monitorH = mode->height;
  Xdo("keydown F11");
  EXPECT_TRUE(RunUntil(Game, [] { return isFullscreen == 1; }));
  Xdo("keyup F11");
  int w = 0, h = 0;
  glfwGetWindowSize(window, &w, &h);
  EXPECT_EQ(w, monitorW);
  EXPECT_EQ(h, monitorH);
  WindowId = FindWindow(Title);
  EXPECT_TRUE(ActivateUntil(Game, WindowId,
                            [&] { return ASys.CanvasWidth == monitorW && Game.Active == 1; }));
  EXPECT_EQ(isFullscreen, 1);

  Xdo("keydown F11");
  EXPECT_TRUE(RunUntil(Game, [] { return isFullscreen == 0; }));
  Xdo("keyup F11");
  glfwGetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  WindowId = FindWindow(Title);
  EXPECT_TRUE(
      ActivateUntil(Game, WindowId, [] { return ASys.CanvasWidth == 800 && Game.Active == 1; }));
  EXPECT_EQ(isFullscreen, 0);
}

}  // namespace
