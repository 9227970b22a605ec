// Internal header of audio/: the OpenAL device, sources and music buffers
// (audio/AudioDevice.cpp), the sound slots' buffers and records
// (audio/SoundSlots.cpp), the music stream's state (audio/Music.cpp), the
// RIFF/WAVE reader (audio/WavReader.cpp) and the Ogg Vorbis header check
// (audio/VorbisHeaders.cpp).
#ifndef VESKFRAME_AUDIO_H
#define VESKFRAME_AUDIO_H

#include <AL/alc.h>

#include <cstdio>

#include "VeskFrame.h"  // kSources, kMusicBuffers, kSoundSlots

typedef struct stb_vorbis stb_vorbis;

// ---- Device and sources ----
extern ALCdevice* ALdev;
extern ALCcontext* ALctx;
extern int AudioEnabled;
extern unsigned ALsource[kSources];
extern int ALChannel;
extern int ALsourcebuffer[kSources];  // sound slot each effect source last played
constexpr int kNoSlot = -1;           // ALsourcebuffer entry of a source no effect has used
extern unsigned MusicBuffer[kMusicBuffers];

// ---- Sound slots ----
extern unsigned ALbuffer[kSoundSlots];
extern int ALbufferActive[kSoundSlots];
extern int SFXData[kSoundSlots][10];
// Entries of a slot's SFXData record, filled by each data chunk loaded.
enum SfxEntry { kSfxBytes, kSfxFrames, kSfxChannels, kSfxBytesPerSample, kSfxRate };

// ---- Music stream ----
constexpr int kMusicStatsFormat = 1;
constexpr int kMusicStatsRate = 4;
constexpr int kMusicStatsChannels = 5;
extern int MusicBufferTick;
extern int MusicBufferStats[10];
extern FILE* MusicFile;
extern fpos_t MusicFileBegin;
extern stb_vorbis* OggFile;

// ---- WAV reader (shared by sound slots and the music stream) ----
const char* readTag(FILE* file);
int readInt(FILE* file);
int readShort(FILE* file);
void skipBytes(FILE* file, int n);

// Sample layout from a WAV file's format chunk.
struct WavFormat {
  int channels;
  int bytesPerSample;  // bits per sample / 8
  int rate;            // Hz
};
// Reads the fixed RIFF/WAVE header and the format chunk; 0 when a rule fails.
int ReadWavHeader(FILE* file, WavFormat* format);
// Walks on to the next "data" chunk and returns its size, leaving the file at
// its first byte; -1 once the walk has ended. With toEndOfFile set, a data
// chunk that claims more than the file holds (a cut-off file, or a size a
// streaming writer never filled in) is taken to end with the file.
int FindWavData(FILE* file, bool toEndOfFile = false);
// Audio-library format of the layout (mono/stereo, 8/16 bits), 0 for none.
int WavFormatCode(const WavFormat& format);

// ---- Ogg Vorbis header check ----
// Whether the Ogg Vorbis file's header pages and packets, read from the
// current position, are valid enough to hand to the decoder (the position is
// restored).
bool VorbisHeadersValid(FILE* file);

#endif  // VESKFRAME_AUDIO_H
