// Internal header of audio/: Ogg page framing, shared by the Ogg Vorbis
// header check (audio/VorbisHeaders.cpp), the music fuzz target and the
// mutation test. Numbers in a page are little-endian.
#ifndef VESKFRAME_OGG_PAGES_H
#define VESKFRAME_OGG_PAGES_H

#include <cstddef>
#include <cstdint>

// ---- Page header layout (byte offsets from the start of a page) ----
constexpr char kOggCapture[] = "OggS";  // at 0
constexpr int kOggCaptureBytes = 4;
constexpr int kOggVersionAt = 4;  // always 0
constexpr int kOggFlagsAt = 5;
constexpr int kOggGranuleAt = 6;  // 8 bytes
constexpr int kOggSerialAt = 14;
constexpr int kOggSequenceAt = 18;
constexpr int kOggChecksumAt = 22;
constexpr int kOggSegmentsAt = 26;    // number of lacing values that follow the header
constexpr int kOggHeaderBytes = 27;   // lacing values start here
constexpr uint8_t kOggContinued = 1;  // flag: the page continues a packet of the last page
constexpr uint8_t kOggFirstPage = 2;  // flag: first page of a stream
constexpr int kOggLacingEnd = 255;    // a lacing value below this ends a packet

// The little-endian 32-bit number at p.
inline uint32_t OggLe32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Size of the whole Ogg page that begins at `page`, from its header and
// lacing values; 0 unless the capture pattern, the header and the lacing
// values lie within the `available` bytes (the body may not).
size_t OggPageBytes(const uint8_t* page, size_t available);
// Checksum of one Ogg page whose checksum field holds zeros.
uint32_t OggPageChecksum(const uint8_t* page, size_t size);

#endif  // VESKFRAME_OGG_PAGES_H
