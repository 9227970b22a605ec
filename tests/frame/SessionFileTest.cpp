// The recording file: entries of every shape survive writing and reading,
// and a cut, damaged or foreign file is told apart and never yields an entry
// past the damage.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "frame/SessionFile.h"
#include "input/InputSlots.h"
#include "support/Files.h"

namespace {

constexpr int kGame = 3;
const char kPath[] = "session.vfr";
const char kCopy[] = "copy.vfr";

SessionHeader Header() {
  SessionHeader h{};
  h.version = kSessionVersion;
  h.inputWords = kInputWords;
  h.gameNumber = kGame;
  h.clockAtStart = 1234;
  for (int i = 0; i < kRandomStateWords; i++) h.random[i] = -7 * i + 3;
  return h;
}

// A prologue, steps of every shape (clock jumps both ways and to the ends of
// the int range, input at the first and last words, all parts at once), the end.
std::vector<SessionEntry> Entries() {
  std::vector<SessionEntry> list;
  SessionEntry e{};
  e.flags = kEntryClock;
  e.clock = {1234, 1240};
  list.push_back(e);
  ClearEntry(e);
  e.flags = kEntryClock | kEntryInput | kEntryView | kEntryRender | kEntryDrawSum | kEntryOther;
  e.clock = {INT_MAX, INT_MIN, 0, -5};
  e.input = {{0, 1}, {kButtonFocus, static_cast<uint32_t>(-1)}, {kInputWords - 1, 0xFFFFFFFFu}};
  e.view = SessionView{400, 300, 0.0025f, 1.5f, 800.0f, 533.25f};
  e.render = SessionRenderCounts{59, 123456};
  e.drawSum = 0xDEADBEEFu;
  e.other = {-1, 0, INT_MAX};
  list.push_back(e);
  ClearEntry(e);  // a step that read nothing and drew nothing
  list.push_back(e);
  e.flags = kEntryDrawSum;
  e.drawSum = 7;
  list.push_back(e);
  ClearEntry(e);
  e.flags = kEntryEnd;
  list.push_back(e);
  return list;
}

void ExpectSame(const SessionEntry& a, const SessionEntry& b, size_t at) {
  SCOPED_TRACE("entry " + std::to_string(at));
  EXPECT_EQ(a.flags, b.flags);
  EXPECT_EQ(a.clock, b.clock);
  EXPECT_EQ(a.other, b.other);
  ASSERT_EQ(a.input.size(), b.input.size());
  for (size_t i = 0; i < a.input.size(); i++) {
    EXPECT_EQ(a.input[i].index, b.input[i].index);
    EXPECT_EQ(a.input[i].value, b.input[i].value);
  }
  if (a.flags & kEntryView) {
    EXPECT_EQ(std::memcmp(&a.view, &b.view, sizeof a.view), 0);
  }
  if (a.flags & kEntryRender) {
    EXPECT_EQ(a.render.renderCount, b.render.renderCount);
    EXPECT_EQ(a.render.polyCount, b.render.polyCount);
  }
  if (a.flags & kEntryDrawSum) {
    EXPECT_EQ(a.drawSum, b.drawSum);
  }
}

void Write(const char* path, const std::vector<SessionEntry>& entries) {
  SessionWriter writer{};
  ASSERT_TRUE(OpenSessionWriter(writer, path, Header()));
  for (const SessionEntry& e : entries) ASSERT_TRUE(WriteSessionEntry(writer, e));
  CloseSessionWriter(writer);
}

struct Reading {
  ReadResult opened;
  ReadResult last;
  std::vector<SessionEntry> entries;
  bool closed;  // the reader let go of the file after its last result
};

Reading ReadAll(const char* path, int game = kGame) {
  Reading r{};
  SessionReader reader{};
  SessionHeader header{};
  r.opened = OpenSessionReader(reader, path, kInputWords, game, header);
  r.last = r.opened;
  SessionEntry e{};
  while (r.last == ReadResult::kEntry) {
    r.last = ReadSessionEntry(reader, e);
    if (r.last == ReadResult::kEntry || r.last == ReadResult::kEnd) r.entries.push_back(e);
  }
  r.closed = reader.file == nullptr;
  CloseSessionReader(reader);
  return r;
}

class SessionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    entries = Entries();
    Write(kPath, entries);
    bytes = vftest::ReadFile(kPath);
    ASSERT_GT(bytes.size(), static_cast<size_t>(kSessionHeaderBytes));
  }
  std::vector<SessionEntry> entries;
  std::string bytes;
};

TEST_F(SessionFile, EveryEntryShapeComesBackAsWritten) {
  SessionReader reader{};
  SessionHeader header{};
  ASSERT_EQ(OpenSessionReader(reader, kPath, kInputWords, kGame, header), ReadResult::kEntry);
  EXPECT_EQ(header.clockAtStart, 1234);
  for (int i = 0; i < kRandomStateWords; i++) EXPECT_EQ(header.random[i], -7 * i + 3);
  CloseSessionReader(reader);

  const Reading r = ReadAll(kPath);
  EXPECT_EQ(r.last, ReadResult::kEnd);
  EXPECT_TRUE(r.closed);
  ASSERT_EQ(r.entries.size(), entries.size());
  for (size_t i = 0; i < entries.size(); i++) ExpectSame(r.entries[i], entries[i], i);
}

