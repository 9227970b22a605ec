// Helpers of the music tests (see MusicStreamKit.h).
#include "audio/MusicStreamKit.h"

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"

namespace audiotest {

namespace {
VeskCore Caller;  // MusicHandler acts on the platform object only
unsigned MusicSource() { return ALsource[kMusicSource]; }
}  // namespace

ALint MusicSourceInt(ALenum what) {
  ALint value = -1;
  alGetSourcei(MusicSource(), what, &value);
  return value;
}

ALint BufferSize(unsigned buffer) {
  ALint size = -1;
  alGetBufferi(buffer, AL_SIZE, &size);
  return size;
}

void EmptyRing() {
  alSourceStop(MusicSource());
  alSourcei(MusicSource(), AL_BUFFER, 0);
  MusicBufferTick = -3;
  ASys.MusicBufferTo = 0;
}

std::vector<int> MoreBlocks(int limit) {
  std::vector<int> sizes;
  for (int i = 0; int(sizes.size()) < limit && ASys.MusicPlaying != 0 && i < 4 * limit; i++) {
    EmptyRing();
    Caller.MusicHandler();
    if (MusicBufferTick == -2) sizes.push_back(BufferSize(MusicBuffer[0]));
  }
  return sizes;
}

std::vector<int> BlocksFromStart(int limit) {
  std::vector<int> sizes;
  if (MusicBufferTick == -2) sizes.push_back(BufferSize(MusicBuffer[0]));
  const std::vector<int> more = MoreBlocks(limit - int(sizes.size()));
  sizes.insert(sizes.end(), more.begin(), more.end());
  return sizes;
}

long Sum(const std::vector<int>& sizes) {
  long total = 0;
  for (int s : sizes) total += s;
  return total;
}

std::string ToneWav() {
  return Riff(Chunk("fmt ", FormatBody(2, 16, kStreamRate, 18)) + Chunk("LIST", "INFOISFTtest") +
              Chunk("data", Sine16(2, kStreamRate, 440, kToneBytes / 4, 0.5)) +
              Chunk("junk", std::string(5000, '\x7f')));
}

}  // namespace audiotest
