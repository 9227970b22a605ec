// Shared set-up of the fuzz targets (see TargetKit.h).
#include "TargetKit.h"

#include <sys/stat.h>

#include <cstdio>

#include "FuzzTargets.h"

namespace fuzz {

namespace {
struct FuzzGame : VeskCore {};
FuzzGame TheGame;
}  // namespace

VeskCore& Game() { return TheGame; }

void PrepareDataFolder() {
  static bool ready = false;
  GameNum = kFuzzGame;
  if (ready) return;
  char path[64];
  mkdir("Data", 0755);
  std::snprintf(path, sizeof path, "Data/%i", kFuzzGame);
  mkdir(path, 0755);
  std::snprintf(path, sizeof path, "Data/%i/audio", kFuzzGame);
  mkdir(path, 0755);
  ready = true;
}

void WriteInput(const char* path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path, "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
  FUZZ_CHECK(std::fclose(file) == 0);
}

void OpenAudioOnce() {
  static bool open = false;
  if (open) return;
  ASys.OpenAudio();
  open = true;
}

}  // namespace fuzz
