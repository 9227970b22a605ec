// Image store: PNG loading into the image slots 0..99.
//
// Owns the image tables (Image, iFrames, iFramesW, iFramesWz, iSize and
// ASys.iSizeScaled), the white block of untextured shapes, LoadImg and
// GetPNG. A file is read through the operating-system seam (frame/Platform.h)
// and decoded with lodepng to 8-bit RGBA, its key colours made
// transparent and, for sprite sheets, its frames repacked into a square
// texture with a transparent margin and a colour bleed around every frame.
// SysInit calls ResetImages, which fills the white block and marks every slot
// unusable.
#include "graphics/ImageStore.h"

#include <lodepng.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "graphics/Records.h"
#include "util/Log.h"
#include "util/TextBuffer.h"

std::vector<unsigned char> Image[kImageTableSize];
int iFrames[kMaxImages];
int iFramesW[kMaxImages];
float iFramesWz[kMaxImages];
int iSize[kMaxImages];
std::vector<unsigned char> WhiteBlock;

namespace {

constexpr int kCellMargin = 4;  // transparent texels on each side of a sheet frame
constexpr int kKeyHigh = 251;   // a key colour channel is at least this ...
constexpr int kKeyLow = 4;      // ... or at most this
// Largest texture side built (64 MiB of RGBA, re-uploaded at every batch
// start); a load that needs more is refused, so no frame size or small file
// can make one load reserve more than a few such blocks (a 181-byte PNG of
// 910 x 910 one-pixel frames would otherwise ask for 256 MiB).
constexpr int64_t kMaxTextureSide = 4096;
// Texture sides up to this are raised to the next power of two.
constexpr int kLargestRoundedSide = 2048;
constexpr int kSmallestSide = 64;
// Largest decoded picture accepted (64 MiB of RGBA).
constexpr uint64_t kMaxImagePixels = kMaxTextureSide * kMaxTextureSide;
// Deflate packs at most about 1032 bytes into one, so pixel data larger than
// this many times the file cannot be real.
constexpr uint64_t kDeflateMaxRatio = 1032;
constexpr unsigned kDecodeBitDepth = 8;

bool IsKeyColour(const unsigned char* p) {
  bool magenta = p[0] >= kKeyHigh && p[1] <= kKeyLow && p[2] >= kKeyHigh;
  bool cyan = p[0] <= kKeyLow && p[1] >= kKeyHigh && p[2] >= kKeyHigh;
  return magenta || cyan;
}

// Powers of two from 64 to 2048 bound the sides; larger sides stay as they are.
int64_t RoundTextureSide(int64_t side) {
  if (side > kLargestRoundedSide) return side;
  int64_t rounded = kSmallestSide;
  while (rounded < side) rounded *= 2;
  return rounded;
}

// The decoder reserves memory from the header's width and height before it
// reads the pixel data; a header whose picture could not fit in the file, or
// is larger than any texture built here, is refused before decoding.
bool HeaderSizeBelievable(const std::vector<unsigned char>& file) {
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned w = 0;
  unsigned h = 0;
  unsigned error = lodepng_inspect(&w, &h, &state, file.data(), file.size());
  uint64_t pixels = static_cast<uint64_t>(w) * h;
  bool ok = error == 0 && pixels <= kMaxImagePixels &&
            pixels * lodepng_get_bpp(&state.info_png.color) / 8 <= kDeflateMaxRatio * file.size();
  lodepng_state_cleanup(&state);
  if (error == 0 && !ok) {
    ASys.Debuglog(ASys.fstrSys("    PNG of %ux%u pixels refused", w, h));
  }
  return ok;
}

float ViewWidth() { return ASys.TargetScale > 0.0f ? ASys.TargetScale : kViewWidthUnits; }

// Images not wider than the frame size fill one fs x fs texture from its
// top-left corner. Only decoded pixels are read: where the image is narrower
// or shorter than fs the texels stay transparent black.
void BuildSingle(int n, const std::vector<unsigned char>& pixels, int w, int h, int fs) {
  std::vector<unsigned char>& tex = Image[n];
  tex.assign(static_cast<size_t>(fs) * fs * kBytesPerTexel, 0);
  int copyW = w < fs ? w : fs;
  int copyH = h < fs ? h : fs;
  for (int y = 0; y < copyH; y++) {
    for (int x = 0; x < copyW; x++) {
      const unsigned char* src = &pixels[(static_cast<size_t>(y) * w + x) * kBytesPerTexel];
      if (IsKeyColour(src)) continue;
      std::memcpy(&tex[(static_cast<size_t>(y) * fs + x) * kBytesPerTexel], src, kBytesPerTexel);
    }
  }
  ASys.Debuglog(ASys.fstrSys("    Loaded %ix%i Image", fs, fs));
  iFramesW[n] = fs;
  iFramesWz[n] = 1.0f;
  iSize[n] = fs;
  ASys.iSizeScaled[n] = fs / ViewWidth();
  iFrames[n] = 1;
}

// Transparent texels take the mean colour of their opaque 3 x 3 neighbours
// (black without any), so linear filtering shows no dark fringe. Only texels
// with non-zero alpha are read and no alpha changes: the order is free.
void BleedColours(std::vector<unsigned char>& tex, int side) {
  for (int y = 1; y < side - 1; y++) {
    for (int x = 1; x < side - 1; x++) {
      unsigned char* t = &tex[(static_cast<size_t>(y) * side + x) * kBytesPerTexel];
      if (t[kAlphaByte] != 0) continue;
      int sum[3] = {0, 0, 0};
      int count = 0;
      for (int dy = -1; dy <= 1; dy++) {
        for (int dx = -1; dx <= 1; dx++) {
          const unsigned char* q =
              &tex[(static_cast<size_t>(y + dy) * side + (x + dx)) * kBytesPerTexel];
          if (q[kAlphaByte] == 0) continue;
          for (int c = 0; c < 3; c++) sum[c] += q[c];
          count++;
        }
      }
      for (int c = 0; c < 3; c++) {
        t[c] = static_cast<unsigned char>(count == 0 ? 0 : sum[c] / count);
      }
    }
  }
}

// Sheets: frames of fs x fs pixels, read row by row, each copied into a cell
// of fs + 8 texels with a 4-texel transparent margin. The side comes from the
// sheet's width; when a tall sheet's cells need more rows than that side
// holds, the side is doubled until every frame fits, so no frame is lost or
// written outside the texture. A sheet whose texture would exceed
// kMaxTextureSide is refused and the slot stays unusable.
void BuildSheet(int n, std::vector<unsigned char>& pixels, int w, int h, int fs) {
  for (size_t i = 0; i < pixels.size(); i += kBytesPerTexel) {
    if (IsKeyColour(&pixels[i])) pixels[i + kAlphaByte] = 0;
  }
  int64_t cell = static_cast<int64_t>(fs) + 2 * kCellMargin;
  int cols = w / fs;
  int rows = h / fs;
  int64_t frames = static_cast<int64_t>(cols) * rows;
  int64_t side = RoundTextureSide(cols * cell);
  while (side <= kMaxTextureSide && (frames + side / cell - 1) / (side / cell) * cell > side) {
    side *= 2;
  }
  if (side > kMaxTextureSide) {
    ASys.Debuglog(ASys.fstrSys("    Spritesheet needs a texture over %i texels wide: not loaded",
                               static_cast<int>(kMaxTextureSide)));
    return;
  }
  int t = static_cast<int>(side);
  int perRow = static_cast<int>(side / cell);
  int c4 = static_cast<int>(cell);
  ASys.Debuglog(ASys.fstrSys("    Loaded Spritesheet of %ix%i sprites", fs, fs));
  std::vector<unsigned char>& tex = Image[n];
  tex.assign(static_cast<size_t>(t) * t * kBytesPerTexel, 0);
  for (int r = 0; r < rows; r++) {
    for (int c = 0; c < cols; c++) {
      int k = r * cols + c;
      int left = (k % perRow) * c4 + kCellMargin;
      int top = (k / perRow) * c4 + kCellMargin;
      for (int j = 0; j < fs; j++) {
        const unsigned char* src =
            &pixels[(static_cast<size_t>(r * fs + j) * w + c * fs) * kBytesPerTexel];
        unsigned char* dst = &tex[(static_cast<size_t>(top + j) * t + left) * kBytesPerTexel];
        std::memcpy(dst, src, static_cast<size_t>(fs) * kBytesPerTexel);
      }
    }
  }
  BleedColours(tex, t);
  iFramesW[n] = perRow;
  iFramesWz[n] = static_cast<float>(cell) / t;
  iSize[n] = t;
  ASys.iSizeScaled[n] = cell / ViewWidth();
  iFrames[n] = static_cast<int>(frames);
}

// The whole file through the platform seam (binary, UTF-8 names on every
// system); false for a null path or a file that cannot be opened or read.
bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes) {
  FILE* file = PlatformOpenFile(path, "rb");
  if (file == nullptr) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(size));
    ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
  }
  std::fclose(file);
  return ok;
}

}  // namespace

