// Input polling: the button map (FlushKeys, PollInputB, IsBut), the
// framework's hotkeys (F1, F2, F4, F9, F11, Q with a digit) and the
// game-facing PollInput and PlayKey.
// Reads the keyboard, the mouse and joysticks 0..3 through GLFW as current
// state: the events themselves are pumped at the end of each render pass.
// Relies on the window (frame/Window.cpp), the display seam (frame/Platform.h:
// focus and monitor size) and the Wireframe global of the render pass. Every
// read of the window first checks that there is one.
#include <GLFW/glfw3.h>

#include <cstring>

#include "VeskFrame.h"
#include "frame/Loop.h"
#include "frame/Platform.h"
#include "frame/Window.h"
#include "graphics/RenderPass.h"
#include "input/InputSlots.h"

int UpdateCountLive;

namespace {

constexpr int kFlushedButtons = kButtons - 1;  // entry 127 is never written
constexpr float kNoLastPosition = -100.0f;
constexpr int kKeysPerButton = 5;
constexpr int kPresetMonitorMargin = 128;  // preset windows are this much lower than the monitor
constexpr int kWidePresetDrop = 64;        // the widest preset drops this much more if too wide
constexpr int kWidePreset = 6;
constexpr int kPresets = 7;
constexpr float kPresetFactors[kPresets] = {1.3333f, 1.77777f, 0.75f,  1.775f,
                                            0.5633f, 2.16f,    0.4618f};
constexpr int kJoyMixUpButton = 10;
constexpr int kJoyMixDownButton = 12;
constexpr int kJoyMixAxis = kJoyAxisBase + 1;

struct KeyRow {
  int button;
  int keys[kKeysPerButton];  // GLFW key codes; 0 ends a shorter list
};

// The fixed key map, in row order. D sets both right and down, E sets left.
constexpr KeyRow kKeyMap[] = {
    {kButtonEscape, {GLFW_KEY_ESCAPE}},
    {kButtonQuit, {GLFW_KEY_F4}},
    {kButtonLeft, {GLFW_KEY_E, GLFW_KEY_LEFT, GLFW_KEY_A, GLFW_KEY_KP_4}},
    {kButtonRight, {GLFW_KEY_RIGHT, GLFW_KEY_D, GLFW_KEY_KP_6}},
    {kButtonUp, {GLFW_KEY_UP, GLFW_KEY_W, GLFW_KEY_KP_8}},
    {kButtonDown, {GLFW_KEY_DOWN, GLFW_KEY_D, GLFW_KEY_KP_5, GLFW_KEY_KP_2}},
    {kButtonAction1, {GLFW_KEY_Z, GLFW_KEY_J, GLFW_KEY_SPACE, GLFW_KEY_ENTER, GLFW_KEY_KP_7}},
    {kButtonAction2,
     {GLFW_KEY_X, GLFW_KEY_K, GLFW_KEY_LEFT_CONTROL, GLFW_KEY_RIGHT_CONTROL, GLFW_KEY_KP_9}},
    {kButtonAction3, {GLFW_KEY_C, GLFW_KEY_L, GLFW_KEY_LEFT_SHIFT, GLFW_KEY_RIGHT_SHIFT}},
    {kButtonAction4, {GLFW_KEY_V, GLFW_KEY_I, GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT}},
    {kButtonAction5, {GLFW_KEY_B, GLFW_KEY_U}},
    {kButtonAction6, {GLFW_KEY_N, GLFW_KEY_O}},
    {kButtonScreenshot, {GLFW_KEY_F10}},
    {kButtonFullscreen, {GLFW_KEY_F11}},
    {kButtonWireframe, {GLFW_KEY_F9}},
    {kButtonDebug, {GLFW_KEY_F1}},
    {kButtonScreenshotMode, {GLFW_KEY_F2}},
};

bool KeyDown(int key) { return window != nullptr && glfwGetKey(window, key) == GLFW_PRESS; }

bool ValidButton(int n) { return n >= 0 && n < kButtons; }

}  // namespace

// ---- Device poll ----

void VeskSys::FlushKeys() {
  for (int i = 0; i < kFlushedButtons; i++) Button[i] = 0;
}

