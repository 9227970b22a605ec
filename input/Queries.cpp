// STUB (Input queries): placeholder so the library links while the real code is written.
#include "Platform.h"

float VeskCore::MouseX() { return 0; }
float VeskCore::MouseX(int) { return 0; }
float VeskCore::MouseY() { return 0; }
float VeskCore::MouseY(int) { return 0; }
float VeskCore::TouchX() { return 0; }
float VeskCore::TouchX(int) { return 0; }
float VeskCore::TouchY() { return 0; }
float VeskCore::TouchY(int) { return 0; }
int VeskCore::MouseDown() { return 0; }
int VeskCore::MouseDown(int) { return 0; }
int VeskCore::MouseDown_Alt() { return 0; }
int VeskCore::MouseDown_Alt(int) { return 0; }
int VeskCore::MouseHeld() { return 0; }
int VeskCore::MouseHeld(int) { return 0; }
int VeskCore::TouchDown() { return 0; }
int VeskCore::TouchDown(int) { return 0; }
int VeskCore::TouchDown_Alt() { return 0; }
int VeskCore::TouchDown_Alt(int) { return 0; }
int VeskCore::TouchHeld() { return 0; }
int VeskCore::TouchHeld(int) { return 0; }
int VeskCore::JoyDown(int) { return 0; }
int VeskCore::JoyDown(int, int) { return 0; }
float VeskCore::JoyAxis(int) { return 0; }
float VeskCore::JoyAxis(int, int) { return 0; }
