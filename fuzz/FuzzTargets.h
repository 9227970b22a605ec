// The fuzz targets: each takes one input exactly as libFuzzer hands it over,
// drives the framework's file readers or string helpers with it and returns
// 0. A broken invariant aborts (FUZZ_CHECK), so libFuzzer and the ordinary
// test suite's replay of tests/data/regress/ both see it as a crash.
//
// Inputs are plain bytes; the first bytes of some targets steer the call:
//   sound  the whole input is a WAV file, loaded into a sound slot
//   music  byte 0: bit 0 set = Ogg Vorbis (else WAV), bit 1 set = loop,
//          bits 2-5 = refills (0-15), bit 6 set = the Ogg page checksums
//          are recomputed before the file is written, so mutations get past
//          the checksum to the header walk and the decoder; the rest is the
//          file
//   images byte 0 and byte 1 give two frame sizes (see FrameSizeFromByte),
//          the high bit of byte 0 set = the PNG chunk checksums are
//          recomputed before the file is written; the rest is a PNG file,
//          loaded once with each frame size
//   strings a list of operations on the string helpers (StringsTarget.cpp)
//   recording byte 0: bit 0 set = the header fields and the checks are
//          made right before the file is read (RecordingTarget.cpp); the
//          rest is a session recording
#ifndef VESKFRAME_FUZZ_FUZZTARGETS_H
#define VESKFRAME_FUZZ_FUZZTARGETS_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

constexpr uint8_t kMusicOgg = 1;
constexpr uint8_t kMusicLoop = 2;
constexpr int kMusicRefillShift = 2;
constexpr int kMusicRefillMask = 15;
constexpr uint8_t kMusicRepairChecksums = 64;

constexpr uint8_t kImagesRepairChecksums = 0x80;

constexpr uint8_t kRecordingRepair = 1;

// Frame sizes -8..64 from the low 7 bits: 1..64 are the sizes games use, 0
// and below must be refused.
constexpr int kSmallestFrameSize = -8;
constexpr int kLargestFrameSize = 64;
inline int FrameSizeFromByte(uint8_t b) {
  return kSmallestFrameSize + (b & 0x7F) % (kLargestFrameSize - kSmallestFrameSize + 1);
}
// The byte that FrameSizeFromByte turns into fs.
inline uint8_t ByteForFrameSize(int fs) { return static_cast<uint8_t>(fs - kSmallestFrameSize); }

int SoundLoad(const uint8_t* data, size_t size);
int Music(const uint8_t* data, size_t size);
int Images(const uint8_t* data, size_t size);
int Strings(const uint8_t* data, size_t size);
int Recording(const uint8_t* data, size_t size);

}  // namespace fuzz

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

#endif  // VESKFRAME_FUZZ_FUZZTARGETS_H
