// The OpenAL device for the whole run: the default output device and its
// context, the 32 sources (0..30 effect channels, 31 music), the four music
// stream buffers and the listener, opened by SysInit and released by Close;
// AudioDevice names the device for the game.
// Nothing here checks AudioEnabled before acting: without a device or a
// context every later audio call is one the library treats as doing nothing.
// Relies on VeskSys::Debuglog for its messages and on StopMusicSys
// (audio/Music.cpp) to release the stream's file and decoder at shutdown.
#include <AL/al.h>
#include <AL/alc.h>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "util/TextBuffer.h"

ALCdevice* ALdev;
ALCcontext* ALctx;
int AudioEnabled;
unsigned ALsource[kSources];
int ALChannel;
int ALsourcebuffer[kSources];
unsigned MusicBuffer[kMusicBuffers];

namespace {
// The device's name as AudioDevice last copied it.
char AudioDeviceName[kTextBufferSize];
// Listener at (0, 0, 1) facing +z with +y up, so its right-hand side is -x:
// playback puts a source at (-pan, 0, 0).
constexpr ALfloat kListenerPosition[3] = {0.0f, 0.0f, 1.0f};
constexpr ALfloat kListenerOrientation[6] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f};
}  // namespace

void VeskSys::OpenAudio() {
  AudioEnabled = 0;
  ALChannel = 0;
  for (int i = 0; i < kSources; i++) ALsourcebuffer[i] = kNoSlot;

  ALdev = alcOpenDevice(nullptr);
  if (ALdev == nullptr) {
    Debuglog("Audio Device Error");
    return;
  }
  ALctx = alcCreateContext(ALdev, nullptr);
  alcMakeContextCurrent(ALctx);
  if (ALctx == nullptr) {
    Debuglog("Audio Context Issue");
    return;
  }
  Debuglog("OpenAL Audio Engaged!");
  AudioEnabled = 1;

  alGenSources(kSources, ALsource);
  for (int i = 0; i < kMusicBuffers; i++) alGenBuffers(1, &MusicBuffer[i]);
  if (alGetError() != AL_NO_ERROR) {
    Debuglog("Error with Audio Buffers");
    AudioEnabled = 0;
  }

  alListener3f(AL_POSITION, kListenerPosition[0], kListenerPosition[1], kListenerPosition[2]);
  alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  alListenerfv(AL_ORIENTATION, kListenerOrientation);
}

const char* VeskCore::AudioDevice() {
  const char* text = nullptr;
  if (ALdev != nullptr && ALctx != nullptr) text = alcGetString(ALdev, ALC_DEVICE_SPECIFIER);
  CopyText(AudioDeviceName, text);
  return AudioDeviceName;
}

// Also releases the music stream's file and decoder and its four buffers, so
// a run that ends while music plays leaves nothing open behind it.
void VeskSys::CloseAudio() {
  Debuglog("Closing OpenAL Audio");
  StopMusicSys();

  // Deleting a source detaches its buffers, so every buffer below is free.
  alDeleteSources(kSources, ALsource);
  for (int i = 0; i < kSources; i++) {
    ALsource[i] = 0;
    ALsourcebuffer[i] = kNoSlot;
  }
  for (int slot = 0; slot < kSoundSlots; slot++) {
    if (ALbufferActive[slot] == 1) {
      alDeleteBuffers(1, &ALbuffer[slot]);
      ALbufferActive[slot] = 0;
    }
  }
  alDeleteBuffers(kMusicBuffers, MusicBuffer);
  for (int i = 0; i < kMusicBuffers; i++) MusicBuffer[i] = 0;

  alcMakeContextCurrent(nullptr);
  alcDestroyContext(ALctx);
  alcCloseDevice(ALdev);
  ALctx = nullptr;
  ALdev = nullptr;
  AudioEnabled = 0;
}
