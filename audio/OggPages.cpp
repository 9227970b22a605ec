// Ogg page framing: the size of a page from its header and lacing values,
// and the page checksum (CRC-32 with polynomial 0x04c11db7, no reflection,
// initial value 0). Shared by the Ogg Vorbis header check, the music fuzz
// target and the mutation test; relies on nothing else.
#include "audio/OggPages.h"

#include <climits>
#include <cstring>

namespace {
constexpr uint32_t kChecksumPolynomial = 0x04c11db7u;
constexpr uint32_t kChecksumTopBit = 0x80000000u;
constexpr int kByteValues = 256;
}  // namespace

size_t OggPageBytes(const uint8_t* page, size_t available) {
  if (available < static_cast<size_t>(kOggHeaderBytes) ||
      std::memcmp(page, kOggCapture, kOggCaptureBytes) != 0) {
    return 0;
  }
  const int segments = page[kOggSegmentsAt];
  if (available < static_cast<size_t>(kOggHeaderBytes + segments)) return 0;
  size_t size = kOggHeaderBytes + segments;
  for (int i = 0; i < segments; i++) size += page[kOggHeaderBytes + i];
  return size;
}

uint32_t OggPageChecksum(const uint8_t* page, size_t size) {
  static uint32_t table[kByteValues];
  static bool ready = false;
  if (!ready) {
    for (uint32_t i = 0; i < kByteValues; i++) {
      uint32_t r = i << 24;
      for (int k = 0; k < CHAR_BIT; k++) {
        r = (r & kChecksumTopBit) ? (r << 1) ^ kChecksumPolynomial : r << 1;
      }
      table[i] = r;
    }
    ready = true;
  }
  uint32_t crc = 0;
  for (size_t i = 0; i < size; i++) crc = (crc << 8) ^ table[((crc >> 24) ^ page[i]) & 0xFF];
  return crc;
}
