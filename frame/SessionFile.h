// Internal header of frame/: the recording file of a session (docs/
// recording-format.md): its header, its entries (the prologue, one per update
// step, the end) and the writer and reader that turn them into bytes.
// Used by the session (frame/Session.cpp), the recording fuzz target and the
// tests that inspect or alter recordings.
#ifndef VESKFRAME_SESSION_FILE_H
#define VESKFRAME_SESSION_FILE_H

#include <cstdint>
#include <cstdio>
#include <vector>

constexpr int kSessionMagicBytes = 8;
extern const unsigned char kSessionMagic[kSessionMagicBytes];
constexpr int kSessionVersion = 1;
constexpr int kRandomStateWords = 6;  // jRand_Seed, _Bit, _Plus, _Count, _Out, _tSeed

// The header: 8 magic bytes, then these fields, then a 16-bit check.
struct SessionHeader {
  int version;
  int inputWords;    // words of the input block (kInputWords of the build that wrote it)
  int gameNumber;    // GameNum when the recording started
  int clockAtStart;  // Mills() when the recording started
  int random[kRandomStateWords];
};
constexpr int kSessionHeaderBytes = kSessionMagicBytes + 2 + 2 + 4 * (2 + kRandomStateWords) + 2;

// What an entry holds, one bit each in its flags byte.
constexpr int kEntryClock = 1;     // clock readings
constexpr int kEntryInput = 2;     // changed words of the input block
constexpr int kEntryView = 4;      // the view values
constexpr int kEntryRender = 8;    // the render-side counts
constexpr int kEntryDrawSum = 16;  // checksum of the handed-over draw list
constexpr int kEntryOther = 32;    // other readings (music state)
constexpr int kEntryEnd = 64;      // the session ended; nothing follows
constexpr int kEntryKnownFlags = 127;

// Limits every reader enforces, so no file can make it allocate much.
constexpr int kMaxEntryBytes = 1 << 23;
constexpr int kMaxStepReadings = 1 << 20;

struct InputChange {
  int index;  // word of the input block
  uint32_t value;
};

struct SessionView {
  int rw2;
  int rh2;
  float scale;  // ViewScale
  float ratio;  // VeskSys::Ratio
  float width;  // the view width and height RenderGame last returned
  float height;
};

struct SessionRenderCounts {
  int renderCount;  // VeskCore::RenderCount
  int polyCount;    // VeskSys::PolyCount of the last render pass
};

// One entry. The flags say which parts are present; the vectors keep their
// memory from entry to entry.
struct SessionEntry {
  int flags;
  std::vector<int> clock;
  std::vector<int> other;
  std::vector<InputChange> input;
  SessionView view;
  SessionRenderCounts render;
  uint32_t drawSum;
};

// Empties an entry (flags 0, no readings, no changes).
void ClearEntry(SessionEntry& entry);

// ---- Writing ----

struct SessionWriter {
  FILE* file;
  int lastClock;  // readings are stored as differences from the previous one
  std::vector<unsigned char> bytes;
};

// Creates the file and writes the header; false when it cannot be written.
bool OpenSessionWriter(SessionWriter& writer, const char* path, const SessionHeader& header);
// Appends one entry and hands it to the operating system at once, so a
// crash keeps it. False when it cannot be written or is over kMaxEntryBytes.
bool WriteSessionEntry(SessionWriter& writer, const SessionEntry& entry);
void CloseSessionWriter(SessionWriter& writer);

// ---- Reading ----

enum class ReadResult {
  kEntry,       // an entry was read
  kEnd,         // the end entry: the session ended here
  kCut,         // the file ends inside an entry or without an end entry
  kDamaged,     // a check or a field is wrong
  kMissing,     // the file cannot be opened
  kNotSession,  // the magic bytes are wrong
  kVersion,     // another format version
  kLayout,      // another input block
  kGame,        // another game number
};

struct SessionReader {
  FILE* file;
  int lastClock;
  int inputWords;
  std::vector<unsigned char> bytes;
};

// Opens the file and reads and checks its header against this build's input
// block and game number. Any result but kEntry leaves the reader closed.
ReadResult OpenSessionReader(SessionReader& reader, const char* path, int inputWords,
                             int gameNumber, SessionHeader& header);
// Reads the next entry. kEntry and kEnd fill `entry`; after any other result
// the reader is closed and `entry` holds nothing usable.
ReadResult ReadSessionEntry(SessionReader& reader, SessionEntry& entry);
void CloseSessionReader(SessionReader& reader);

// The 16-bit check of the header and of every entry (CRC-16/CCITT-FALSE).
uint16_t SessionCheck(const unsigned char* bytes, size_t count);

#endif  // VESKFRAME_SESSION_FILE_H
