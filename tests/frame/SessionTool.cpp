// Reads and alters session recordings for the shell-driven tests:
//   session_tool sums GAME FILE
//     prints "STEP SUM" (SUM in hex) for every step that handed over a draw
//     list, then how the file ends ("end", or "stopped N" with the reader's
//     result)
//   session_tool alter GAME IN OUT STEP WORD VALUE
//     copies IN to OUT with input word WORD set to VALUE from step STEP on
//     (until the recording changes that word again), every check recomputed
// GAME is the game number the recording was made by.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/SessionFile.h"
#include "input/InputSlots.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: session_tool sums GAME FILE\n"
               "       session_tool alter GAME IN OUT STEP WORD VALUE\n");
  return 2;
}

int Sums(int game, const char* path) {
  SessionReader reader{};
  SessionHeader header{};
  ReadResult result = OpenSessionReader(reader, path, kInputWords, game, header);
  SessionEntry entry{};
  int step = 0;
  while (result == ReadResult::kEntry) {
    result = ReadSessionEntry(reader, entry);
    if (result != ReadResult::kEntry) break;
    if (entry.flags & kEntryDrawSum) std::printf("%d %08x\n", step, entry.drawSum);
    step++;
  }
  if (result == ReadResult::kEnd) {
    std::printf("end\n");
    return 0;
  }
  std::printf("stopped %d\n", static_cast<int>(result));
  return 1;
}

// Puts `value` at `word` in the entry's changes, in index order.
void SetWord(SessionEntry& entry, int word, uint32_t value) {
  auto at = std::find_if(entry.input.begin(), entry.input.end(),
                         [word](const InputChange& c) { return c.index >= word; });
  if (at != entry.input.end() && at->index == word) {
    at->value = value;
  } else {
    entry.input.insert(at, InputChange{word, value});
  }
  entry.flags |= kEntryInput;
}

int Alter(int game, const char* in, const char* out, int step, int word, uint32_t value) {
  if (word < 0 || word >= kInputWords || step < 1) return Usage();
  SessionReader reader{};
  SessionHeader header{};
  if (OpenSessionReader(reader, in, kInputWords, game, header) != ReadResult::kEntry) {
    std::fprintf(stderr, "cannot read %s\n", in);
    return 1;
  }
  SessionWriter writer{};
  if (!OpenSessionWriter(writer, out, header)) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  SessionEntry entry{};
  ReadResult result;
  int index = 0;
  bool altered = false;
  while ((result = ReadSessionEntry(reader, entry)) == ReadResult::kEntry ||
         result == ReadResult::kEnd) {
    if (index == step) {
      SetWord(entry, word, value);
      altered = true;
    }
    if (!WriteSessionEntry(writer, entry)) break;
    if (result == ReadResult::kEnd) break;
    index++;
  }
  CloseSessionWriter(writer);
  if (!altered) std::fprintf(stderr, "%s has no step %d\n", in, step);
  return altered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "sums") == 0) return Sums(std::atoi(argv[2]), argv[3]);
  if (argc == 8 && std::strcmp(argv[1], "alter") == 0) {
    return Alter(std::atoi(argv[2]), argv[3], argv[4], std::atoi(argv[5]), std::atoi(argv[6]),
                 static_cast<uint32_t>(std::strtoul(argv[7], nullptr, 0)));
  }
  return Usage();
}
