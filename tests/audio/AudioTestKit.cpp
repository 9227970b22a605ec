// Test helpers of the audio tests (see AudioTestKit.h).
#include "audio/AudioTestKit.h"

#include <dirent.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace audiotest {

namespace {
constexpr float kSilence = 1.0f / 1000.0f;  // below this a captured sample counts as quiet
}  // namespace

bool OggLength(const std::string& path, int* frames, int* channels) {
  int rate = 0;
  short* samples = nullptr;
  int got = stb_vorbis_decode_filename(path.c_str(), channels, &rate, &samples);
  std::free(samples);
  *frames = got;
  return got > 0;
}

int OpenDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int count = 0;
  while (readdir(dir) != nullptr) count++;
  closedir(dir);
  return count;
}

bool ReadCapture(const std::string& path, Capture* capture) {
  Wav wav;
  if (!ReadWav(path, &wav) || wav.channels != 2) return false;
  capture->rate = wav.rate;
  capture->left = Channel(wav, 0);
  capture->right = Channel(wav, 1);
  return true;
}

std::vector<Span> SoundSpans(const std::vector<float>& samples, long minGap) {
  std::vector<Span> spans;
  long last = -1;
  for (long i = 0; i < long(samples.size()); i++) {
    if (std::fabs(samples[size_t(i)]) < kSilence) continue;
    if (spans.empty() || i - last > minGap) spans.push_back({i, i + 1});
    spans.back().end = i + 1;
    last = i;
  }
  return spans;
}

double Frequency(const std::vector<float>& samples, int rate, long begin, long end) {
  long first = -1;
  long lastCrossing = -1;
  int crossings = 0;
  for (long i = begin + 1; i < end; i++) {
    if (samples[size_t(i - 1)] < 0.0f && samples[size_t(i)] >= 0.0f) {
      if (first < 0) {
        first = i;
      } else {
        crossings++;
      }
      lastCrossing = i;
    }
  }
  if (crossings == 0) return 0.0;
  return crossings * double(rate) / double(lastCrossing - first);
}

double LargestStep(const std::vector<float>& samples, long begin, long end) {
  double largest = 0.0;
  for (long i = begin + 1; i < end; i++) {
    largest = std::max(largest, double(std::fabs(samples[size_t(i)] - samples[size_t(i - 1)])));
  }
  return largest;
}

void RunFor(int ms, const std::function<void()>& tick) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace audiotest
