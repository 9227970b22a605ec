// The recording file of a session: header and entries to bytes and back
// (the layout is docs/recording-format.md). Owns the encoding (varints,
// differences of clock readings, changed input words), the 16-bit checks and
// every limit a reader enforces: whatever the bytes, reading never allocates
// more than kMaxEntryBytes at once and never returns a field out of range.
// Relies on the operating-system seam (frame/Platform.h) for files.
#include "frame/SessionFile.h"

#include <cmath>
#include <cstring>

#include "frame/Platform.h"

const unsigned char kSessionMagic[kSessionMagicBytes] = {'V', 'F', 'R', 'E', 'C', '\r', '\n', 0x1A};

namespace {

constexpr int kMaxVarintBytes = 5;  // a 32-bit value
constexpr int kCheckBytes = 2;
constexpr int kHeaderCheckedBytes = kSessionHeaderBytes - kCheckBytes;
constexpr uint16_t kCheckPolynomial = 0x1021;
constexpr int kAllFlagsButEnd = kEntryKnownFlags & ~kEntryEnd;

struct CheckTable {
  uint16_t entries[256];
};

constexpr CheckTable MakeCheckTable() {
  CheckTable table{};
  for (int i = 0; i < 256; i++) {
    uint16_t value = static_cast<uint16_t>(i << 8);
    for (int bit = 0; bit < 8; bit++) {
      value =
          static_cast<uint16_t>((value & 0x8000) ? (value << 1) ^ kCheckPolynomial : value << 1);
    }
    table.entries[i] = value;
  }
  return table;
}

constexpr CheckTable kCheckTable = MakeCheckTable();

// ---- Encoding ----

void PutByte(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
}

// Seven bits a byte, lowest first; the top bit says that more follow.
size_t EncodeVarint(uint32_t value, unsigned char (&bytes)[kMaxVarintBytes]) {
  size_t count = 0;
  while (value >= 0x80) {
    bytes[count++] = static_cast<unsigned char>((value & 0x7F) | 0x80);
    value >>= 7;
  }
  bytes[count++] = static_cast<unsigned char>(value);
  return count;
}

void PutVarint(std::vector<unsigned char>& out, uint32_t value) {
  unsigned char bytes[kMaxVarintBytes];
  out.insert(out.end(), bytes, bytes + EncodeVarint(value, bytes));
}

uint32_t Zigzag(int value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return (bits << 1) ^ (value < 0 ? 0xFFFFFFFFu : 0u);
}

int Unzigzag(uint32_t bits) {
  const uint32_t value = (bits >> 1) ^ (0u - (bits & 1));
  int result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

void PutSigned(std::vector<unsigned char>& out, int value) { PutVarint(out, Zigzag(value)); }

void PutHalf(std::vector<unsigned char>& out, unsigned value) {
  PutByte(out, value);
  PutByte(out, value >> 8);
}

void PutWord(std::vector<unsigned char>& out, uint32_t value) {
  for (int i = 0; i < 4; i++) PutByte(out, value >> (8 * i));
}

void PutFloat(std::vector<unsigned char>& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutWord(out, bits);
}

void PutCheck(std::vector<unsigned char>& out, size_t from) {
  PutHalf(out, SessionCheck(out.data() + from, out.size() - from));
}

// Differences from the previous reading, in 32-bit wrapping arithmetic so
// that any two readings give an exact round trip.
int ClockDifference(int value, int last) {
  return static_cast<int>(static_cast<uint32_t>(value) - static_cast<uint32_t>(last));
}

int ClockAfter(int last, int difference) {
  return static_cast<int>(static_cast<uint32_t>(last) + static_cast<uint32_t>(difference));
}

void EncodeBody(std::vector<unsigned char>& out, const SessionEntry& entry, int& lastClock) {
  PutByte(out, entry.flags);
  if (entry.flags & kEntryClock) {
    PutVarint(out, static_cast<uint32_t>(entry.clock.size()));
    for (int value : entry.clock) {
      PutSigned(out, ClockDifference(value, lastClock));
      lastClock = value;
    }
  }
  if (entry.flags & kEntryInput) {
    PutVarint(out, static_cast<uint32_t>(entry.input.size()));
    int previous = -1;
    for (const InputChange& change : entry.input) {
      PutVarint(out, static_cast<uint32_t>(change.index - previous - 1));
      PutWord(out, change.value);
      previous = change.index;
    }
  }
  if (entry.flags & kEntryView) {
    PutSigned(out, entry.view.rw2);
    PutSigned(out, entry.view.rh2);
    PutFloat(out, entry.view.scale);
    PutFloat(out, entry.view.ratio);
    PutFloat(out, entry.view.width);
    PutFloat(out, entry.view.height);
  }
  if (entry.flags & kEntryRender) {
    PutSigned(out, entry.render.renderCount);
    PutSigned(out, entry.render.polyCount);
  }
  if (entry.flags & kEntryDrawSum) PutWord(out, entry.drawSum);
  if (entry.flags & kEntryOther) {
    PutVarint(out, static_cast<uint32_t>(entry.other.size()));
    for (int value : entry.other) PutSigned(out, value);
  }
}

// ---- Decoding: every read checks that its bytes are there ----

struct Cursor {
  const unsigned char* at;
  const unsigned char* end;

  bool Byte(unsigned& value) {
    if (at >= end) return false;
    value = *at++;
    return true;
  }
  bool Varint(uint32_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVarintBytes; i++) {
      unsigned b;
      if (!Byte(b)) return false;
      if (i == kMaxVarintBytes - 1 && b > 0x0F) return false;  // past 32 bits
      value |= static_cast<uint32_t>(b & 0x7F) << (7 * i);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool Signed(int& value) {
    uint32_t bits;
    if (!Varint(bits)) return false;
    value = Unzigzag(bits);
    return true;
  }
  bool Word(uint32_t& value) {
    if (end - at < 4) return false;
    value = 0;
    for (int i = 0; i < 4; i++) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    at += 4;
    return true;
  }
  bool Float(float& value) {
    uint32_t bits;
    if (!Word(bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
  }
  // A count of at most `limit` items of at least one byte each.
  bool Count(size_t& count, size_t limit) {
    uint32_t value;
    if (!Varint(value) || value == 0 || value > limit) return false;
    count = value;
    return count <= static_cast<size_t>(end - at);
  }
};

bool DecodeClock(Cursor& in, std::vector<int>& readings, int& lastClock) {
  size_t count;
  if (!in.Count(count, kMaxStepReadings)) return false;
  for (size_t i = 0; i < count; i++) {
    int difference;
    if (!in.Signed(difference)) return false;
    lastClock = ClockAfter(lastClock, difference);
    readings.push_back(lastClock);
  }
  return true;
}

bool DecodeInput(Cursor& in, std::vector<InputChange>& changes, int inputWords) {
  size_t count;
  if (!in.Count(count, static_cast<size_t>(inputWords))) return false;
  int previous = -1;
  for (size_t i = 0; i < count; i++) {
    uint32_t gap;
    InputChange change;
    if (!in.Varint(gap) || gap >= static_cast<uint32_t>(inputWords - previous - 1)) return false;
    change.index = previous + 1 + static_cast<int>(gap);
    if (!in.Word(change.value)) return false;
    changes.push_back(change);
    previous = change.index;
  }
  return true;
}

bool DecodeView(Cursor& in, SessionView& view) {
  if (!in.Signed(view.rw2) || !in.Signed(view.rh2) || !in.Float(view.scale) ||
      !in.Float(view.ratio) || !in.Float(view.width) || !in.Float(view.height)) {
    return false;
  }
  // As a render step leaves them: ViewScale is 0 until the first one.
  for (float v : {view.scale, view.ratio, view.width, view.height}) {
    if (!std::isfinite(v) || v < 0) return false;
  }
  return true;
}

bool DecodeBody(Cursor in, SessionEntry& entry, int& lastClock, int inputWords) {
  unsigned flags;
  if (!in.Byte(flags) || (flags & ~kEntryKnownFlags) != 0) return false;
  if ((flags & kEntryEnd) && (flags & kAllFlagsButEnd)) return false;
  entry.flags = static_cast<int>(flags);
  if ((flags & kEntryClock) && !DecodeClock(in, entry.clock, lastClock)) return false;
  if ((flags & kEntryInput) && !DecodeInput(in, entry.input, inputWords)) return false;
  if ((flags & kEntryView) && !DecodeView(in, entry.view)) return false;
  if (flags & kEntryRender) {
    if (!in.Signed(entry.render.renderCount) || !in.Signed(entry.render.polyCount)) return false;
    if (entry.render.renderCount < 0 || entry.render.polyCount < 0) return false;
  }
  if ((flags & kEntryDrawSum) && !in.Word(entry.drawSum)) return false;
  if (flags & kEntryOther) {
    size_t count;
    if (!in.Count(count, kMaxStepReadings)) return false;
    for (size_t i = 0; i < count; i++) {
      int value;
      if (!in.Signed(value)) return false;
      entry.other.push_back(value);
    }
  }
  return in.at == in.end;  // nothing may follow the parts the flags name
}

uint16_t ReadLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int ReadLe32(const unsigned char* p) {
  const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                        (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  int value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

ReadResult Fail(SessionReader& reader, ReadResult result) {
  CloseSessionReader(reader);
  return result;
}

}  // namespace

uint16_t SessionCheck(const unsigned char* bytes, size_t count) {
  uint16_t check = 0xFFFF;
  for (size_t i = 0; i < count; i++) {
    check =
        static_cast<uint16_t>((check << 8) ^ kCheckTable.entries[((check >> 8) ^ bytes[i]) & 0xFF]);
  }
  return check;
}

void ClearEntry(SessionEntry& entry) {
  entry.flags = 0;
  entry.clock.clear();
  entry.other.clear();
  entry.input.clear();
  entry.view = SessionView{};
  entry.render = SessionRenderCounts{};
  entry.drawSum = 0;
}

// ---- Writer ----

bool OpenSessionWriter(SessionWriter& writer, const char* path, const SessionHeader& header) {
  writer.file = PlatformOpenFile(path, "wb");
  if (writer.file == nullptr) return false;
  writer.lastClock = header.clockAtStart;
  std::vector<unsigned char>& out = writer.bytes;
  out.assign(kSessionMagic, kSessionMagic + kSessionMagicBytes);
  PutHalf(out, static_cast<unsigned>(header.version));
  PutHalf(out, static_cast<unsigned>(header.inputWords));
  PutWord(out, static_cast<uint32_t>(header.gameNumber));
  PutWord(out, static_cast<uint32_t>(header.clockAtStart));
  for (int word : header.random) PutWord(out, static_cast<uint32_t>(word));
  PutCheck(out, 0);
  const bool written = std::fwrite(out.data(), 1, out.size(), writer.file) == out.size() &&
                       std::fflush(writer.file) == 0;
  if (!written) CloseSessionWriter(writer);
  return written;
}

bool WriteSessionEntry(SessionWriter& writer, const SessionEntry& entry) {
  if (writer.file == nullptr) return false;
  // The body goes after room for its length, which is then put in front of
  // it; the check covers both.
  std::vector<unsigned char>& out = writer.bytes;
  out.assign(kMaxVarintBytes, 0);
  int lastClock = writer.lastClock;
  EncodeBody(out, entry, lastClock);
  const size_t bodyBytes = out.size() - kMaxVarintBytes;
  if (bodyBytes > static_cast<size_t>(kMaxEntryBytes)) return false;
  unsigned char length[kMaxVarintBytes];
  const size_t lengthBytes = EncodeVarint(static_cast<uint32_t>(bodyBytes), length);
  const size_t from = kMaxVarintBytes - lengthBytes;
  std::memcpy(out.data() + from, length, lengthBytes);
  PutCheck(out, from);
  const size_t total = out.size() - from;
  if (std::fwrite(out.data() + from, 1, total, writer.file) != total ||
      std::fflush(writer.file) != 0) {
    return false;
  }
  writer.lastClock = lastClock;
  return true;
}

void CloseSessionWriter(SessionWriter& writer) {
  if (writer.file != nullptr) std::fclose(writer.file);
  writer.file = nullptr;
}

// ---- Reader ----

ReadResult OpenSessionReader(SessionReader& reader, const char* path, int inputWords,
                             int gameNumber, SessionHeader& header) {
  reader.file = PlatformOpenFile(path, "rb");
  if (reader.file == nullptr) return ReadResult::kMissing;
  unsigned char bytes[kSessionHeaderBytes];
  const size_t got = std::fread(bytes, 1, sizeof bytes, reader.file);
  const size_t magic = got < kSessionMagicBytes ? got : kSessionMagicBytes;
  if (std::memcmp(bytes, kSessionMagic, magic) != 0) return Fail(reader, ReadResult::kNotSession);
  if (got < sizeof bytes) return Fail(reader, ReadResult::kCut);
  const unsigned char* field = bytes + kSessionMagicBytes;
  header.version = ReadLe16(field);
  header.inputWords = ReadLe16(field + 2);
  if (header.version != kSessionVersion) return Fail(reader, ReadResult::kVersion);
  if (SessionCheck(bytes, kHeaderCheckedBytes) != ReadLe16(bytes + kHeaderCheckedBytes)) {
    return Fail(reader, ReadResult::kDamaged);
  }
  header.gameNumber = ReadLe32(field + 4);
  header.clockAtStart = ReadLe32(field + 8);
  for (int i = 0; i < kRandomStateWords; i++) header.random[i] = ReadLe32(field + 12 + 4 * i);
  if (header.inputWords != inputWords) return Fail(reader, ReadResult::kLayout);
  if (header.gameNumber != gameNumber) return Fail(reader, ReadResult::kGame);
  reader.lastClock = header.clockAtStart;
  reader.inputWords = inputWords;
  return ReadResult::kEntry;
}

ReadResult ReadSessionEntry(SessionReader& reader, SessionEntry& entry) {
  ClearEntry(entry);
  if (reader.file == nullptr) return ReadResult::kCut;
  // The length, byte by byte: the file may end anywhere.
  unsigned char length[kMaxVarintBytes];
  int lengthBytes = 0;
  uint32_t bodyBytes = 0;
  for (;;) {
    const int b = std::fgetc(reader.file);
    if (b == EOF) return Fail(reader, ReadResult::kCut);
    if (lengthBytes == kMaxVarintBytes) return Fail(reader, ReadResult::kDamaged);
    length[lengthBytes] = static_cast<unsigned char>(b);
    bodyBytes |= static_cast<uint32_t>(b & 0x7F) << (7 * lengthBytes);
    lengthBytes++;
    if ((b & 0x80) == 0) break;
  }
  if (bodyBytes == 0 || bodyBytes > static_cast<uint32_t>(kMaxEntryBytes)) {
    return Fail(reader, ReadResult::kDamaged);
  }
  std::vector<unsigned char>& bytes = reader.bytes;
  bytes.assign(length, length + lengthBytes);
  bytes.resize(lengthBytes + bodyBytes + kCheckBytes);
  const size_t rest = bodyBytes + kCheckBytes;
  if (std::fread(bytes.data() + lengthBytes, 1, rest, reader.file) != rest) {
    return Fail(reader, ReadResult::kCut);
  }
  const size_t checked = lengthBytes + bodyBytes;
  if (SessionCheck(bytes.data(), checked) != ReadLe16(bytes.data() + checked)) {
    return Fail(reader, ReadResult::kDamaged);
  }
  int lastClock = reader.lastClock;
  Cursor body{bytes.data() + lengthBytes, bytes.data() + checked};
  if (!DecodeBody(body, entry, lastClock, reader.inputWords)) {
    ClearEntry(entry);
    return Fail(reader, ReadResult::kDamaged);
  }
  reader.lastClock = lastClock;
  if (entry.flags & kEntryEnd) {
    CloseSessionReader(reader);
    return ReadResult::kEnd;
  }
  return ReadResult::kEntry;
}

void CloseSessionReader(SessionReader& reader) {
  if (reader.file != nullptr) std::fclose(reader.file);
  reader.file = nullptr;
}
