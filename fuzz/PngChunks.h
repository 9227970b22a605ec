// PNG chunk walking shared by the images fuzz target and the bad-PNG unit
// test: both change bytes of a PNG and then give every chunk a matching
// checksum again, so the change reaches the decoder instead of stopping at a
// checksum.
#ifndef VESKFRAME_FUZZ_PNGCHUNKS_H
#define VESKFRAME_FUZZ_PNGCHUNKS_H

#include <lodepng.h>

#include <cstddef>
#include <vector>

namespace pngchunks {

constexpr size_t kSignatureBytes = 8;
constexpr size_t kChunkOverhead = 12;  // length, type and checksum

// Recomputes the checksum of every whole chunk in a row after the signature.
inline void RepairChecksums(std::vector<unsigned char>& png) {
  size_t at = kSignatureBytes;
  while (at + kChunkOverhead <= png.size()) {
    const unsigned length = lodepng_chunk_length(&png[at]);
    if (length > png.size() - at - kChunkOverhead) return;
    lodepng_chunk_generate_crc(&png[at]);
    at += kChunkOverhead + length;
  }
}

}  // namespace pngchunks

#endif  // VESKFRAME_FUZZ_PNGCHUNKS_H
