// Drawing a font sheet for Text from a TrueType font: each glyph rendered by
// stb_truetype (through tools/FontFile.cpp), trimmed to its ink, squeezed
// when wider than its advance allows, placed from the first column of its
// strip with capital letters centred on the frame's middle, and painted white
// over an optional dark rim (none at the sides of the narrowest glyphs). The
// advances come from the library's own table fontw, so the sheet always fits
// the layout of Text.
#include "tools/FontSheet.h"

#include <algorithm>
#include <cmath>

#include "VeskFrame.h"  // fontw

namespace {

constexpr int kOutlineWidth = 1;
constexpr int kMinStem = 3;  // columns of a glyph's own ink, whatever its advance
constexpr float kOutlineShade = 20.0f;
constexpr float kWhite = 255.0f;
constexpr int kSqueezeTries = 8;
constexpr int kBytesPerPixel = 4;
constexpr float kCapitalShare = 0.7f;  // of the em, for a font without 'H'
// Larger than any glyph of a sound font at 32 pixels per em; a damaged one
// can claim far more.
constexpr int kMaxGlyphSide = 256;

// Coverage 0..1 of one frame, row by row.
using Coverage = std::vector<float>;

// Renders the glyph at horizontal scale sx into a bitmap trimmed to its inked
// columns; returns its width and sets *top to its first row above the
// baseline (negative upward). A glyph that claims to be larger than any
// glyph could be gives 0, as one without ink does.
int RenderTrimmed(const FontFile& font, int glyph, float sx, float sy, std::vector<float>* ink,
                  int* height, int* top) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetGlyphBitmapBox(&font.info, glyph, sx, sy, &x0, &y0, &x1, &y1);
  const int w = x1 - x0;
  const int h = y1 - y0;
  if (w <= 0 || h <= 0 || w > kMaxGlyphSide || h > kMaxGlyphSide) return 0;
  std::vector<unsigned char> bitmap(static_cast<size_t>(w) * h);
  stbtt_MakeGlyphBitmap(&font.info, bitmap.data(), w, h, w, sx, sy, glyph);
  int first = w, last = -1;
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      if (bitmap[static_cast<size_t>(y) * w + x] == 0) continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
  }
  if (last < 0) return 0;
  const int width = last - first + 1;
  ink->assign(static_cast<size_t>(width) * h, 0.0f);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < width; x++) {
      (*ink)[static_cast<size_t>(y) * width + x] =
          bitmap[static_cast<size_t>(y) * w + first + x] / kWhite;
    }
  }
  *height = h;
  *top = y0;
  return width;
}

// Draws the glyph into the frame's coverage with its ink from column `left`,
// at most maxWidth columns wide (squeezed to fit); returns the rows that fell
// outside the frame.
int DrawGlyph(const FontFile& font, int glyph, float scale, int baseline, int left, int maxWidth,
              int margin, Coverage* frame) {
  std::vector<float> ink;
  int height = 0, top = 0;
  float sx = scale;
  int width = RenderTrimmed(font, glyph, sx, scale, &ink, &height, &top);
  for (int tries = 0; width > maxWidth && tries < kSqueezeTries; tries++) {
    sx *= static_cast<float>(maxWidth) / width;
    width = RenderTrimmed(font, glyph, sx, scale, &ink, &height, &top);
  }
  width = std::min(width, maxWidth);
  int cut = 0;
  for (int y = 0; y < height; y++) {
    const int row = baseline + top + y;
    if (row < margin || row >= kSheetFrame - margin) {
      cut++;
      continue;
    }
    for (int x = 0; x < width; x++) {
      (*frame)[static_cast<size_t>(row) * kSheetFrame + left + x] =
          ink[static_cast<size_t>(y) * width + x];
    }
  }
  return cut;
}

// Writes a frame's coverage into the sheet as white, over a dark outline
// `rimX` columns wide at the sides and `rimY` rows at the top and bottom.
void PaintFrame(const Coverage& fill, int rimX, int rimY, int index,
                std::vector<unsigned char>* sheet) {
  const int originX = (index % kSheetPerRow) * kSheetFrame;
  const int originY = (index / kSheetPerRow) * kSheetFrame;
  const bool outlined = rimX > 0 || rimY > 0;
  for (int y = 0; y < kSheetFrame; y++) {
    for (int x = 0; x < kSheetFrame; x++) {
      const float a = fill[static_cast<size_t>(y) * kSheetFrame + x];
      float rim = 0.0f;
      for (int dy = -rimY; outlined && dy <= rimY; dy++) {
        for (int dx = -rimX; dx <= rimX; dx++) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= kSheetFrame || ny >= kSheetFrame) continue;
          rim = std::max(rim, fill[static_cast<size_t>(ny) * kSheetFrame + nx]);
        }
      }
      // The glyph over its outline.
      const float alpha = a + rim * (1.0f - a);
      const float shade =
          alpha > 0.0f ? (kWhite * a + kOutlineShade * rim * (1.0f - a)) / alpha : 0;
      unsigned char* pixel = &(
          *sheet)[(static_cast<size_t>(originY + y) * kSheetWidth + originX + x) * kBytesPerPixel];
      const auto byte = static_cast<unsigned char>(std::lround(shade));
      pixel[0] = pixel[1] = pixel[2] = byte;
      pixel[3] = static_cast<unsigned char>(std::lround(alpha * kWhite));
    }
  }
}

}  // namespace

std::vector<unsigned char> MakeFontSheet(const FontFile& font, const SheetOptions& options,
                                         SheetReport* report) {
  const float scale =
      stbtt_ScaleForMappingEmToPixels(&font.info, static_cast<float>(options.pixels));
  // Capital letters sit centred on the frame's middle, the line Text centres
  // on its y.
  int capTop = -static_cast<int>(options.pixels * kCapitalShare);
  const int capital = FontGlyph(font, 'H');
  if (capital != 0) {
    int x0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&font.info, capital, scale, scale, &x0, &capTop, &x1, &y1);
  }
  const int baseline = kSheetFrame / 2 - capTop / 2;
  const int rimY = options.outline ? kOutlineWidth : 0;

  std::vector<unsigned char> sheet(static_cast<size_t>(kSheetWidth) * kSheetHeight *
                                   kBytesPerPixel);
  for (int i = 0; i < kSheetChars; i++) {
    const int code = kSheetFirstChar + i;
    Coverage fill(static_cast<size_t>(kSheetFrame) * kSheetFrame, 0.0f);
    const int advance = fontw[i] - 1;
    // A narrow glyph keeps a stem of kMinStem columns: it has no rim at its
    // sides rather than be squeezed to a sliver.
    const int rimX = advance - kSheetGap - 2 * rimY >= kMinStem ? rimY : 0;
    if (code != kSheetFirstChar && advance > 0) {
      const int glyph = FontGlyph(font, code);
      if (glyph != 0) {
        report->cutRows += DrawGlyph(font, glyph, scale, baseline, kSheetInkLeft + rimX,
                                     advance - kSheetGap - 2 * rimX, rimY, &fill);
      } else {
        report->missing += static_cast<char>(code);
      }
    }
    PaintFrame(fill, rimX, rimY, i, &sheet);
  }
  return sheet;
}
