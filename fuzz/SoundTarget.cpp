// Fuzz target "sound": the input is a WAV file, loaded into a sound slot by
// the framework's own reader (LoadSFX, as a game loads its effects) and then
// played once. Whatever the bytes, the slot's record may not describe more
// sample bytes than the file holds, nor more frames than those bytes.
#include <cstring>

#include "FuzzTargets.h"
#include "TargetKit.h"
#include "VeskFrame.h"
#include "audio/Audio.h"

namespace fuzz {

namespace {
constexpr int kSlot = 17;
}  // namespace

int SoundLoad(const uint8_t* data, size_t size) {
  PrepareDataFolder();
  OpenAudioOnce();
  char path[64];
  std::snprintf(path, sizeof path, "Data/%i/audio/fuzz.wav", kFuzzGame);
  WriteInput(path, data, size);

  // The record keeps the last load's values; start from an empty one so the
  // checks below see this load only.
  std::memset(SFXData[kSlot], 0, sizeof SFXData[kSlot]);
  Game().LoadSFX(kSlot, "fuzz");
  const int* record = SFXData[kSlot];
  FUZZ_CHECK(record[kSfxBytes] >= 0 && size_t(record[kSfxBytes]) <= size);
  FUZZ_CHECK(record[kSfxFrames] >= 0);
  const long frameBytes = long(record[kSfxChannels]) * record[kSfxBytesPerSample];
  if (frameBytes > 0) FUZZ_CHECK(long(record[kSfxFrames]) * frameBytes <= record[kSfxBytes]);
  Game().PlaySFX(kSlot, 1.0f, 0.0f, 0.0f, 0);
  return 0;
}

}  // namespace fuzz
