// Internal header of input/: which keys drive which button (input/KeyMap.cpp),
// read by the poll (input/Poll.cpp).
#ifndef VESKFRAME_KEY_MAP_H
#define VESKFRAME_KEY_MAP_H

#include "VeskFrame.h"

constexpr int kFirstKeyCode = 32;  // the window library has no key below the space

// Sets each mapped button of `buttons` to 1 when one of its keys is down in
// `keys` (indexed by key code); leaves the other entries alone.
void ButtonsFromKeys(const int (&keys)[kKeyCodes], int (&buttons)[kButtons]);

#endif  // VESKFRAME_KEY_MAP_H
