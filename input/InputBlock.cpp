// The input block: the button map, the pointer records, the joystick records
// and the key states of ASys copied to and from one array of 32-bit words, for the
// recording and the replay of a session (frame/Session.cpp). Owns the order
// of the words and which values a poll can leave in them.
#include <cstring>

#include "input/InputSlots.h"

namespace {

constexpr int kTouchWords = kPointers * kPointerSlots;
constexpr int kJoyWords = kJoysticks * kJoySlots;
constexpr int kTouchStart = kButtons;
constexpr int kJoyStart = kTouchStart + kTouchWords;
constexpr int kKeyStart = kJoyStart + kJoyWords;
static_assert(sizeof(int) == sizeof(uint32_t) && sizeof(float) == sizeof(uint32_t),
              "the block holds ints and floats as 32-bit words");
static_assert(kKeyStart + kKeyCodes == kInputWords, "every word of the block has its place");

}  // namespace

void SaveInputBlock(uint32_t (&words)[kInputWords]) {
  std::memcpy(words, ASys.Button, sizeof ASys.Button);
  std::memcpy(words + kTouchStart, ASys.Touch, sizeof ASys.Touch);
  std::memcpy(words + kJoyStart, ASys.Joy, sizeof ASys.Joy);
  std::memcpy(words + kKeyStart, ASys.Key, sizeof ASys.Key);
}

void LoadInputBlock(const uint32_t (&words)[kInputWords]) {
  std::memcpy(ASys.Button, words, sizeof ASys.Button);
  std::memcpy(ASys.Touch, words + kTouchStart, sizeof ASys.Touch);
  std::memcpy(ASys.Joy, words + kJoyStart, sizeof ASys.Joy);
  std::memcpy(ASys.Key, words + kKeyStart, sizeof ASys.Key);
}

bool InputWordValid(int index, uint32_t value) {
  if (index < 0 || index >= kInputWords) return false;
  const int state = static_cast<int>(value);
  if (index >= kKeyStart) return state == 0 || state == 1;
  if (index >= kButtons) return true;
  if (index == kButtonFocus) return state == 1 || state == -1;
  return state == 0 || state == 1;
}
