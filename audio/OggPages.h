// Internal header of audio/: Ogg page framing, shared by the Ogg Vorbis
// header check, the music fuzz target and the mutation test.
#ifndef VESKFRAME_OGG_PAGES_H
#define VESKFRAME_OGG_PAGES_H

#include <cstddef>
#include <cstdint>

// Size of the whole Ogg page that begins at `page`, from its header and
// lacing values; 0 unless the capture pattern, the header and the lacing
// values lie within the `available` bytes (the body may not).
size_t oggPageBytes(const uint8_t* page, size_t available);
// Checksum of one Ogg page whose checksum field holds zeros.
uint32_t oggPageChecksum(const uint8_t* page, size_t size);

#endif  // VESKFRAME_OGG_PAGES_H
