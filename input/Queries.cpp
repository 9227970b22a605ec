// The input queries: read-only views of what the last poll (input/Poll.cpp)
// stored in ASys's input arrays, and of the poll before it for the pressed
// and released edges. Buttons (with joystick 0 mixed into up and down), raw
// keys, pointers, touch and joysticks. The Mouse and Touch families read the
// same records; the forms without an index read record 0 (the mouse) and
// joystick 0. An index outside its array (button 0..127, key code 0..348,
// pointer 0..9, joystick 0..3, joystick button 0..49, axis 0..48) reads
// nothing and gives 0.
#include "VeskFrame.h"
#include "input/InputSlots.h"

namespace {

constexpr int kJoyMixUpButton = 10;
constexpr int kJoyMixDownButton = 12;
constexpr int kJoyMixAxis = kJoyAxisBase + 1;

// Button n of one poll's arrays, with joystick 0's button 10 or axis 1 below
// -0.5 driving up and its button 12 or axis 1 above 0.5 driving down while
// mixJoy is 1.
int MixedButton(int n, const int (&buttons)[kButtons], const float (&joy)[kJoySlots], int mixJoy) {
  if (!ValidButton(n)) return 0;
  int v = buttons[n];
  if (mixJoy == 1) {
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

// 1 when `now` is down (1) and `before` was not.
int Edge(float now, float before) { return now == 1 && before != 1 ? 1 : 0; }

float PointerSlot(int i, int slot) {
  if (i < 0 || i >= kPointers) return 0;
  return ASys.Touch[i][slot];
}

int JoyButton(int n, int j) {
  if (j < 0 || j >= kJoysticks || n < 0 || n >= kJoyQueryButtons) return 0;
  return ASys.Joy[j][n] > kJoyPressed ? 1 : 0;
}

float JoyAxisSlot(int n, int j) {
  if (j < 0 || j >= kJoysticks || n < 0 || n >= kJoyAxisSlots) return 0;
  return ASys.Joy[j][kJoyAxisBase + n];
}

}  // namespace

// ---- Buttons and keys ----

int VeskCore::PlayKey(int n) { return MixedButton(n, ASys.Button, ASys.Joy[0], MixJoy); }

int VeskCore::PlayKeyPressed(int n) {
  return Edge(MixedButton(n, ASys.Button, ASys.Joy[0], MixJoy),
              MixedButton(n, ASys.ButtonBefore, ASys.JoyBefore[0], MixJoy));
}

int VeskCore::PlayKeyReleased(int n) {
  return Edge(MixedButton(n, ASys.ButtonBefore, ASys.JoyBefore[0], MixJoy),
              MixedButton(n, ASys.Button, ASys.Joy[0], MixJoy));
}

int VeskCore::KeyDown(int key) { return key >= 0 && key < kKeyCodes ? ASys.Key[key] : 0; }

// ---- Pointers and touch ----

float VeskCore::MouseX() { return PointerSlot(0, kTouchX); }
float VeskCore::MouseX(int i) { return PointerSlot(i, kTouchX); }
float VeskCore::MouseY() { return PointerSlot(0, kTouchY); }
float VeskCore::MouseY(int i) { return PointerSlot(i, kTouchY); }
int VeskCore::MouseDown() { return static_cast<int>(PointerSlot(0, kTouchDown)); }
int VeskCore::MouseDown(int i) { return static_cast<int>(PointerSlot(i, kTouchDown)); }
int VeskCore::MouseDown_Alt() { return static_cast<int>(PointerSlot(0, kTouchDownAlt)); }
int VeskCore::MouseDown_Alt(int i) { return static_cast<int>(PointerSlot(i, kTouchDownAlt)); }
int VeskCore::MouseHeld() { return static_cast<int>(PointerSlot(0, kTouchHeld)); }
int VeskCore::MouseHeld(int i) { return static_cast<int>(PointerSlot(i, kTouchHeld)); }
int VeskCore::MousePressed() {
  return Edge(ASys.Touch[0][kTouchDown], ASys.TouchBefore[0][kTouchDown]);
}
int VeskCore::MouseReleased() {
  return Edge(ASys.TouchBefore[0][kTouchDown], ASys.Touch[0][kTouchDown]);
}
int VeskCore::MousePressed_Alt() {
  return Edge(ASys.Touch[0][kTouchDownAlt], ASys.TouchBefore[0][kTouchDownAlt]);
}
int VeskCore::MouseReleased_Alt() {
  return Edge(ASys.TouchBefore[0][kTouchDownAlt], ASys.Touch[0][kTouchDownAlt]);
}

float VeskCore::TouchX() { return MouseX(); }
float VeskCore::TouchX(int i) { return MouseX(i); }
float VeskCore::TouchY() { return MouseY(); }
float VeskCore::TouchY(int i) { return MouseY(i); }
int VeskCore::TouchDown() { return MouseDown(); }
int VeskCore::TouchDown(int i) { return MouseDown(i); }
int VeskCore::TouchDown_Alt() { return MouseDown_Alt(); }
int VeskCore::TouchDown_Alt(int i) { return MouseDown_Alt(i); }
int VeskCore::TouchHeld() { return MouseHeld(); }
int VeskCore::TouchHeld(int i) { return MouseHeld(i); }

// ---- Joysticks ----

int VeskCore::JoyDown(int n) { return JoyButton(n, 0); }
int VeskCore::JoyDown(int n, int j) { return JoyButton(n, j); }
float VeskCore::JoyAxis(int n) { return JoyAxisSlot(n, 0); }
float VeskCore::JoyAxis(int n, int j) { return JoyAxisSlot(n, j); }
