// Fuzz target "strings": the input is a list of operations on the string
// helpers and number readers. Each operation is one byte choosing the helper,
// one byte of flags (bit 0: the text argument is Tempstr itself, the previous
// result), then the helper's numbers (4 bytes each, little-endian) and its
// text (up to a zero byte or kLongestText bytes, so texts longer than a
// result can hold occur). Every result is compared with a plain model of the
// helper computed from copies of its arguments, which also catches a helper
// that overwrites an argument lying in Tempstr before reading it.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzTargets.h"
#include "TargetKit.h"

namespace fuzz {

namespace {

constexpr size_t kLongestText = 2047;
constexpr size_t kResultLimit = kTextBufferSize - 1;
constexpr int kMostOperations = 64;
constexpr uint8_t kTextFromTempstr = 1;
const char kNotFound[] = "-=+=-";

enum Operation {
  kSplit,
  kMid,
  kLeft,
  kRight,
  kTrim,
  kIniLeft,
  kIniRight,
  kHexToInt,
  kBinToInt,
  kToInt,
  kChecksumKey,
  kChecksum,
  kFormat,
  kOperationCount
};

struct Reader {
  const uint8_t* at;
  size_t left;

  uint8_t Byte() {
    if (left == 0) return 0;
    left--;
    return *at++;
  }
  int Int() {
    uint32_t value = 0;
    for (int i = 0; i < 4; i++) value |= uint32_t(Byte()) << (8 * i);
    int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
  }
  std::string Text() {
    std::string text;
    while (left > 0 && text.size() < kLongestText) {
      const uint8_t b = Byte();
      if (b == 0) break;
      text.push_back(char(b));
    }
    return text;
  }
};

std::string Cut(const std::string& text) { return text.substr(0, kResultLimit); }

bool Blank(char c) { return static_cast<signed char>(c) <= ' '; }

std::string TrimModel(const std::string& text) {
  size_t first = 0;
  size_t end = text.size();
  while (first < end && Blank(text[first])) first++;
  while (end > first && Blank(text[end - 1])) end--;
  return Cut(text.substr(first, end - first));
}

std::string MidModel(const std::string& text, int start, int count) {
  const size_t from = start < 0 ? 0 : std::min(size_t(start), text.size());
  const size_t rest = text.size() - from;
  return Cut(text.substr(from, count < 0 ? rest : std::min(size_t(count), rest)));
}

std::string RightModel(const std::string& text, int count) {
  const size_t take = count < 0 ? 0 : std::min(size_t(count), text.size());
  return Cut(text.substr(text.size() - take));
}

std::string IniModel(const std::string& text, bool left) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return kNotFound;
  return Cut(left ? text.substr(0, equals) : text.substr(equals + 1));
}

// strtoll reads the same syntax; its result saturates at the 64-bit limits
// and is then held to the 32-bit ones, as the readers do.
int WholeModel(const std::string& text, int base) {
  const long long value = std::strtoll(text.c_str(), nullptr, base);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

void RunOne(VeskCore& game, Reader& in) {
  const int operation = in.Byte() % kOperationCount;
  const bool fromTempstr = (in.Byte() & kTextFromTempstr) != 0;
  const int a = in.Int();
  const int b = in.Int();
  const std::string own = in.Text();
  // The argument as the helper sees it, and a copy of it for the model.
  const char* text = fromTempstr ? game.Tempstr : own.c_str();
  const std::string copy = text;

  const char* result = nullptr;
  switch (operation) {
    case kSplit:
      result = game.Split(text, a, b);
      FUZZ_CHECK(std::strcmp(result, kNotFound) == 0 ||
                 (std::strlen(result) <= kResultLimit && copy.find(result) != std::string::npos));
      return;
    case kMid:
      result = game.Mid(text, a, b);
      FUZZ_CHECK(result == MidModel(copy, a, b));
      return;
    case kLeft:
      result = game.Left(text, a);
      FUZZ_CHECK(result == MidModel(copy, 0, a));
      return;
    case kRight:
      result = game.Right(text, a);
      FUZZ_CHECK(result == RightModel(copy, a));
      return;
    case kTrim:
      result = game.Trim(text);
      FUZZ_CHECK(result == TrimModel(copy));
      return;
    case kIniLeft:
    case kIniRight:
      result = operation == kIniLeft ? game.iniLeft(text) : game.iniRight(text);
      FUZZ_CHECK(result == IniModel(copy, operation == kIniLeft));
      return;
    case kHexToInt:
      FUZZ_CHECK(game.HexToInt(text) == WholeModel(copy, 16));
      return;
    case kBinToInt:
      FUZZ_CHECK(game.BinToInt(text) == WholeModel(copy, 2));
      return;
    case kToInt:
      FUZZ_CHECK(game.ToInt(text) == WholeModel(copy, 10));
      return;
    case kChecksumKey:
      FUZZ_CHECK(game.Checksum(text, a) == game.Checksum(copy.c_str(), a));
      return;
    case kChecksum:
      FUZZ_CHECK(game.Checksum(text) == game.Checksum(copy.c_str(), GameNum));
      return;
    case kFormat: {
      // Tempstr is also passed as a second argument; its text is read
      // before the result replaces it.
      const std::string previous = game.Tempstr;
      const std::string expected = Cut(copy + "|" + std::to_string(a) + "|" + previous);
      result = game.fstr("%s|%i|%s", text, a, game.Tempstr);
      FUZZ_CHECK(result == expected);
      return;
    }
  }
}

}  // namespace

int Strings(const uint8_t* data, size_t size) {
  VeskCore& game = Game();
  game.tstr("%s", "");
  Reader in{data, size};
  for (int i = 0; i < kMostOperations && in.left > 0; i++) {
    RunOne(game, in);
    FUZZ_CHECK(strnlen(game.Tempstr, kTextBufferSize) < size_t(kTextBufferSize));
  }
  return 0;
}

}  // namespace fuzz
