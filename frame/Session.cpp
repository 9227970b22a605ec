// Recording and replay of a session (Record, Replay, EndUpdate and the hooks
// of frame/Session.h). A session is cut into entries: the prologue (the
// clock readings between Record or Replay and the start of the loop), then
// one entry per update step, from the PollInput that begins it to the
// EndUpdate that ends it. An entry holds what the step read from outside the
// game: its clock readings, the input block after its poll, the view values
// and render counts it started with, and the checksum of the draw list it
// handed over, taken by the next render pass (or the next step, when no
// render pass came between) so that the update step does not pay for it.
//
// In a replay each step gets the recorded values instead, and the loop's
// own clock readings (between steps) come from the real clock moved to carry
// on from the last recorded reading: due times that the game set from
// recorded readings then fall due at the pace they had, however far the
// replay's real clock is from the recording's. A replay can also be recorded,
// which gives the same file again when the game is deterministic.
// Relies on the file format (frame/SessionFile.cpp), the input block
// (input/InputBlock.cpp), the list checksum (graphics/ListChecksum.cpp) and
// the clock of the operating-system seam.
#include "frame/Session.h"

#include <cstring>
#include <utility>
#include <vector>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/SessionFile.h"
#include "graphics/Records.h"
#include "input/InputSlots.h"
#include "util/TextBuffer.h"

bool SessionStarted;

