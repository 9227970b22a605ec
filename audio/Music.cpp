// Streamed music: one piece at a time, WAV read straight from its data chunk
// or Ogg Vorbis decoded with stb_vorbis, fed through the music source
// (source 31) by a ring of four buffers, one block per MusicHandler call.
// Starting a stream, StopMusic and shutdown release the previous stream's
// file and decoder, so at most one stream is ever open.
// Relies on the sources and music buffers (audio/AudioDevice.cpp), the WAV
// header walk (audio/WavReader.cpp), Right/fstr, the log, the file opening
// of the operating-system seam (frame/Platform.h) and the session, which
// records IsMusicPlaying (frame/Session.h).
#include <AL/al.h>
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <cstring>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "frame/Platform.h"
#include "frame/Session.h"
#include "util/Log.h"
#include "util/Numbers.h"
#include "util/TextBuffer.h"

int MusicBufferTick;
int MusicBufferStats[10];
FILE* MusicFile;
fpos_t MusicFileBegin;
stb_vorbis* OggFile;

namespace {
constexpr int kMusicNone = 0;
constexpr int kMusicWav = 1;
constexpr int kMusicOgg = 2;
constexpr int kPrimingTick = -3;        // the first four blocks go ahead without waiting
constexpr int kWavBlockBytes = 16384;   // bytes read from a WAV stream per refill
constexpr int kOggBlockValues = 16384;  // interleaved 16-bit values decoded per refill
constexpr float kMinMusicPitch = 0.25f;
constexpr float kMaxMusicPitch = 4.0f;
constexpr int kEndingLength = 4;  // ".ogg", ".wav"
const char* const kOggEndings[] = {".ogg", ".Ogg", ".OGG"};
const char* const kWavEndings[] = {".wav", ".Wav", ".WAV"};

unsigned char WavBlock[kWavBlockBytes];
short OggBlock[kOggBlockValues];
// The Ogg decoder keeps all its memory in this one block instead of the
// heap: a file whose set-up tables would need more is refused like a corrupt
// one, so no header can make a load reserve more than this, and nothing is
// left behind when the decoder gives up half-way through a bad header.
// Mono and stereo files from the usual encoder need about 220 KiB, six
// channels up to about 780 KiB. Only one stream is open at a time.
constexpr int kOggArenaBytes = 2 * 1024 * 1024;
alignas(16) char OggArena[kOggArenaBytes];
long MusicDataSize;   // bytes in the WAV stream's data chunk
long MusicDataLeft;   // bytes of the data chunk not yet streamed in this pass
int MusicFrameBytes;  // bytes per WAV sample frame, at least 1

unsigned MusicSource() { return ALsource[kMusicSource]; }

void CloseMusicStream() {
  if (OggFile != nullptr) stb_vorbis_close(OggFile);
  if (MusicFile != nullptr) std::fclose(MusicFile);
  OggFile = nullptr;
  MusicFile = nullptr;
}

// ---- The buffer ring ----

// Whether a refill may fill a buffer now: while priming (tick 0 or less) the
// four buffers are filled in turn without waiting, afterwards only once the
// source has finished a block. A source found stopped has played out its
// whole queue (MusicHandler was not called for a while); its stale blocks are
// dropped and the ring is primed afresh from where the stream stopped, so the
// restart does not play them a second time.
bool MusicRingOpen() {
  ALint processed = 0;  // a count the library does not report is taken as 0
  ALint state = 0;
  alGetSourcei(MusicSource(), AL_BUFFERS_PROCESSED, &processed);
  alGetSourcei(MusicSource(), AL_SOURCE_STATE, &state);
  if (state == AL_STOPPED && MusicBufferTick > 0) {
    alSourcei(MusicSource(), AL_BUFFER, 0);
    MusicBufferTick = kPrimingTick;
    ASys.MusicBufferTo = 0;
  }
  return MusicBufferTick <= 0 || processed > 0;
}

// Uploads one block into the next buffer of the ring and queues it. After
// priming, that buffer is the oldest one the source has finished.
void QueueMusicBlock(const void* data, int bytes) {
  unsigned buffer = MusicBuffer[ASys.MusicBufferTo];
  if (MusicBufferTick > 0) alSourceUnqueueBuffers(MusicSource(), 1, &buffer);
  alGetError();
  alBufferData(buffer, MusicBufferStats[kMusicStatsFormat], data, bytes,
               MusicBufferStats[kMusicStatsRate]);
  alSourceQueueBuffers(MusicSource(), 1, &buffer);
  ASys.MusicBufferTo = (ASys.MusicBufferTo + 1) % kMusicBuffers;
  MusicBufferTick++;
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) ASys.Debuglog(ASys.fstrSys("Buffer Error %i", error));
}

