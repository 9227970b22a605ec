// One music refill of each kind on OpenAL Soft's silent device, with the
// benchmark game's own pieces: an Ogg Vorbis refill decodes and queues
// 16,384 values, a WAV refill reads and queues 16,384 bytes. The ring is
// emptied outside the timed part, so every refill goes ahead.
#include <AL/al.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "VeskFrame.h"
#include "audio/Audio.h"

namespace {

void EmptyRing() {
  alSourceStop(ALsource[kMusicSource]);
  alSourcei(ALsource[kMusicSource], AL_BUFFER, 0);
  MusicBufferTick = -3;
  ASys.MusicBufferTo = 0;
}

std::string Piece(const char* name) { return std::string(VF_SOURCE_DIR "/Data/1/audio/") + name; }

void Refills(benchmark::State& state, void (VeskSys::*refill)(), int bytesPerRefill) {
  for (auto _ : state) {
    state.PauseTiming();
    EmptyRing();
    state.ResumeTiming();
    (ASys.*refill)();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytesPerRefill);
}

void BM_OggRefill(benchmark::State& state) {
  ASys.PlayMusic_Ogg_Sys(Piece("test.ogg").c_str(), 1);
  if (ASys.MusicPlaying != 2) state.SkipWithError("test.ogg did not start");
  Refills(state, &VeskSys::BufferMusic_Ogg_Sys, 16384 * 2);
  ASys.StopMusicSys();
}
BENCHMARK(BM_OggRefill)->Unit(benchmark::kMicrosecond);

void BM_WavRefill(benchmark::State& state) {
  ASys.PlayMusic_Wav_Sys(Piece("test.wav").c_str(), 1);
  if (ASys.MusicPlaying != 1) state.SkipWithError("test.wav did not start");
  Refills(state, &VeskSys::BufferMusic_Wav_Sys, 16384);
  ASys.StopMusicSys();
}
BENCHMARK(BM_WavRefill)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // The silent device unless the caller chose another backend.
  setenv("ALSOFT_DRIVERS", "null", 0);
  benchmark::Initialize(&argc, argv);
  ASys.OpenAudio();
  benchmark::RunSpecifiedBenchmarks();
  ASys.CloseAudio();
  benchmark::Shutdown();
  return 0;
}
