// Test helpers of the audio tests (see AudioTestKit.h).
#include "audio/AudioTestKit.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace audiotest {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr float kSilence = 1.0f / 1000.0f;  // below this a captured sample counts as quiet
constexpr int kLogPrefix = 10;              // "% 8i> "
}  // namespace

std::string Le32(int value) {
  unsigned v = unsigned(value);
  std::string out(4, '\0');
  for (int i = 0; i < 4; i++) out[i] = char((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Le16(int value) {
  std::string out(2, '\0');
  out[0] = char(value & 0xFF);
  out[1] = char((value >> 8) & 0xFF);
  return out;
}

std::string Chunk(const std::string& tag, const std::string& body, bool pad) {
  std::string out = tag + Le32(int(body.size())) + body;
  if (pad && body.size() % 2 == 1) out += '\0';
  return out;
}

std::string FormatBody(int channels, int bits, int rate, int extra, int audioFormat) {
  int align = channels * bits / 8;
  std::string body = Le16(audioFormat) + Le16(channels) + Le32(rate) + Le32(rate * align) +
                     Le16(align) + Le16(bits);
  if (extra > 0) body += Le16(extra - 2) + std::string(size_t(extra - 2), '\0');
  return body;
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Le32(int(chunks.size()) + 4) + "WAVE" + chunks;
}

std::string SimpleWav(int channels, int rate, const std::string& samples) {
  return Riff(Chunk("fmt ", FormatBody(channels, 16, rate)) + Chunk("data", samples));
}

std::string Sine16(int channels, int rate, double hz, int frames, double amplitude) {
  std::string out;
  out.reserve(size_t(frames) * channels * 2);
  for (int i = 0; i < frames; i++) {
    int value = int(std::lround(amplitude * 32767.0 * std::sin(kTwoPi * hz * i / rate)));
    for (int c = 0; c < channels; c++) out += Le16(value);
  }
  return out;
}

std::string Sine8(int rate, double hz, int frames, double amplitude) {
  std::string out;
  for (int i = 0; i < frames; i++) {
    out += char(128 + int(std::lround(amplitude * 127.0 * std::sin(kTwoPi * hz * i / rate))));
  }
  return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  MakeFolders(path);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void MakeFolders(const std::string& path) {
  for (size_t at = path.find('/'); at != std::string::npos; at = path.find('/', at + 1)) {
    mkdir(path.substr(0, at).c_str(), 0755);
  }
}

bool EncodeOgg(const std::string& wavPath, const std::string& oggPath) {
  MakeFolders(oggPath);
  std::string command = "oggenc -Q -q 6 -o '" + oggPath + "' '" + wavPath + "'";
  return std::system(command.c_str()) == 0;
}

bool OggLength(const std::string& path, int* frames, int* channels) {
  int rate = 0;
  short* samples = nullptr;
  int got = stb_vorbis_decode_filename(path.c_str(), channels, &rate, &samples);
  std::free(samples);
  *frames = got;
  return got > 0;
}

std::vector<std::string> LogOf(const std::function<void()>& call) {
  testing::internal::CaptureStdout();
  call();
  std::istringstream out(testing::internal::GetCapturedStdout());
  std::vector<std::string> texts;
  for (std::string line; std::getline(out, line);) {
    texts.push_back(line.size() >= kLogPrefix && line.compare(8, 2, "> ") == 0
                        ? line.substr(kLogPrefix)
                        : "(not a log line) " + line);
  }
  return texts;
}

std::string StderrOf(const std::function<void()>& call) {
  testing::internal::CaptureStderr();
  call();
  return testing::internal::GetCapturedStderr();
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
  std::string bytes = ReadFile(path);
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return false;
  size_t at = 12;
  int channels = 0;
  int bits = 0;
  while (at + 8 <= bytes.size()) {
    std::string tag = bytes.substr(at, 4);
    unsigned size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    at += 8;
    if (tag == "fmt ") {
      channels = (unsigned char)bytes[at + 2] | ((unsigned char)bytes[at + 3] << 8);
      std::memcpy(&capture->rate, bytes.data() + at + 4, 4);
      bits = (unsigned char)bytes[at + 14] | ((unsigned char)bytes[at + 15] << 8);
    } else if (tag == "data") {
      if (channels != 2 || bits != 16) return false;
      // The writer leaves the size unset while the device is open.
      size_t end = size == 0xFFFFFFFFu ? bytes.size() : std::min(bytes.size(), at + size);
      for (size_t i = at; i + 4 <= end; i += 4) {
        int16_t l, r;
        std::memcpy(&l, bytes.data() + i, 2);
        std::memcpy(&r, bytes.data() + i + 2, 2);
        capture->left.push_back(l / 32768.0f);
        capture->right.push_back(r / 32768.0f);
      }
      return true;
    }
    at += size;
  }
  return false;
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

double Rms(const std::vector<float>& samples, long begin, long end) {
  double sum = 0.0;
  for (long i = begin; i < end; i++) sum += double(samples[size_t(i)]) * samples[size_t(i)];
  return end > begin ? std::sqrt(sum / double(end - begin)) : 0.0;
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
