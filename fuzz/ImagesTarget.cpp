// Fuzz target "images": the input (after two frame-size bytes, see
// FuzzTargets.h; the high bit of the first also asks for the chunk checksums
// to be recomputed, so mutations reach the decoder and the packing instead of
// stopping at a checksum) is a PNG file loaded with LoadImg into two slots, once with
// each frame size, so the same bytes meet the single-image path and the
// sprite-sheet path. Each slot's tables are then read the way drawing reads
// them, without a window: an unusable slot is -1 throughout, a usable one
// has a texture of exactly iSize x iSize texels and every frame's cell (and
// frame 0's, the one drawn for a frame out of range) lies inside it; every
// texel of those cells is read.
#include <cmath>
#include <vector>

#include "FuzzTargets.h"
#include "PngChunks.h"
#include "TargetKit.h"
#include "VeskFrame.h"

namespace fuzz {

namespace {
constexpr int kFirstSlot = 40;
constexpr int kControlBytes = 2;
constexpr int kAlpha = 3;
void ReadSlot(int n, int fs) {
  if (iFrames[n] == -1) return;
  FUZZ_CHECK(fs >= 1);
  // A sheet shorter than one frame has no frames; drawing then falls back
  // to frame 0, whose cell must still lie inside the texture.
  FUZZ_CHECK(iFrames[n] >= 0 && iFramesW[n] >= 1 && iSize[n] >= 1);
  const size_t side = size_t(iSize[n]);
  FUZZ_CHECK(Image[n].size() == side * side * 4);
  const long cell = std::lround(double(iFramesWz[n]) * iSize[n]);
  FUZZ_CHECK(cell >= 1 && cell <= iSize[n]);
  unsigned sum = 0;
  for (int k = 0; k < iFrames[n] || k == 0; k++) {
    const long left = long(k % iFramesW[n]) * cell;
    const long top = long(k / iFramesW[n]) * cell;
    FUZZ_CHECK(left + cell <= iSize[n] && top + cell <= iSize[n]);
    for (long y = top; y < top + cell; y++) {
      for (long x = left; x < left + cell; x++)
        sum += Image[n][(size_t(y) * side + x) * 4 + kAlpha];
    }
  }
  volatile unsigned keep = sum;  // the reads above are the point
  (void)keep;
}
}  // namespace

int Images(const uint8_t* data, size_t size) {
  if (size < kControlBytes) return 0;
  PrepareDataFolder();
  char path[64];
  std::snprintf(path, sizeof path, "Data/%i/fuzz.png", kFuzzGame);
  std::vector<unsigned char> png(data + kControlBytes, data + size);
  if ((data[0] & kImagesRepairChecksums) != 0) pngchunks::RepairChecksums(png);
  WriteInput(path, png.data(), png.size());
  for (int i = 0; i < kControlBytes; i++) {
    const int fs = FrameSizeFromByte(data[i]);
    Game().LoadImg(kFirstSlot + i, "fuzz", fs);
    ReadSlot(kFirstSlot + i, fs);
  }
  return 0;
}

}  // namespace fuzz
