// What the fuzz targets share: the game object they call through, as a game
// would, the data folder the inputs are written into and the one-time audio
// start-up.
#ifndef VESKFRAME_FUZZ_TARGETKIT_H
#define VESKFRAME_FUZZ_TARGETKIT_H

#include <cstddef>
#include <cstdint>

#include "VeskFrame.h"

namespace fuzz {

// The game number of the data folder "Data/<n>/" the targets use.
constexpr int kFuzzGame = 7;

VeskCore& Game();
// Sets GameNum and creates Data/<n>/ and Data/<n>/audio/ under the working
// directory on the first call.
void PrepareDataFolder();
// Writes the bytes to the path (relative to the working directory).
void WriteInput(const char* path, const uint8_t* data, size_t size);
// Opens the audio device once per process, with whatever backend OpenAL
// Soft's configuration names (none at all gives the no-device path).
void OpenAudioOnce();

}  // namespace fuzz

#endif  // VESKFRAME_FUZZ_TARGETKIT_H
