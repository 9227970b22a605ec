// Helpers shared by the audio tests: the support kit's files, output capture
// and WAV building, plus Ogg Vorbis lengths, open descriptors and
// measurements of the mix that OpenAL Soft's wave writer captured.
#ifndef VESKFRAME_TESTS_AUDIO_TESTKIT_H
#define VESKFRAME_TESTS_AUDIO_TESTKIT_H

#include <functional>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Output.h"
#include "support/Wav.h"

namespace audiotest {

using namespace vftest;

// Total frames and channels of an Ogg Vorbis file, decoded on its own.
bool OggLength(const std::string& path, int* frames, int* channels);
// Open file descriptors of this process.
int OpenDescriptors();

// ---- The captured mix ----

struct Capture {
  int rate = 0;
  std::vector<float> left;  // samples scaled to -1..1
  std::vector<float> right;
};
// Reads the wave writer's file (16-bit stereo).
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
// Largest step between two neighbouring samples of [begin, end).
double LargestStep(const std::vector<float>& samples, long begin, long end);

// Keeps the process busy for ms milliseconds, calling tick about every 2 ms.
void RunFor(int ms, const std::function<void()>& tick);

}  // namespace audiotest

#endif  // VESKFRAME_TESTS_AUDIO_TESTKIT_H