void ApplyMusicSettings() {
  alSourcef(MusicSource(), AL_PITCH, ASys.MusicPitchValue);
  alSourcef(MusicSource(), AL_GAIN, ASys.MusicVolumeValue);
  alSource3f(MusicSource(), AL_POSITION, -ASys.MusicPanValue, 0.0f, 0.0f);
}

// End of every refill that passed the gate.
void KeepMusicPlaying() {
  ApplyMusicSettings();
  ALint state = 0;
  alGetSourcei(MusicSource(), AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING) alSourcePlay(MusicSource());
}

// ---- Starting a stream ----

// The source is stopped and emptied before the new file opens, so even a
// file that fails to open silences the old piece.
FILE* BeginMusicStart(const char* path, int loop) {
  alSourceStop(MusicSource());
  alSourcei(MusicSource(), AL_BUFFER, 0);
  alGetError();
  CloseMusicStream();
  ASys.MusicPlaying = kMusicNone;
  ASys.MusicBufferTo = 0;
  // Loop values other than 1 play the piece once, as they do for effects.
  ASys.MusicLoop = loop == 1 ? 1 : 0;
  MusicFile = PlatformOpenFile(path, "rb");
  return MusicFile;
}

void FinishMusicStart(int kind, const char* errorText) {
  ASys.MusicPitchValue = 1.0f;
  ASys.MusicVolumeValue = 1.0f;
  ASys.MusicPanValue = 0.0f;
  MusicBufferTick = kPrimingTick;
  ASys.MusicBufferTo = 0;
  ASys.MusicPlaying = kind;
  // The refill starts the source once its first block is queued.
  if (kind == kMusicWav) ASys.BufferMusic_Wav_Sys();
  if (kind == kMusicOgg) ASys.BufferMusic_Ogg_Sys();
  if (alGetError() != AL_NO_ERROR) std::fputs(errorText, stderr);
}

bool EndsWithOneOf(const char* ending, const char* const (&endings)[3]) {
  for (const char* candidate : endings) {
    if (std::strcmp(ending, candidate) == 0) return true;
  }
  return false;
}
}  // namespace

// ---- Streams ----

// A file that does not open, fails the WAV header rules or holds no data
// chunk leaves no stream active.
void VeskSys::PlayMusic_Wav_Sys(const char* path, int loop) {
  FILE* file = BeginMusicStart(path, loop);
  WavFormat format;
  int dataSize = -1;
  // A cut-off file streams the samples it holds.
  if (file != nullptr && ReadWavHeader(file, &format)) dataSize = FindWavData(file, true);
  if (dataSize < 0) {
    Debuglog(fstrSys("Error Opening Wave - %s", path != nullptr ? path : ""));
    ExplainUnloadedFile(path);
    CloseMusicStream();
    return;
  }
  std::fgetpos(file, &MusicFileBegin);
  MusicBufferStats[kMusicStatsFormat] = WavFormatCode(format);
  MusicBufferStats[kMusicStatsRate] = format.rate;
  MusicDataSize = dataSize;
  MusicDataLeft = dataSize;
  int frameBytes = format.channels * format.bytesPerSample;
  MusicFrameBytes = frameBytes > 0 ? frameBytes : 1;
  FinishMusicStart(kMusicWav, "Error Opening WAV stream :(\n");
}

// A file that does not open, fails the header check (audio/VorbisHeaders.cpp)
// or that the decoder refuses leaves no stream active; the decoder handle is
// never used while null.
void VeskSys::PlayMusic_Ogg_Sys(const char* path, int loop) {
  FILE* file = BeginMusicStart(path, loop);
  int error = 0;
  const stb_vorbis_alloc arena = {OggArena, kOggArenaBytes};
  if (file != nullptr && VorbisHeadersValid(file)) {
    OggFile = stb_vorbis_open_file(file, 0, &error, &arena);
  }
  if (OggFile != nullptr && stb_vorbis_get_info(OggFile).channels < 1) CloseMusicStream();
  if (OggFile == nullptr) {
    Debuglog("Error Opening Ogg");
    ExplainUnloadedFile(path);
    CloseMusicStream();
    return;
  }
  stb_vorbis_info info = stb_vorbis_get_info(OggFile);
  int format = 0;  // other channel counts have no format: uploads are refused and logged
  if (info.channels == 1) format = AL_FORMAT_MONO16;
  if (info.channels == 2) format = AL_FORMAT_STEREO16;
  MusicBufferStats[kMusicStatsFormat] = format;
  MusicBufferStats[kMusicStatsRate] = static_cast<int>(info.sample_rate);
  MusicBufferStats[kMusicStatsChannels] = info.channels;
  FinishMusicStart(kMusicOgg, "Error Opening OGG stream :(\n");
}

