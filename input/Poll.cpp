// Input polling: one poll of the keyboard (every key, and the buttons it
// drives through the key map of input/KeyMap.cpp), the mouse and joysticks
// 0..3 into VeskSys's input arrays, the framework's hotkeys (F1, F2, F4, F9,
// F11, Q with a digit) and the game-facing PollInput. Everything a game can
// read of input comes from these arrays (input/Queries.cpp), never from the
// window library directly. Reads GLFW's state as current state: the events
// themselves are pumped at the end of each render pass. Relies on the window
// (frame/Window.cpp), the display seam (frame/Platform.h: focus and monitor
// size) and the Wireframe global of the render pass. Every read of the window
// first checks that there is one.
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstring>

#include "VeskFrame.h"
#include "frame/Loop.h"
#include "frame/Platform.h"
#include "frame/Session.h"
#include "frame/Window.h"
#include "graphics/RenderPass.h"
#include "input/InputSlots.h"
#include "input/KeyMap.h"

int UpdateCountLive;

namespace {

constexpr int kFlushedButtons = kButtons - 1;  // entry 127 is never written
constexpr float kNoLastPosition = -100.0f;
constexpr int kPresetMonitorMargin = 128;  // preset windows are this much lower than the monitor
constexpr int kWidePresetDrop = 64;        // the widest preset drops this much more if too wide
constexpr int kWidePreset = 6;
constexpr int kPresetKey = 'Q';  // held with a digit 1..7, picks a preset window
constexpr int kPresets = 7;
constexpr float kPresetFactors[kPresets] = {1.3333f, 1.77777f, 0.75f,  1.775f,
                                            0.5633f, 2.16f,    0.4618f};

// The public key codes are the window library's.
constexpr int kMirroredKeys[][2] = {
    {kKeySpace, GLFW_KEY_SPACE},
    {'A', GLFW_KEY_A},
    {'Z', GLFW_KEY_Z},
    {'0', GLFW_KEY_0},
    {'9', GLFW_KEY_9},
    {'\'', GLFW_KEY_APOSTROPHE},
    {'`', GLFW_KEY_GRAVE_ACCENT},
    {kKeyEscape, GLFW_KEY_ESCAPE},
    {kKeyEnter, GLFW_KEY_ENTER},
    {kKeyTab, GLFW_KEY_TAB},
    {kKeyBackspace, GLFW_KEY_BACKSPACE},
    {kKeyInsert, GLFW_KEY_INSERT},
    {kKeyDelete, GLFW_KEY_DELETE},
    {kKeyRight, GLFW_KEY_RIGHT},
    {kKeyLeft, GLFW_KEY_LEFT},
    {kKeyDown, GLFW_KEY_DOWN},
    {kKeyUp, GLFW_KEY_UP},
    {kKeyPageUp, GLFW_KEY_PAGE_UP},
    {kKeyPageDown, GLFW_KEY_PAGE_DOWN},
    {kKeyHome, GLFW_KEY_HOME},
    {kKeyEnd, GLFW_KEY_END},
    {kKeyPause, GLFW_KEY_PAUSE},
    {kKeyF1, GLFW_KEY_F1},
    {kKeyF12, GLFW_KEY_F12},
    {kKeyKeypad0, GLFW_KEY_KP_0},
    {kKeyKeypad0 + 9, GLFW_KEY_KP_9},
    {kKeyKeypadEnter, GLFW_KEY_KP_ENTER},
    {kKeyLeftShift, GLFW_KEY_LEFT_SHIFT},
    {kKeyLeftControl, GLFW_KEY_LEFT_CONTROL},
    {kKeyLeftAlt, GLFW_KEY_LEFT_ALT},
    {kKeyRightShift, GLFW_KEY_RIGHT_SHIFT},
    {kKeyRightControl, GLFW_KEY_RIGHT_CONTROL},
    {kKeyRightAlt, GLFW_KEY_RIGHT_ALT},
    {kKeyCodes - 1, GLFW_KEY_LAST},
};
constexpr bool KeysMirrored() {
  for (const auto& pair : kMirroredKeys) {
    if (pair[0] != pair[1]) return false;
  }
  return kKeyF12 - kKeyF1 == GLFW_KEY_F12 - GLFW_KEY_F1;
}
static_assert(KeysMirrored(), "the key codes of VeskFrame.h must be GLFW's");

// Every key's state, as GLFW last took it in.
void ReadKeys(int (&keys)[kKeyCodes]) {
  std::fill(keys, keys + kKeyCodes, 0);
  if (window == nullptr) return;
  for (int code = kFirstKeyCode; code < kKeyCodes; code++) {
    keys[code] = glfwGetKey(window, code) == GLFW_PRESS ? 1 : 0;
  }
}

// What the F11 and F9 buttons do to the window and the render pass, whether
// the buttons come from the keyboard or from a replay.
void ApplyHotkeys() {
  // Re-created on every poll while F11 is down.
  if (ASys.Button[kButtonFullscreen] == 1) ASys.FlipFull();
  Wireframe = ASys.Button[kButtonWireframe] == 1 ? 1 : 0;
}

}  // namespace

// ---- Device poll ----

void VeskSys::FlushKeys() {
  for (int i = 0; i < kFlushedButtons; i++) Button[i] = 0;
}

// The poll before becomes the one the edge queries compare with.
void VeskSys::RememberLastPoll() {
  std::copy(Button, Button + kButtons, ButtonBefore);
  std::copy(&Touch[0][0], &Touch[0][0] + kPointers * kPointerSlots, &TouchBefore[0][0]);
  std::copy(&Joy[0][0], &Joy[0][0] + kJoysticks * kJoySlots, &JoyBefore[0][0]);
}

void VeskSys::PollInputB() {
  RememberLastPoll();
  FlushKeys();
  ReadKeys(Key);
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

  ButtonsFromKeys(Key, Button);
  if (glfwWindowShouldClose(window)) Button[kButtonQuit] = 1;
  ApplyHotkeys();

  Button[kButtonFocus] = -1;
  if (window != nullptr && PlatformWindowFocused()) Button[kButtonFocus] = 1;

  int monitorWidth = 0;
  int monitorHeight = 0;
  if (Key[kPresetKey] == 1 && PlatformMonitorSize(&monitorWidth, &monitorHeight)) {
    int h = monitorHeight - kPresetMonitorMargin;
    for (int d = 1; d <= kPresets; d++) {
      if (Key['0' + d] == 0) continue;
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

// In a replay the step's input comes from the recording instead of the
// devices; closing the window still ends the game.
void VeskCore::PollInput() {
  SessionStepBegins(*this);
  CountRate(Mills(), UpdateSec, UpdateCount, UpdateCountLive);
  if (SessionInputReplayed()) {
    if (window != nullptr && glfwWindowShouldClose(window)) ASys.Button[kButtonQuit] = 1;
    ApplyHotkeys();
  } else {
    ASys.PollInputB();
  }
  SessionInputPolled();
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
