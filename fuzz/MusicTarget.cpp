// Fuzz target "music": the input (after its control byte, see FuzzTargets.h)
// is a WAV or Ogg Vorbis file started with PlayMusic and fed for a number of
// refills. Before each refill the music source is stopped, as if it had run
// dry, so every MusicHandler call really reads or decodes a new block.
// Afterwards StopMusic must leave no stream open.
#include <AL/al.h>

#include <cstring>
#include <vector>

#include "FuzzTargets.h"
#include "TargetKit.h"
#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/OggPages.h"

namespace fuzz {

namespace {
// Recomputes the checksum of every whole Ogg page in a row from the start.
void RepairPageChecksums(std::vector<uint8_t>& file) {
  size_t at = 0;
  size_t size = 0;
  while ((size = OggPageBytes(file.data() + at, file.size() - at)) != 0 &&
         size <= file.size() - at) {
    uint8_t* page = file.data() + at;
    std::memset(page + kOggChecksumAt, 0, 4);
    const uint32_t checksum = OggPageChecksum(page, size);
    for (int i = 0; i < 4; i++) page[kOggChecksumAt + i] = uint8_t(checksum >> (8 * i));
    at += size;
  }
}
}  // namespace

int Music(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  PrepareDataFolder();
  OpenAudioOnce();
  const uint8_t control = data[0];
  const bool ogg = (control & kMusicOgg) != 0;
  const int refills = (control >> kMusicRefillShift) & kMusicRefillMask;
  char path[64];
  std::snprintf(path, sizeof path, "Data/%i/audio/%s", kFuzzGame, ogg ? "fuzz.ogg" : "fuzz.wav");
  std::vector<uint8_t> file(data + 1, data + size);
  if (ogg && (control & kMusicRepairChecksums) != 0) RepairPageChecksums(file);
  WriteInput(path, file.data(), file.size());

  VeskCore& game = Game();
  game.PlayMusic(ogg ? "fuzz.ogg" : "fuzz.wav", (control & kMusicLoop) != 0 ? 1 : 0);
  for (int i = 0; i < refills && ASys.MusicPlaying != 0; i++) {
    alSourceStop(ALsource[kMusicSource]);
    game.MusicHandler();
    FUZZ_CHECK(ASys.MusicBufferTo >= 0 && ASys.MusicBufferTo < kMusicBuffers);
  }
  game.StopMusic();
  FUZZ_CHECK(MusicFile == nullptr && OggFile == nullptr);
  return 0;
}

}  // namespace fuzz