namespace {

constexpr int kReasonLength = 200;
constexpr uint32_t kSumCombine = 31;  // a step that hands over twice sums both lists

// What this run makes of the prologue or of an update step. It is written
// to the recording and, when it was replayed, compared with the recorded
// entry once it is finished (at the next step, or at the session's end).
struct Made {
  bool open;
  bool reading;      // still taking clock readings (the step or the prologue goes on)
  bool replayed;     // fed from the replay's current entry
  bool pendingList;  // the render-side list was handed over in it and not summed yet
  int step;          // 0 for the prologue, then 1, 2, ... for update steps
  float width;       // the view width and height RenderGame last returned
  float height;
  SessionEntry entry;
};

struct Recording {
  bool on;
  bool stateWritten;  // the view and render counts have been written once
  char path[kTextBufferSize];
  SessionWriter writer;
  uint32_t block[kInputWords];  // as last written
  SessionView view;
  SessionRenderCounts render;
};

struct Replaying {
  bool on;
  bool thenPlay;   // when it stops the player takes over; otherwise the game quits
  bool quitAfter;  // it stopped and the game is to quit
  int steps;       // update steps replayed so far
  int desyncStep;  // the first step that differed, -1 while none did
  char path[kTextBufferSize];
  SessionReader reader;
  SessionHeader header;
  SessionEntry now;   // the entry being replayed
  SessionEntry next;  // the entry after it, read ahead
  ReadResult nextResult;
  size_t clockAt;  // readings of `now` given so far
  size_t otherAt;  // other readings of `now` given so far
  uint32_t block[kInputWords];
  SessionView view;
  SessionRenderCounts render;
};

Made M;
Recording R;
Replaying P;
int ClockOffset;  // added to the real clock outside recorded readings
bool LoopStarted;

// ---- Messages ----

void Describe(ReadResult result, char (&reason)[kReasonLength]) {
  const char* text = "the file is damaged after it";
  switch (result) {
    case ReadResult::kEntry:
    case ReadResult::kDamaged:
      break;
    case ReadResult::kEnd:
      text = "the recording ends there";
      break;
    case ReadResult::kCut:
      text = "the file is cut off after it";
      break;
    case ReadResult::kMissing:
      text = "the file cannot be opened";
      break;
    case ReadResult::kNotSession:
      text = "the file is not a recording";
      break;
    case ReadResult::kVersion:
      std::snprintf(reason, sizeof reason, "the file has format version %i, this build reads %i",
                    P.header.version, kSessionVersion);
      return;
    case ReadResult::kLayout:
      std::snprintf(reason, sizeof reason,
                    "the file holds %i input values a step, this build %i (another version)",
                    P.header.inputWords, kInputWords);
      return;
    case ReadResult::kGame:
      std::snprintf(reason, sizeof reason, "the file was recorded by game %i, this is game %i",
                    P.header.gameNumber, GameNum);
      return;
  }
  std::snprintf(reason, sizeof reason, "%s", text);
}

void StopReplay(const char* reason) {
  P.on = false;
  P.quitAfter = !P.thenPlay;
  CloseSessionReader(P.reader);
  ASys.Debuglog(ASys.fstrSys("Replay of %s stopped after step %i: %s. %s", P.path, P.steps, reason,
                             P.thenPlay ? "The player takes over." : "The game quits."));
}

void StopReplay(ReadResult result) {
  char reason[kReasonLength];
  Describe(result, reason);
  StopReplay(reason);
}

void StopRecording(const char* reason) {
  CloseSessionWriter(R.writer);
  R.on = false;
  ASys.Debuglog(ASys.fstrSys("Recording to %s stopped at step %i: %s", R.path, M.step, reason));
}

void Desync(int step, const char* reason) {
  if (P.desyncStep >= 0) return;
  P.desyncStep = step;
  ASys.Debuglog(ASys.fstrSys("Replay desync at step %i: %s", step, reason));
}

// ---- The entry being made ----

void BeginMade(int step, bool replayed) {
  ClearEntry(M.entry);
  M.open = true;
  M.reading = true;
  M.replayed = replayed;
  M.pendingList = false;
  M.step = step;
}

// The checksum of the list handed over in the made entry, once.
void SumPendingList() {
  if (!M.pendingList) return;
  M.pendingList = false;
  if (!R.on && !M.replayed) return;  // nobody needs it
  const uint32_t sum = HandedOverChecksum();
  SessionEntry& e = M.entry;
  e.drawSum = (e.flags & kEntryDrawSum) ? e.drawSum * kSumCombine + sum : sum;
  e.flags |= kEntryDrawSum;
}

void CompareWithRecording() {
  const SessionEntry& made = M.entry;
  const SessionEntry& recorded = P.now;
  if (P.clockAt != recorded.clock.size()) {
    Desync(M.step, "the clock was read a different number of times");
  } else if (P.otherAt != recorded.other.size()) {
    Desync(M.step, "the music or monitor state was read a different number of times");
  } else if ((made.flags & kEntryDrawSum) != (recorded.flags & kEntryDrawSum) ||
             made.drawSum != recorded.drawSum) {
    Desync(M.step, "its draw commands differ from the recording");
  }
}

void FinishMade() {
  if (!M.open) return;
  SumPendingList();
  if (!M.entry.clock.empty()) M.entry.flags |= kEntryClock;
  if (!M.entry.other.empty()) M.entry.flags |= kEntryOther;
  if (R.on && !WriteSessionEntry(R.writer, M.entry)) StopRecording("the file cannot be written");
  if (M.replayed) CompareWithRecording();
  M.open = false;
  M.reading = false;
}

// ---- Replayed state put in place ----

bool ChangesValid(const SessionEntry& entry) {
  for (const InputChange& change : entry.input) {
    if (!InputWordValid(change.index, change.value)) return false;
  }
  return true;
}

// The entry's input changes put in place in the replayed block and in ASys.
void ApplyChanges(const SessionEntry& entry) {
  for (const InputChange& change : entry.input) P.block[change.index] = change.value;
  LoadInputBlock(P.block);
}

ReadResult ReadNext(SessionEntry& entry) {
  ReadResult result = ReadSessionEntry(P.reader, entry);
  if (result == ReadResult::kEntry && !ChangesValid(entry)) {
    CloseSessionReader(P.reader);
    result = ReadResult::kDamaged;
  }
  return result;
}

void ApplyRecordedState(VeskCore& game) {
  if (P.now.flags & kEntryView) P.view = P.now.view;
  if (P.now.flags & kEntryRender) P.render = P.now.render;
  rw2 = P.view.rw2;
  rh2 = P.view.rh2;
  ViewScale = P.view.scale;
  ASys.Ratio = P.view.ratio;
  M.width = P.view.width;
  M.height = P.view.height;
  game.RenderCount = P.render.renderCount;
  ASys.PolyCount = P.render.polyCount;
}

// Writes the view values and render counts of a recorded step when they
// differ from those last written.
void RecordState(const VeskCore& game) {
  const SessionView view{rw2, rh2, ViewScale, ASys.Ratio, M.width, M.height};
  const SessionRenderCounts render{game.RenderCount, ASys.PolyCount};
  if (!R.stateWritten || std::memcmp(&view, &R.view, sizeof view) != 0) {
    R.view = view;
    M.entry.view = view;
    M.entry.flags |= kEntryView;
  }
  if (!R.stateWritten || std::memcmp(&render, &R.render, sizeof render) != 0) {
    R.render = render;
    M.entry.render = render;
    M.entry.flags |= kEntryRender;
  }
  R.stateWritten = true;
}

// One reading that an update step makes: in a replay the recorded one (the
// live value once the recorded ones run out, which the comparison at the
// step's end reports), kept in `made` when recording.
int StepReading(int live, const std::vector<int>& recorded, size_t& at, std::vector<int>& made,
                const char* tooOften) {
  int value = live;
  if (M.replayed) {
    if (at < recorded.size()) value = recorded[at];
    at++;
  }
  if (R.on) {
    if (made.size() < static_cast<size_t>(kMaxStepReadings)) {
      made.push_back(value);
    } else {
      StopRecording(tooOften);
    }
  }
  return value;
}

}  // namespace

