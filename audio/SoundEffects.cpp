// Sound-effect playback: PlayWAV takes the next of the 31 effect channels in
// rotation (sources 1, 2, ..., 30, 0, 1, ...), cutting whatever that channel
// still played, clamps pitch, volume and pan and starts the slot's buffer.
// The PlaySFX overloads fill in defaults; the shortest draws a time-mixed
// random pitch with tRnd. StopSFX stops the channels a slot last played on.
// Relies on the sources (audio/AudioDevice.cpp) and the sound slots
// (audio/SoundSlots.cpp).
#include <AL/al.h>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "util/Numbers.h"

namespace {
constexpr float kMinPitch = 0.25f;
constexpr float kMaxPitch = 16.0f;
constexpr float kRandomPitchLow = 0.8f;
constexpr float kRandomPitchHigh = 1.2f;
}  // namespace

// A slot outside 0..104 or never loaded plays nothing and takes no channel.
void VeskSys::PlayWAV(int slot, float pitch, float volume, float pan, int loop) {
  if (slot < 0 || slot >= kSoundSlots || ALbufferActive[slot] != 1) return;
  ALChannel = (ALChannel + 1) % kEffectChannels;
  unsigned source = ALsource[ALChannel];
  ALsourcebuffer[ALChannel] = slot;
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(ALbuffer[slot]));
  alSourcef(source, AL_PITCH, Clamp(pitch, kMinPitch, kMaxPitch));
  alSourcef(source, AL_GAIN, Clamp(volume, 0.0f, 1.0f));
  const ALfloat position[3] = {-Clamp(pan, -1.0f, 1.0f), 0.0f, 0.0f};
  alSourcefv(source, AL_POSITION, position);
  alSourcei(source, AL_LOOPING, loop == 1 ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
}

void VeskCore::PlaySFX(int slot) {
  ASys.PlayWAV(slot, tRnd(kRandomPitchLow, kRandomPitchHigh), 1.0f, 0.0f, 0);
}

void VeskCore::PlaySFX(int slot, float pitch) { ASys.PlayWAV(slot, pitch, 1.0f, 0.0f, 0); }

void VeskCore::PlaySFX(int slot, float pitch, float volume) {
  ASys.PlayWAV(slot, pitch, volume, 0.0f, 0);
}

void VeskCore::PlaySFX(int slot, float pitch, float volume, float pan) {
  ASys.PlayWAV(slot, pitch, volume, pan, 0);
}

void VeskCore::PlaySFX(int slot, float pitch, float volume, float pan, int loop) {
  ASys.PlayWAV(slot, pitch, volume, pan, loop);
}

// The channels keep the slot's buffer until they are taken again, as after
// an effect that played to its end.
void VeskCore::StopSFX(int slot) {
  if (slot < 0 || slot >= kSoundSlots) return;
  for (int i = 0; i < kEffectChannels; i++) {
    if (ALsourcebuffer[i] == slot) alSourceStop(ALsource[i]);
  }
}
