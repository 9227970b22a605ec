// String, number and checksum helpers of VeskCore. Every text result is
// written into the object's Tempstr (cleared first) and returned as a pointer
// to it; iniLeft, iniRight and Split return the constant marker "-=+=-" when
// nothing matches. Characters are taken as signed 8-bit values throughout.
// Relies on util/TextBuffer.h for the copy and format rules, which build each
// result apart from Tempstr: a source inside Tempstr is therefore safe, and a
// result longer than 1023 characters is cut at 1023.
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "VeskFrame.h"
#include "util/TextBuffer.h"

namespace {

const char kNotFound[] = "-=+=-";
constexpr int kChecksumModulus = 3717;
constexpr int kChecksumIndexOffset = 73;
constexpr int kChecksumIndexDivisor = 7;
// Finer than the records' degree constant, still not full-precision pi / 180.
constexpr double kFineDegreeInRadians = 0.0174532925;
constexpr int kHexBase = 16;
constexpr int kBinaryBase = 2;
constexpr int kDecimalBase = 10;
constexpr int kNoDigit = 99;  // larger than every base

int SignedChar(char c) { return static_cast<signed char>(c); }

// The largest count a result can use; longer sources are cut at this length.
int ResultCount(size_t count) {
  return count < static_cast<size_t>(kTextMaxLength) ? static_cast<int>(count) : kTextMaxLength;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return kNoDigit;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads a whole number the way strtol does: leading white space, an optional
// sign, an optional "0x" (base 16 only), then digits of the base up to the
// first other character. The result saturates at the 32-bit limits instead of
// overflowing, so long digit strings give INT_MAX or INT_MIN.
int ReadWhole(const char* text, int base) {
  const char* p = TextOrEmpty(text);
  while (IsSpace(*p)) p++;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    p++;
  }
  if (base == kHexBase && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < base) {
    p += 2;
  }
  const int64_t cap = static_cast<int64_t>(INT_MAX) + 1;  // magnitude of INT_MIN
  int64_t magnitude = 0;
  for (; DigitValue(*p) < base; p++) {
    magnitude = magnitude * base + DigitValue(*p);
    if (magnitude > cap) magnitude = cap;
  }
  if (negative) return static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

// Reduces an exact sum to the value a 32-bit int holds after wrapping.
int32_t Wrap32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

// ---- Formatting ----

// Arguments may point into Tempstr: the result is formatted apart first.
const char* VeskCore::fstr(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatInto(Tempstr, format, args);
  va_end(args);
  return Tempstr;
}

void VeskCore::tstr(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatInto(Tempstr, format, args);
  va_end(args);
}

// The value's 32 bits as upper-case hexadecimal ("FFFFFFFF" for -1).
const char* VeskCore::Hex(int value) { return fstr("%X", static_cast<unsigned>(value)); }

// Despite its name: the value as unsigned decimal digits.
const char* VeskCore::Bin(int value) { return fstr("%u", static_cast<unsigned>(value)); }

// ---- Text to number ----

int VeskCore::HexToInt(const char* text) { return ReadWhole(text, kHexBase); }

int VeskCore::BinToInt(const char* text) { return ReadWhole(text, kBinaryBase); }

int VeskCore::ToInt(const char* text) { return ReadWhole(text, kDecimalBase); }

// ---- Substrings ----

const char* VeskCore::iniLeft(const char* text) {
  text = TextOrEmpty(text);
  const char* equals = std::strchr(text, '=');
  if (!equals) return kNotFound;
  CopyInto(Tempstr, text, ResultCount(static_cast<size_t>(equals - text)));
  return Tempstr;
}

const char* VeskCore::iniRight(const char* text) {
  text = TextOrEmpty(text);
  const char* equals = std::strchr(text, '=');
  if (!equals) return kNotFound;
  CopyInto(Tempstr, equals + 1, -1);
  return Tempstr;
}

// Blank means a signed value of at most 32: control characters, the space and
// every byte from 128 up.
const char* VeskCore::Trim(const char* text) {
  text = TextOrEmpty(text);
  size_t length = std::strlen(text);
  size_t first = 0;
  while (first < length && SignedChar(text[first]) <= ' ') first++;
  size_t end = length;
  while (end > first && SignedChar(text[end - 1]) <= ' ') end--;
  CopyInto(Tempstr, text + first, ResultCount(end - first));
  return Tempstr;
}

// A start outside the text is clamped into 0..length (before the text gives
// the text from its start, past it an empty result); a negative count means
// to the end of the text.
const char* VeskCore::Mid(const char* text, int start, int count) {
  text = TextOrEmpty(text);
  size_t length = std::strlen(text);
  size_t from = start < 0 ? 0 : static_cast<size_t>(start);
  if (from > length) from = length;
  CopyInto(Tempstr, text + from, count);
  return Tempstr;
}

// A negative count means the whole text.
const char* VeskCore::Left(const char* text, int count) {
  CopyInto(Tempstr, text, count);
  return Tempstr;
}

// The count is clamped into 0..length: a negative count gives an empty
// result, a count past the length the whole text.
const char* VeskCore::Right(const char* text, int count) {
  text = TextOrEmpty(text);
  size_t length = std::strlen(text);
  size_t take = count < 0 ? 0 : static_cast<size_t>(count);
  if (take > length) take = length;
  CopyInto(Tempstr, text + (length - take), ResultCount(take));
  return Tempstr;
}

// Fields are counted from 1. The last character always belongs to the last
// field, so a trailing separator stays in it and opens no empty field.
const char* VeskCore::Split(const char* text, int separator, int index) {
  text = TextOrEmpty(text);
  size_t length = std::strlen(text);
  int field = 0;
  size_t fieldStart = 0;
  for (size_t p = 0; p < length; p++) {
    bool last = p + 1 == length;
    if (SignedChar(text[p]) != separator && !last) continue;
    field++;
    size_t fieldEnd = last ? p + 1 : p;
    if (field == index) {
      CopyInto(Tempstr, text + fieldStart, ResultCount(fieldEnd - fieldStart));
      return Tempstr;
    }
    fieldStart = p + 1;
  }
  return kNotFound;
}

// ---- Checksum ----

// Each step is computed exactly and then reduced to 32 bits, so a large key or
// a long text gives the value of a wrapping 32-bit total without overflowing.
int VeskCore::Checksum(const char* text, int key) {
  text = TextOrEmpty(text);
  int32_t total = 0;
  for (int64_t i = 0; text[i] != 0; i++) {
    int32_t weight = Wrap32((i + kChecksumIndexOffset) / kChecksumIndexDivisor + (i + 1) +
                            static_cast<int64_t>(key) * (i + 1));
    total =
        Wrap32(static_cast<int64_t>(total) + static_cast<int64_t>(weight) * SignedChar(text[i])) %
        kChecksumModulus;
  }
  return total;
}

int VeskCore::Checksum(const char* text) { return Checksum(text, GameNum); }

// ---- Trigonometry in degrees ----

float VeskCore::Sin(float degrees) {
  return static_cast<float>(std::sin(static_cast<double>(degrees) * kFineDegreeInRadians));
}

float VeskCore::Cos(float degrees) {
  return static_cast<float>(std::cos(static_cast<double>(degrees) * kFineDegreeInRadians));
}
