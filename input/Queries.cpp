// Pointer, touch and joystick queries: read-only views of the records that
// the last poll (input/Poll.cpp) stored in ASys.Touch and ASys.Joy.
// The Mouse and Touch families read the same records; the forms without an
// index read record 0 (the mouse) and joystick 0.
// An index outside its record array (pointer 0..9, joystick 0..3, button
// 0..49, axis 0..48) reads nothing and gives 0.
#include "VeskFrame.h"
#include "input/InputSlots.h"

namespace {

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

int VeskCore::JoyDown(int n) { return JoyButton(n, 0); }
int VeskCore::JoyDown(int n, int j) { return JoyButton(n, j); }
float VeskCore::JoyAxis(int n) { return JoyAxisSlot(n, 0); }
float VeskCore::JoyAxis(int n, int j) { return JoyAxisSlot(n, j); }
