// The 105 sound slots: each owns one OpenAL buffer filled from a WAV file in
// the data folder. GetWAV frees the channels still holding the slot, replaces
// its buffer and uploads the data chunk read by the shared WAV reader
// (audio/WavReader.cpp); LoadSFX builds the file name from the game number.
// Relies on the effect channels' records (ALsourcebuffer), the log and the
// file opening of the operating-system seam (frame/Platform.h).
#include <AL/al.h>

#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "frame/Platform.h"
#include "util/Log.h"
#include "util/TextBuffer.h"

unsigned ALbuffer[kSoundSlots];
int ALbufferActive[kSoundSlots];
int SFXData[kSoundSlots][10];

// Every load first discards what the slot held, so a load that fails leaves
// the slot silent rather than with its previous sound. Slot numbers outside
// 0..104 are refused with one log line.
void VeskSys::GetWAV(int slot, const char* path) {
  if (slot < 0 || slot >= kSoundSlots) {
    Debuglog(fstrSys("Sound slot %i is out of range", slot));
    return;
  }
  alGetError();
  for (int i = 0; i < kSources; i++) {
    if (ALsourcebuffer[i] != slot) continue;
    Debuglog(fstrSys("Freeing Buffer %i", i));
    alSourceStop(ALsource[i]);
    ALsourcebuffer[i] = kNoSlot;
    // Detached, the old buffer is no longer in use and can really be deleted.
    alSourcei(ALsource[i], AL_BUFFER, 0);
  }
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) Debuglog(fstrSys("Source->Buffer Error %i", error));

  if (ALbufferActive[slot] == 1) {
    alDeleteBuffers(1, &ALbuffer[slot]);
    ALbufferActive[slot] = 0;
  }
  error = alGetError();
  if (error != AL_NO_ERROR) Debuglog(fstrSys("Delete Buffer Error %i", error));

  alGenBuffers(1, &ALbuffer[slot]);
  ALbufferActive[slot] = 1;
  error = alGetError();
  if (error != AL_NO_ERROR) Debuglog(fstrSys("Generate Buffer Error %i", error));

  FILE* file = PlatformOpenFile(path, "rb");
  if (file == nullptr) {
    Debuglog("Error Opening Wave");
    ExplainUnloadedFile(path);
    return;
  }
  WavFormat format;
  if (!ReadWavHeader(file, &format)) {
    std::fclose(file);
    return;
  }

  // Every data chunk is loaded in turn; the last one read stays in the slot.
  int size;
  while ((size = FindWavData(file)) >= 0) {
    std::vector<unsigned char> body(size);  // the walk checked size against the file
    if (size > 0 && std::fread(body.data(), 1, size, file) != static_cast<size_t>(size)) continue;

    int* record = SFXData[slot];
    int frameBytes = format.channels * format.bytesPerSample;
    record[kSfxBytes] = size;
    // No channels or fewer than 8 bits: no whole frame, and the upload below
    // is refused for want of a format.
    record[kSfxFrames] = frameBytes > 0 ? size / frameBytes : 0;
    record[kSfxChannels] = format.channels;
    record[kSfxBytesPerSample] = format.bytesPerSample;
    record[kSfxRate] = format.rate;

    alBufferData(ALbuffer[slot], WavFormatCode(format), body.data(), size, format.rate);
    Debuglog(fstrSys("     Load %i bytes", size));
    error = alGetError();
    if (error != AL_NO_ERROR) Debuglog(fstrSys("Post Error %i", error));
  }
  std::fclose(file);
}

void VeskCore::LoadSFX(int slot) {
  Debuglog(fstr("Load Wave %i", slot));
  tstr("Data/%i/audio/%02i.wav", GameNum, slot);
  ASys.GetWAV(slot, Tempstr);
}

// The message and then the file name are formatted into Tempstr, so a name
// that itself lies in Tempstr (an earlier string helper's result) is copied
// first.
void VeskCore::LoadSFX(int slot, const char* name) {
  char copy[kTextBufferSize];
  CopyText(copy, name);
  Debuglog(fstr("Load Wave %s to %i", copy, slot));
  tstr("Data/%i/audio/%s.wav", GameNum, copy);
  ASys.GetWAV(slot, Tempstr);
}
