// WAV building, reading and loudness of the tests (see Wav.h).
#include "support/Wav.h"

#include <algorithm>
#include <cmath>

#include "support/Files.h"

namespace vftest {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr size_t kChunkHeader = 8;  // tag and size
constexpr size_t kPlainFormat = 16;
constexpr float kSampleScale = 32768.0f;

uint32_t Read32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

int Read16(const std::string& b, size_t at) { return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8; }

}  // namespace

std::string Le32(int value) {
  const unsigned v = unsigned(value);
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
  const int align = channels * bits / 8;
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
    const int value = int(std::lround(amplitude * 32767.0 * std::sin(kTwoPi * hz * i / rate)));
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

bool ReadWav(const std::string& path, Wav* wav) {
  const std::string b = ReadFile(path);
  if (b.size() < kRiffHeader || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
    return false;
  }
  bool haveFormat = false;
  for (size_t at = kRiffHeader; at + kChunkHeader <= b.size();) {
    const std::string tag = b.substr(at, 4);
    const uint32_t size = Read32(b, at + 4);
    at += kChunkHeader;
    if (tag == "fmt " && size >= kPlainFormat && at + kPlainFormat <= b.size()) {
      wav->channels = Read16(b, at + 2);
      wav->rate = static_cast<int>(Read32(b, at + 4));
      wav->bits = Read16(b, at + 14);
      haveFormat = true;
    } else if (tag == "data") {
      wav->dataBytes = size;
      const size_t bytes = std::min<size_t>(size, b.size() - at);
      wav->samples.resize(bytes / 2);
      for (size_t i = 0; i < wav->samples.size(); i++) {
        wav->samples[i] = static_cast<int16_t>(Read16(b, at + 2 * i)) / kSampleScale;
      }
      return haveFormat && wav->bits == 16 && wav->channels > 0;
    }
    if (size > b.size() - at) return false;
    at += size + (size & 1);
  }
  return false;
}

std::vector<float> Channel(const Wav& wav, int channel) {
  std::vector<float> out;
  if (wav.channels <= 0) return out;
  out.reserve(wav.samples.size() / wav.channels);
  for (size_t i = channel; i < wav.samples.size(); i += wav.channels) out.push_back(wav.samples[i]);
  return out;
}

double Rms(const std::vector<float>& samples, long begin, long end) {
  double sum = 0.0;
  for (long i = begin; i < end; i++) sum += double(samples[size_t(i)]) * samples[size_t(i)];
  return end > begin ? std::sqrt(sum / double(end - begin)) : 0.0;
}

}  // namespace vftest
