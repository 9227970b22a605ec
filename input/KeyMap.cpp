// The key map: which keys drive which button. Owns the map every game starts
// with (D drives both right and down, E left as well as A, S nothing) and the
// game's changes to it, MapKey, UnmapKey and ResetKeyMap. Only the game's
// buttons 0..62 can be changed: the framework's own (focus, hotkeys, Escape,
// quit) keep their keys. Relies on the poll (input/Poll.cpp) for the states
// of the keys, and on the console log for refused numbers.
#include "input/KeyMap.h"

namespace {

struct KeyRow {
  int button;
  int keys[kKeysPerButton];  // key codes; 0 ends a shorter list
};

constexpr int Keypad(int digit) { return kKeyKeypad0 + digit; }

constexpr KeyRow kStartMap[] = {
    {kButtonEscape, {kKeyEscape}},
    {kButtonQuit, {kKeyF4}},
    {kButtonLeft, {'E', kKeyLeft, 'A', Keypad(4)}},
    {kButtonRight, {kKeyRight, 'D', Keypad(6)}},
    {kButtonUp, {kKeyUp, 'W', Keypad(8)}},
    {kButtonDown, {kKeyDown, 'D', Keypad(5), Keypad(2)}},
    {kButtonAction1, {'Z', 'J', kKeySpace, kKeyEnter, Keypad(7)}},
    {kButtonAction2, {'X', 'K', kKeyLeftControl, kKeyRightControl, Keypad(9)}},
    {kButtonAction3, {'C', 'L', kKeyLeftShift, kKeyRightShift}},
    {kButtonAction4, {'V', 'I', kKeyLeftAlt, kKeyRightAlt}},
    {kButtonAction5, {'B', 'U'}},
    {kButtonAction6, {'N', 'O'}},
    {kButtonScreenshot, {kKeyF10}},
    {kButtonFullscreen, {kKeyF11}},
    {kButtonWireframe, {kKeyF9}},
    {kButtonDebug, {kKeyF1}},
    {kButtonScreenshotMode, {kKeyF2}},
};

// Per button its key codes; 0 marks an unused place.
struct KeyTable {
  int keys[kButtons][kKeysPerButton];
};

constexpr KeyTable StartTable() {
  KeyTable table{};
  for (const KeyRow& row : kStartMap) {
    for (int i = 0; i < kKeysPerButton; i++) table.keys[row.button][i] = row.keys[i];
  }
  return table;
}

KeyTable CurrentMap = StartTable();

// False, with a log line, for a button that is not the game's or a code that
// is no key.
bool Mappable(int button, int key) {
  if (button >= 0 && button < kGameButtons && key >= kFirstKeyCode && key < kKeyCodes) return true;
  ASys.Debuglog(ASys.fstrSys("Key %i cannot drive button %i: buttons are 0 to %i, keys %i to %i",
                             key, button, kGameButtons - 1, kFirstKeyCode, kKeyCodes - 1));
  return false;
}

}  // namespace

void ButtonsFromKeys(const int (&keys)[kKeyCodes], int (&buttons)[kButtons]) {
  for (int b = 0; b < kButtons; b++) {
    for (int key : CurrentMap.keys[b]) {
      if (key != 0 && keys[key] != 0) {
        buttons[b] = 1;
        break;
      }
    }
  }
}

void VeskCore::MapKey(int button, int key) {
  if (!Mappable(button, key)) return;
  int(&keys)[kKeysPerButton] = CurrentMap.keys[button];
  for (int k : keys) {
    if (k == key) return;
  }
  for (int& k : keys) {
    if (k == 0) {
      k = key;
      return;
    }
  }
  ASys.Debuglog(
      ASys.fstrSys("Button %i has %i keys already: key %i not added", button, kKeysPerButton, key));
}

void VeskCore::UnmapKey(int button, int key) {
  if (!Mappable(button, key)) return;
  for (int& k : CurrentMap.keys[button]) {
    if (k == key) k = 0;
  }
}

void VeskCore::ResetKeyMap() { CurrentMap = StartTable(); }