TEST_F(SessionFile, ACutFileGivesTheEntriesBeforeTheCutAndThenSaysSo) {
  for (size_t length = 0; length < bytes.size(); length++) {
    SCOPED_TRACE("cut to " + std::to_string(length) + " bytes");
    ASSERT_TRUE(vftest::WriteFile(kCopy, bytes.substr(0, length)));
    const Reading r = ReadAll(kCopy);
    EXPECT_TRUE(r.closed);
    if (length < static_cast<size_t>(kSessionMagicBytes)) {
      EXPECT_TRUE(r.opened == ReadResult::kCut || r.opened == ReadResult::kNotSession);
      continue;
    }
    EXPECT_EQ(r.last, ReadResult::kCut);
    ASSERT_LT(r.entries.size(), entries.size());
    for (size_t i = 0; i < r.entries.size(); i++) ExpectSame(r.entries[i], entries[i], i);
  }
}

// A 16-bit check catches every single changed bit: the damaged entry and
// everything after it are never returned.
TEST_F(SessionFile, AChangedBitStopsTheReadingAtItsEntry) {
  // Where each entry starts, from the lengths of the ones before it.
  std::vector<size_t> starts;
  Reading whole = ReadAll(kPath);
  ASSERT_EQ(whole.last, ReadResult::kEnd);
  for (size_t n = 0; n <= entries.size(); n++) {
    std::vector<SessionEntry> first(entries.begin(), entries.begin() + static_cast<long>(n));
    Write(kCopy, first);
    starts.push_back(vftest::ReadFile(kCopy).size());
  }
  for (size_t at = 0; at < bytes.size(); at++) {
    for (int bit = 0; bit < 8; bit += 3) {
      SCOPED_TRACE("byte " + std::to_string(at) + " bit " + std::to_string(bit));
      std::string changed = bytes;
      changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
      ASSERT_TRUE(vftest::WriteFile(kCopy, changed));
      const Reading r = ReadAll(kCopy);
      EXPECT_TRUE(r.closed);
      EXPECT_NE(r.last, ReadResult::kEnd);
      size_t damaged = 0;  // the entry holding the byte
      while (damaged + 1 < starts.size() && starts[damaged + 1] <= at) damaged++;
      if (at < static_cast<size_t>(kSessionHeaderBytes)) {
        EXPECT_NE(r.opened, ReadResult::kEntry);
      } else {
        EXPECT_EQ(r.entries.size(), damaged);
      }
      for (size_t i = 0; i < r.entries.size(); i++) ExpectSame(r.entries[i], entries[i], i);
    }
  }
}

TEST_F(SessionFile, AForeignFileIsToldApartByItsHeader) {
  EXPECT_EQ(ReadAll("no-such-file.vfr").opened, ReadResult::kMissing);
  EXPECT_EQ(ReadAll(kPath, kGame + 1).opened, ReadResult::kGame);

  ASSERT_TRUE(vftest::WriteFile(kCopy, "RIFF\x24\0\0\0WAVEfmt " + std::string(40, '\0')));
  EXPECT_EQ(ReadAll(kCopy).opened, ReadResult::kNotSession);

  // Another version is reported as such whatever the rest holds, so that a
  // later format may change the header's other fields.
  std::string other = bytes;
  other[kSessionMagicBytes] = static_cast<char>(kSessionVersion + 1);
  ASSERT_TRUE(vftest::WriteFile(kCopy, other));
  EXPECT_EQ(ReadAll(kCopy).opened, ReadResult::kVersion);

  SessionHeader wider = Header();
  wider.inputWords = kInputWords + 4;
  SessionWriter writer{};
  ASSERT_TRUE(OpenSessionWriter(writer, kCopy, wider));
  CloseSessionWriter(writer);
  EXPECT_EQ(ReadAll(kCopy).opened, ReadResult::kLayout);
}

// Fields that a writer never makes are refused even with a right check.
TEST_F(SessionFile, OutOfRangeFieldsAreRefused) {
  SessionEntry bad{};
  bad.flags = kEntryInput;
  bad.input = {{kInputWords, 1}};  // past the block
  SessionEntry view{};
  view.flags = kEntryView;
  view.view = SessionView{1, 1, -1.0f, 1.0f, 1.0f, 1.0f};
  SessionEntry both{};
  both.flags = kEntryEnd | kEntryClock;
  both.clock = {1};
  for (const SessionEntry& e : {bad, view, both}) {
    Write(kCopy, {entries[0], e});
    const Reading r = ReadAll(kCopy);
    EXPECT_EQ(r.last, ReadResult::kDamaged);
    EXPECT_EQ(r.entries.size(), 1u);
  }
}

}  // namespace