// ---- Hooks ----

int SessionClockReading(int live) {
  const int value = live + ClockOffset;
  if (!M.reading) return value;
  const int given = StepReading(value, P.now.clock, P.clockAt, M.entry.clock,
                                "the step reads the clock too often for a recording");
  ClockOffset = given - live;
  return given;
}

int SessionOtherReading(int live) {
  if (!M.reading) return live;
  return StepReading(live, P.now.other, P.otherAt, M.entry.other,
                     "the step reads the music or monitor state too often for a recording");
}

void SessionClockRestarted() {
  if (!P.on) ClockOffset = 0;
}

void SessionStepBegins(VeskCore& game) {
  if (!SessionStarted) {
    LoopStarted = true;
    return;
  }
  LoopStarted = true;
  FinishMade();
  const int step = M.step + 1;
  bool replayed = false;
  if (P.on && P.nextResult != ReadResult::kEntry) {
    StopReplay(P.nextResult);
  } else if (P.on) {
    std::swap(P.now, P.next);
    P.clockAt = 0;
    P.otherAt = 0;
    P.nextResult = ReadNext(P.next);
    // A session that ended with a quit would quit again: the player takes
    // over before its last step instead.
    if (P.thenPlay && P.nextResult == ReadResult::kEnd) {
      StopReplay("its last step, where the recorded session ended, is left to the player");
    } else {
      replayed = true;
      P.steps = step;
      ApplyRecordedState(game);
    }
  }
  BeginMade(step, replayed);
  if (R.on) RecordState(game);
}

bool SessionInputReplayed() {
  if (!SessionStarted || !M.open || !M.replayed) return false;
  // As a poll does: this step's arrays become those of the poll before.
  ASys.RememberLastPoll();
  ApplyChanges(P.now);
  return true;
}

void SessionInputPolled() {
  if (!SessionStarted || !R.on || !M.open) return;
  uint32_t block[kInputWords];
  SaveInputBlock(block);
  if (std::memcmp(block, R.block, sizeof block) == 0) return;
  for (int i = 0; i < kInputWords; i++) {
    if (block[i] != R.block[i]) M.entry.input.push_back(InputChange{i, block[i]});
  }
  std::memcpy(R.block, block, sizeof block);
  M.entry.flags |= kEntryInput;
}

void SessionStepEnds(VeskCore& game) {
  if (!SessionStarted || !M.open) return;
  M.reading = false;
  if (P.on && M.replayed && P.nextResult != ReadResult::kEntry) StopReplay(P.nextResult);
  if (P.quitAfter) game.GameBreak = 1;
}

void SessionHandOver() {
  if (!SessionStarted || !M.open) return;
  SumPendingList();
  M.pendingList = true;
}

