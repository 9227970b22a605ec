// Layout of the pointer records (VeskSys::Touch) and joystick records
// (VeskSys::Joy), and the range of button numbers, shared by the poll
// (input/Poll.cpp) and the queries (input/Queries.cpp), and the input block
// that a recording keeps of every poll (input/InputBlock.cpp).
#ifndef VESKFRAME_INPUT_SLOTS_H
#define VESKFRAME_INPUT_SLOTS_H

#include <cstdint>

#include "VeskFrame.h"  // kButtons

// Slots of a pointer record; only record 0 (the mouse) is ever filled.
constexpr int kTouchX = 1;
constexpr int kTouchY = 2;
constexpr int kTouchLastX = 3;  // previous poll's x while the primary button is down, else -100
constexpr int kTouchLastY = 4;
constexpr int kTouchDown = 5;     // primary (left) button
constexpr int kTouchDownAlt = 6;  // secondary (right) button
constexpr int kTouchHeld = 7;     // consecutive polls with the primary button down
constexpr int kTouchMoveX = 8;    // movement since the previous poll while held
constexpr int kTouchMoveY = 9;

// Slots of a joystick record.
constexpr int kJoyButtonSlots = 49;   // buttons 0..48 in slots 0..48; slot 49 is never written
constexpr int kJoyQueryButtons = 50;  // JoyDown reads slots 0..49
constexpr int kJoyAxisBase = 50;      // axis n in slot 50 + n
constexpr int kJoyAxisSlots = 49;     // axes 0..48
constexpr int kJoyPresentSlot = 99;   // 1.0 while a joystick is in the slot
constexpr float kJoyPressed = 0.5f;   // a value above this counts as down

inline bool ValidButton(int n) { return n >= 0 && n < kButtons; }

// ---- The input block ----
// Everything a poll leaves for the game to read, as 32-bit words: the button
// map, then the pointer records, the joystick records and the key states.
// A recording keeps it for every update step and a replay puts it back
// (frame/Session.cpp); the arrays of the poll before follow from the
// previous step's block.
constexpr int kInputWords =
    kButtons + kPointers * kPointerSlots + kJoysticks * kJoySlots + kKeyCodes;
void SaveInputBlock(uint32_t (&words)[kInputWords]);
void LoadInputBlock(const uint32_t (&words)[kInputWords]);
// Whether a poll can leave `value` at word `index`: buttons and keys hold 0
// or 1, the focus entry 1 or -1; pointer and joystick words may hold any value.
bool InputWordValid(int index, uint32_t value);

#endif  // VESKFRAME_INPUT_SLOTS_H
