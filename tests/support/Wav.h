// WAV files of the tests: built byte by byte (effects, music, fixtures), and
// read back as samples (the data's own files and the mix OpenAL Soft's wave
// writer captures), with their loudness.
#ifndef VESKFRAME_TESTS_SUPPORT_WAV_H
#define VESKFRAME_TESTS_SUPPORT_WAV_H

#include <cstdint>
#include <string>
#include <vector>

namespace vftest {

// ---- Building ----

std::string Le32(int value);
std::string Le16(int value);
// A chunk: tag, size, body, and a pad byte after an odd-sized body when asked.
std::string Chunk(const std::string& tag, const std::string& body, bool pad = false);
// Body of a PCM format chunk; extra > 0 appends a cbSize field and extra-2 zero bytes.
std::string FormatBody(int channels, int bits, int rate, int extra = 0, int audioFormat = 1);
// "RIFF", size, "WAVE", then the chunks.
std::string Riff(const std::string& chunks);
// A complete 16-bit PCM file with a plain format chunk.
std::string SimpleWav(int channels, int rate, const std::string& samples);
// Interleaved 16-bit sine, the same on every channel, starting at phase 0.
std::string Sine16(int channels, int rate, double hz, int frames, double amplitude);
// Unsigned 8-bit mono sine.
std::string Sine8(int rate, double hz, int frames, double amplitude);

// ---- Reading ----

struct Wav {
  int channels = 0;
  int rate = 0;
  int bits = 0;
  uint32_t dataBytes = 0;      // as the data chunk's header gives it
  std::vector<float> samples;  // interleaved, scaled to -1..1
};

// Reads 16-bit PCM (plain or extensible format chunk). A data size of
// 0xFFFFFFFF (the wave writer's while its device is open), or one past the
// end of the file, means "to the end of the file".
bool ReadWav(const std::string& path, Wav* wav);
// One channel of the interleaved samples.
std::vector<float> Channel(const Wav& wav, int channel);
// Root mean square of samples [begin, end); 0 for an empty range.
double Rms(const std::vector<float>& samples, long begin, long end);

}  // namespace vftest

#endif  // VESKFRAME_TESTS_SUPPORT_WAV_H