void SessionRenderBegins() {
  if (SessionStarted) SumPendingList();
}

void SessionViewPublished(float& width, float& height) {
  if (!SessionStarted) return;
  if (P.on && P.nextResult == ReadResult::kEntry) {
    const SessionView& view = (P.next.flags & kEntryView) ? P.next.view : P.view;
    width = view.width;
    height = view.height;
  }
  M.width = width;
  M.height = height;
}

void SessionLoopStarts() {
  LoopStarted = true;
  if (SessionStarted && M.open && M.step == 0) M.reading = false;
}

void SessionEnds() {
  if (!SessionStarted) return;
  FinishMade();
  if (P.on) StopReplay("the game ended before the recording did");
  if (R.on) {
    ClearEntry(M.entry);
    M.entry.flags = kEntryEnd;
    if (WriteSessionEntry(R.writer, M.entry)) {
      ASys.Debuglog(ASys.fstrSys("Recorded %i steps to %s", M.step, R.path));
    } else {
      StopRecording("the file cannot be written");
    }
    CloseSessionWriter(R.writer);
    R.on = false;
  }
}

// ---- The game-facing calls ----

void VeskCore::Record(const char* file) {
  if (R.on || LoopStarted || file == nullptr) {
    Debuglog("Record is called once, before the game's loop starts, with a file name");
    return;
  }
  SessionHeader header{};
  header.version = kSessionVersion;
  header.inputWords = kInputWords;
  header.gameNumber = GameNum;
  // A replay being recorded again keeps its start, so that the same session
  // gives the same file.
  header.clockAtStart = P.on ? P.header.clockAtStart : LiveMills() + ClockOffset;
  const int random[kRandomStateWords] = {jRand_Seed,  jRand_Bit, jRand_Plus,
                                         jRand_Count, jRand_Out, jRand_tSeed};
  std::memcpy(header.random, random, sizeof random);
  CopyText(R.path, file);
  if (!OpenSessionWriter(R.writer, R.path, header)) {
    ASys.Debuglog(ASys.fstrSys("Cannot create the recording %s", R.path));
    return;
  }
  R.on = true;
  R.stateWritten = false;
  std::memset(R.block, 0, sizeof R.block);
  SessionStarted = true;
  if (!M.open) BeginMade(0, false);
  // The input state the first poll starts from (and its edges compare with)
  // goes in the prologue.
  SessionInputPolled();
  ASys.Debuglog(ASys.fstrSys("Recording the session to %s", R.path));
}

void VeskCore::Replay(const char* file) { Replay(file, 0); }

void VeskCore::Replay(const char* file, int thenPlay) {
  if (P.on || R.on || LoopStarted || file == nullptr) {
    Debuglog("Replay is called once, before Record and before the game's loop, with a file name");
    return;
  }
  SessionStarted = true;
  P.thenPlay = thenPlay != 0;
  P.steps = 0;
  P.desyncStep = -1;
  CopyText(P.path, file);
  ReadResult result = OpenSessionReader(P.reader, P.path, kInputWords, GameNum, P.header);
  if (result == ReadResult::kEntry) result = ReadNext(P.now);  // the prologue
  if (result != ReadResult::kEntry) {
    StopReplay(result);
    return;
  }
  const int* random = P.header.random;
  jRand_Seed = random[0];
  jRand_Bit = random[1];
  jRand_Plus = random[2];
  jRand_Count = random[3];
  jRand_Out = random[4];
  jRand_tSeed = random[5];
  ClockOffset = P.header.clockAtStart - LiveMills();
  P.nextResult = ReadNext(P.next);
  P.clockAt = 0;
  P.otherAt = 0;
  std::memset(P.block, 0, sizeof P.block);
  ApplyChanges(P.now);  // the input state the recording started from
  P.view = SessionView{};
  P.render = SessionRenderCounts{};
  P.on = true;
  BeginMade(0, true);
  ASys.Debuglog(ASys.fstrSys("Replaying %s", P.path));
}

void VeskCore::EndUpdate() { SessionStepEnds(*this); }
