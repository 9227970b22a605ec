// Fuzz target "recording": byte 0 steers, the rest is a session recording,
// read entry by entry with the framework's reader. With kRecordingRepair set
// the magic bytes, format version, input block size and every 16-bit check
// are made right first, so that mutations reach the fields behind them; the
// game number is always the one the file names. Whatever the bytes, every
// entry read must hold only fields in range, the reader must be closed after
// anything but an entry, and the entries read must come back the same when
// written and read again.
#include <cstring>
#include <vector>

#include "FuzzTargets.h"
#include "TargetKit.h"
#include "frame/SessionFile.h"
#include "input/InputSlots.h"

namespace fuzz {

namespace {

constexpr size_t kMaxEntries = 4096;  // enough for any input libFuzzer makes
constexpr size_t kGameField = kSessionMagicBytes + 4;

void PutLe16(uint8_t* at, unsigned value) {
  at[0] = static_cast<uint8_t>(value & 0xFF);
  at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Header fields and checks made right, as far as the bytes reach.
void Repair(std::vector<uint8_t>& file) {
  if (file.size() < static_cast<size_t>(kSessionHeaderBytes)) return;
  std::memcpy(file.data(), kSessionMagic, kSessionMagicBytes);
  PutLe16(file.data() + kSessionMagicBytes, kSessionVersion);
  PutLe16(file.data() + kSessionMagicBytes + 2, kInputWords);
  const size_t headerChecked = kSessionHeaderBytes - 2;
  PutLe16(file.data() + headerChecked, SessionCheck(file.data(), headerChecked));
  size_t at = kSessionHeaderBytes;
  while (at < file.size()) {
    size_t body = 0;
    size_t lengthBytes = 0;
    while (at + lengthBytes < file.size() && lengthBytes < 5) {
      const uint8_t b = file[at + lengthBytes];
      body |= static_cast<size_t>(b & 0x7F) << (7 * lengthBytes);
      lengthBytes++;
      if ((b & 0x80) == 0) break;
    }
    const size_t checked = lengthBytes + body;
    if (at + checked + 2 > file.size()) return;
    PutLe16(file.data() + at + checked, SessionCheck(file.data() + at, checked));
    at += checked + 2;
  }
}

int GameOf(const std::vector<uint8_t>& file) {
  if (file.size() < kGameField + 4) return 0;
  uint32_t bits = 0;
  for (int i = 0; i < 4; i++) bits |= static_cast<uint32_t>(file[kGameField + i]) << (8 * i);
  int game;
  std::memcpy(&game, &bits, sizeof game);
  return game;
}

void CheckFields(const SessionEntry& e) {
  FUZZ_CHECK((e.flags & ~kEntryKnownFlags) == 0);
  FUZZ_CHECK(e.clock.size() <= static_cast<size_t>(kMaxStepReadings));
  FUZZ_CHECK(e.other.size() <= static_cast<size_t>(kMaxStepReadings));
  int previous = -1;
  for (const InputChange& c : e.input) {
    FUZZ_CHECK(c.index > previous && c.index < kInputWords);
    previous = c.index;
  }
  if (e.flags & kEntryRender) FUZZ_CHECK(e.render.renderCount >= 0 && e.render.polyCount >= 0);
}

bool SameEntry(const SessionEntry& a, const SessionEntry& b) {
  if (a.flags != b.flags || a.clock != b.clock || a.other != b.other) return false;
  if (a.input.size() != b.input.size()) return false;
  for (size_t i = 0; i < a.input.size(); i++) {
    if (a.input[i].index != b.input[i].index || a.input[i].value != b.input[i].value) return false;
  }
  if ((a.flags & kEntryView) && std::memcmp(&a.view, &b.view, sizeof a.view) != 0) return false;
  if ((a.flags & kEntryRender) && std::memcmp(&a.render, &b.render, sizeof a.render) != 0) {
    return false;
  }
  return !(a.flags & kEntryDrawSum) || a.drawSum == b.drawSum;
}

// Reads every entry of `path` into `entries`; returns how the reading ended.
ReadResult ReadAll(const char* path, int game, SessionHeader& header,
                   std::vector<SessionEntry>& entries) {
  SessionReader reader{};
  ReadResult result = OpenSessionReader(reader, path, kInputWords, game, header);
  if (result != ReadResult::kEntry) {
    FUZZ_CHECK(reader.file == nullptr);
    return result;
  }
  SessionEntry entry{};
  while (entries.size() < kMaxEntries) {
    result = ReadSessionEntry(reader, entry);
    if (result != ReadResult::kEntry && result != ReadResult::kEnd) break;
    CheckFields(entry);
    entries.push_back(entry);
    if (result == ReadResult::kEnd) break;
  }
  if (result != ReadResult::kEntry) FUZZ_CHECK(reader.file == nullptr);
  CloseSessionReader(reader);
  return result;
}

}  // namespace

int Recording(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> file(data + 1, data + size);
  if (data[0] & kRecordingRepair) Repair(file);
  const int game = GameOf(file);
  WriteInput("fuzz.vfr", file.data(), file.size());

  SessionHeader header{};
  std::vector<SessionEntry> entries;
  const ReadResult result = ReadAll("fuzz.vfr", game, header, entries);
  if (entries.empty()) return 0;

  // What was read survives writing and reading again.
  SessionWriter writer{};
  FUZZ_CHECK(OpenSessionWriter(writer, "again.vfr", header));
  for (const SessionEntry& e : entries) FUZZ_CHECK(WriteSessionEntry(writer, e));
  CloseSessionWriter(writer);
  SessionHeader headerAgain{};
  std::vector<SessionEntry> again;
  const ReadResult resultAgain = ReadAll("again.vfr", game, headerAgain, again);
  FUZZ_CHECK(again.size() == entries.size());
  for (size_t i = 0; i < entries.size(); i++) FUZZ_CHECK(SameEntry(entries[i], again[i]));
  // A file read to its end entry reads to its end entry again; one cut or
  // damaged after its last good entry comes back cut (nothing follows).
  if (result == ReadResult::kEnd) FUZZ_CHECK(resultAgain == ReadResult::kEnd);
  return 0;
}

}  // namespace fuzz
