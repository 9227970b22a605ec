// Helpers shared by the audio tests: WAV files built byte by byte, Ogg
// Vorbis files encoded from them with oggenc, the log lines a call prints,
// and measurements of the mix that OpenAL Soft's wave writer captured.
#ifndef VESKFRAME_TESTS_AUDIO_TESTKIT_H
#define VESKFRAME_TESTS_AUDIO_TESTKIT_H

#include <functional>
#include <string>
#include <vector>

namespace audiotest {

// ---- Building files ----

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

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// mkdir -p for the folders of a path.
void MakeFolders(const std::string& path);
// Encodes a WAV file with oggenc; false when that fails.
bool EncodeOgg(const std::string& wavPath, const std::string& oggPath);
// Total frames and channels of an Ogg Vorbis file, decoded on its own.
bool OggLength(const std::string& path, int* frames, int* channels);

// ---- Output of the system ----

// Texts of the numbered log lines printed while running the call (the
// "% 8i> " prefix removed).
std::vector<std::string> LogOf(const std::function<void()>& call);
// What the call wrote to standard error.
std::string StderrOf(const std::function<void()>& call);
// Open file descriptors of this process.
int OpenDescriptors();

// ---- The captured mix ----

struct Capture {
  int rate = 0;
  std::vector<float> left;  // samples scaled to -1..1
  std::vector<float> right;
};
// Reads the wave writer's file (extensible format chunk, 16-bit stereo).
bool ReadCapture(const std::string& path, Capture* capture);

// A stretch of the capture that sounds, in frames [begin, end).
struct Span {
  long begin;
  long end;
};
// Runs of sound separated by at least minGap frames of near silence.
std::vector<Span> SoundSpans(const std::vector<float>& samples, long minGap);
// Frequency measured from the rising zero crossings of [begin, end).
double Frequency(const std::vector<float>& samples, int rate, long begin, long end);
double Rms(const std::vector<float>& samples, long begin, long end);
// Largest step between two neighbouring samples of [begin, end).
double LargestStep(const std::vector<float>& samples, long begin, long end);

// Keeps the process busy for ms milliseconds, calling tick about every 2 ms.
void RunFor(int ms, const std::function<void()>& tick);

}  // namespace audiotest

#endif  // VESKFRAME_TESTS_AUDIO_TESTKIT_H