void VeskSys::PollInputB() {
  FlushKeys();
  // With no window (its re-creation failed) there is nothing to read and
  // nothing to play in: report no focus and ask the game to quit.
  if (window == nullptr) {
    Button[kButtonFocus] = -1;
    Button[kButtonQuit] = 1;
    return;
  }

  float* mouse = Touch[0];
  mouse[kTouchDown] = glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS ? 1 : 0;
  mouse[kTouchDownAlt] = glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT) == GLFW_PRESS ? 1 : 0;
  mouse[kTouchLastX] = mouse[kTouchX];
  mouse[kTouchLastY] = mouse[kTouchY];
  mouse[kTouchHeld] += 1;
  if (mouse[kTouchDown] == 0) {
    mouse[kTouchHeld] = 0;
    mouse[kTouchLastX] = kNoLastPosition;
    mouse[kTouchLastY] = kNoLastPosition;
  }
  // A zero-width canvas has no scale; the last position is kept instead of
  // storing an infinite one.
  if (CanvasWidth > 0) {
    const float scale = TargetScale / CanvasWidth;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    mouse[kTouchX] = static_cast<float>(scale * x);
    mouse[kTouchY] = static_cast<float>(scale * y);
  }
  mouse[kTouchMoveX] = mouse[kTouchX] - mouse[kTouchLastX];
  mouse[kTouchMoveY] = mouse[kTouchY] - mouse[kTouchLastY];
  if (mouse[kTouchLastX] < 0) {
    mouse[kTouchMoveX] = 0;
    mouse[kTouchMoveY] = 0;
  }

  for (const KeyRow& row : kKeyMap) {
    for (int key : row.keys) {
      if (key == 0) break;
      if (KeyDown(key)) {
        Button[row.button] = 1;
        break;
      }
    }
  }
  if (glfwWindowShouldClose(window)) Button[kButtonQuit] = 1;
  // Re-created on every poll while F11 is down.
  if (Button[kButtonFullscreen] == 1) FlipFull();
  Wireframe = Button[kButtonWireframe] == 1 ? 1 : 0;

  Button[kButtonFocus] = -1;
  if (window != nullptr && PlatformWindowFocused()) Button[kButtonFocus] = 1;

  int monitorWidth = 0;
  int monitorHeight = 0;
  if (KeyDown(GLFW_KEY_Q) && PlatformMonitorSize(&monitorWidth, &monitorHeight)) {
    int h = monitorHeight - kPresetMonitorMargin;
    for (int d = 1; d <= kPresets; d++) {
      if (!KeyDown(GLFW_KEY_0 + d)) continue;
      const float factor = kPresetFactors[d - 1];
      if (d == kWidePreset && h * factor > monitorWidth) h -= kWidePresetDrop;
      isFullscreen = 0;
      SetScreen(static_cast<int>(h * factor), h);
    }
  }

  for (int j = 0; j < kJoysticks; j++) {
    float* joy = Joy[j];
    joy[kJoyPresentSlot] = 0;
    if (!glfwJoystickPresent(GLFW_JOYSTICK_1 + j)) continue;
    joy[kJoyPresentSlot] = 1;
    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(GLFW_JOYSTICK_1 + j, &axisCount);
    const unsigned char* buttons = glfwGetJoystickButtons(GLFW_JOYSTICK_1 + j, &buttonCount);
    for (int a = 0; axes != nullptr && a < axisCount && a < kJoyAxisSlots; a++) {
      joy[kJoyAxisBase + a] = axes[a];
    }
    for (int b = 0; buttons != nullptr && b < buttonCount && b < kJoyButtonSlots; b++) {
      joy[b] = buttons[b] == GLFW_PRESS ? 1 : 0;
    }
  }
}

int VeskSys::IsBut(int n) { return ValidButton(n) ? Button[n] : 0; }

// ---- Game-facing polling ----

void VeskCore::PollInput() {
  CountRate(Mills(), UpdateSec, UpdateCount, UpdateCountLive);
  ASys.PollInputB();
  if (ASys.Button[kButtonDebug] == 0) DebugToggle = 0;
  if (ASys.Button[kButtonDebug] == 1 && DebugToggle == 0) {
    DebugToggle = 1;
    DebugMode = 1 - DebugMode;
  }
  if (ASys.Button[kButtonScreenshotMode] == 0) ScreenshotToggle = 0;
  if (ASys.Button[kButtonScreenshotMode] == 1 && ScreenshotToggle == 0) {
    ScreenshotToggle = 1;
    ScreenshotMode = 1 - ScreenshotMode;
  }
  if (ASys.Button[kButtonQuit] == 1) GameBreak = 1;
  Active = ASys.Button[kButtonFocus];
}

// Joystick 0 also drives up (button 10 or axis 1 below -0.5) and down
// (button 12 or axis 1 above 0.5) while MixJoy is 1.
int VeskCore::PlayKey(int n) {
  if (!ValidButton(n)) return 0;
  int v = ASys.Button[n];
  if (MixJoy == 1) {
    const float* joy = ASys.Joy[0];
    if (n == kButtonUp && (joy[kJoyMixUpButton] > kJoyPressed || joy[kJoyMixAxis] < -kJoyPressed)) {
      v = 1;
    }
    if (n == kButtonDown &&
        (joy[kJoyMixDownButton] > kJoyPressed || joy[kJoyMixAxis] > kJoyPressed)) {
      v = 1;
    }
  }
  return v;
}