void ResetImages() {
  WhiteBlock.assign(kWhiteBlockBytes, kChannelMax);
  for (int& frames : iFrames) frames = -1;
}

// The name may lie in Tempstr, which the formatting below overwrites: it is
// copied first.
void VeskCore::LoadImg(int n, const char* name, int fs) {
  char copy[kTextBufferSize];
  CopyText(copy, name);
  Debuglog(fstr("Load Image : %s ", copy));
  fstr("Data/%i/%s.png", GameNum, copy);
  ASys.GetPNG(n, Tempstr, fs);
}

// The slot reads as unusable (iFrames -1) from the start of the load and
// stays so when the load fails; the frame count is set last.
void VeskSys::GetPNG(int n, const char* path, int fs) {
  if (n < 0 || n >= kMaxImages) {
    std::printf("Image number out of bounds");
    return;
  }
  iFrames[n] = -1;
  if (fs <= 0 || fs > kMaxTextureSide) {
    Debuglog(fstrSys("    Frame size %i refused: it must be 1 to %i", fs,
                     static_cast<int>(kMaxTextureSide)));
    return;
  }
  std::vector<unsigned char> file;
  std::vector<unsigned char> pixels;
  unsigned w = 0;
  unsigned h = 0;
  unsigned error = ReadWholeFile(path, &file) ? 0 : 1;
  if (error == 0 && !HeaderSizeBelievable(file)) error = 1;
  if (error == 0) error = lodepng::decode(pixels, w, h, file, LCT_RGBA, kDecodeBitDepth);
  if (error != 0 || w == 0 || h == 0 ||
      pixels.size() != static_cast<size_t>(w) * h * kBytesPerTexel) {
    Debuglog("OMGERRORZ");
    ExplainUnloadedFile(path);
    return;
  }
  if (w <= static_cast<unsigned>(fs)) {
    BuildSingle(n, pixels, static_cast<int>(w), static_cast<int>(h), fs);
  } else {
    BuildSheet(n, pixels, static_cast<int>(w), static_cast<int>(h), fs);
  }
}