// One refill: up to 16,384 bytes of whole sample frames from the data chunk.
// The stream ends where the data chunk ends (chunks stored after it are not
// samples), and the last part shorter than a block is queued too, so a
// looping piece loses nothing at its loop point.
void VeskSys::BufferMusic_Wav_Sys() {
  if (MusicPlaying != kMusicWav || MusicFile == nullptr) return;
  if (!MusicRingOpen()) return;

  long want = MusicDataLeft < kWavBlockBytes ? MusicDataLeft : kWavBlockBytes;
  want -= want % MusicFrameBytes;
  size_t got = want > 0 ? std::fread(WavBlock, 1, static_cast<size_t>(want), MusicFile) : 0;
  alGetError();
  size_t whole = got - got % static_cast<size_t>(MusicFrameBytes);
  if (whole > 0) QueueMusicBlock(WavBlock, static_cast<int>(whole));
  // A file cut shorter than its data chunk claims ends the pass where it ends.
  MusicDataLeft = got == static_cast<size_t>(want) ? MusicDataLeft - want : 0;

  if (MusicDataLeft < MusicFrameBytes) {
    if (MusicLoop == 1) {
      std::fsetpos(MusicFile, &MusicFileBegin);
      MusicDataLeft = MusicDataSize;
    } else {
      MusicPlaying = kMusicNone;
    }
  }
  KeepMusicPlaying();
}

// One refill: up to 16,384 interleaved values. Exactly the samples the
// decoder produced are queued (frames x channels x 2 bytes); a block of no
// frames is not queued. At the end of a looping piece the decoder is rewound
// and decodes on at once.
void VeskSys::BufferMusic_Ogg_Sys() {
  if (MusicPlaying != kMusicOgg || OggFile == nullptr) return;
  alGetError();
  if (!MusicRingOpen()) return;

  int channels = MusicBufferStats[kMusicStatsChannels];
  int frames =
      stb_vorbis_get_samples_short_interleaved(OggFile, channels, OggBlock, kOggBlockValues);
  if (frames <= 0 && MusicLoop == 1) {
    stb_vorbis_seek_start(OggFile);
    frames = stb_vorbis_get_samples_short_interleaved(OggFile, channels, OggBlock, kOggBlockValues);
  }
  if (frames > 0) {
    QueueMusicBlock(OggBlock, frames * channels * static_cast<int>(sizeof(short)));
  } else if (MusicLoop != 1) {
    MusicPlaying = kMusicNone;
  }
  KeepMusicPlaying();
}

void VeskSys::HandleMusicSys() {
  if (MusicPlaying == kMusicWav) BufferMusic_Wav_Sys();
  if (MusicPlaying == kMusicOgg) BufferMusic_Ogg_Sys();
  ApplyMusicSettings();
}

// Queued blocks play out to their end; the stream's file and decoder are
// released.
void VeskSys::StopMusicSys() {
  MusicPlaying = kMusicNone;
  MusicBufferTo = 0;
  CloseMusicStream();
}

// ---- The game's calls ----

void VeskCore::PlayMusic(const char* name) { PlayMusic(name, 1); }

// The name includes its ending; names shorter than an ending, and endings
// other than .ogg/.Ogg/.OGG and .wav/.Wav/.WAV, do nothing. The name is
// copied first because Right and fstr rewrite Tempstr, where it may lie.
void VeskCore::PlayMusic(const char* name, int loop) {
  if (name == nullptr || std::strlen(name) < static_cast<size_t>(kEndingLength)) return;
  char copy[kTextBufferSize];
  CopyText(copy, name);
  char ending[kEndingLength + 1];
  std::snprintf(ending, sizeof ending, "%s", Right(copy, kEndingLength));
  if (EndsWithOneOf(ending, kOggEndings)) {
    ASys.PlayMusic_Ogg_Sys(fstr("Data/%i/audio/%s", GameNum, copy), loop);
  } else if (EndsWithOneOf(ending, kWavEndings)) {
    ASys.PlayMusic_Wav_Sys(fstr("Data/%i/audio/%s", GameNum, copy), loop);
  }
}

// Refilling ends; the blocks already queued play out to their end.
void VeskCore::StopMusic() { ASys.StopMusicSys(); }

void VeskCore::MusicHandler() {
  if (ASys.MusicPlaying > 0) ASys.HandleMusicSys();
}

void VeskCore::MusicPitch(float pitch) {
  ASys.MusicPitchValue = Clamp(pitch, kMinMusicPitch, kMaxMusicPitch);
}

void VeskCore::MusicVolume(float volume) { ASys.MusicVolumeValue = Clamp(volume, 0.0f, 1.0f); }

void VeskCore::MusicPan(float pan) { ASys.MusicPanValue = Clamp(pan, -1.0f, 1.0f); }

// A piece played once counts until its last block is queued; that block and
// the three before it (a fraction of a second) may still be sounding.
// When a piece ends depends on the audio device, so recordings keep it.
int VeskCore::IsMusicPlaying() { return SessionOther(ASys.MusicPlaying > 0 ? 1 : 0); }
