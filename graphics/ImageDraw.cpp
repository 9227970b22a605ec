// Image drawing: DrawImg and QuadImg record kind-11 and kind-12 commands;
// RenderImage and RenderQuadImage draw them during the render pass.
// Relies on RecordStart and Getdef (graphics/DrawState.cpp) for recording,
// on the image tables (graphics/ImageStore.cpp) and on the batching and
// vertex helpers of graphics/RenderPass.cpp for drawing.
// Arguments are recorded unchecked; the render side validates each record,
// so an image number outside 0..99 or an unloaded slot draws nothing and
// leaves the open batch alone.
#include "VeskFrame.h"
#include "graphics/ImageStore.h"
#include "graphics/Records.h"
#include "graphics/RenderPass.h"

namespace {

// Image number of a record that can be drawn, or -1. A frame outside the
// image's frames is rewritten to 0 in DrawR, so later passes over the same
// list draw frame 0 without correcting it again. Besides an unloaded slot,
// a slot whose tables do not describe its pixels (no frames per row, or
// fewer bytes than iSize x iSize texels) is not drawn: uploading it would
// read past the pixel vector.
int DrawableImage(int base) {
  const double image = DrawR[base + kSlotImage];
  if (!(image >= 0.0 && image <= kMaxImages - 1)) return -1;
  const int n = static_cast<int>(image);
  if (iFrames[n] < 0 || iFramesW[n] <= 0 || iSize[n] <= 0) return -1;
  const size_t side = static_cast<size_t>(iSize[n]);
  if (Image[n].size() < side * side * kBytesPerTexel) return -1;
  double& frame = DrawR[base + kSlotFrame];
  if (!(frame >= 0.0 && frame <= iFrames[n] - 1)) frame = 0.0;
  return n;
}

// The cell of the record's frame in texture coordinates.
struct Cell {
  float left, right, top, bottom;
};

Cell FrameCell(int base, int n) {
  const int f = static_cast<int>(DrawR[base + kSlotFrame]);
  const int col = f % iFramesW[n];
  const int row = f / iFramesW[n];
  const float z = iFramesWz[n];
  const float left = z * col;
  const float top = z * row;
  return {left, left + z, top, top + z};
}

}  // namespace

// ---- Recording ----

void VeskCore::DrawImg(int image, float x, float y, int frame) {
  const int base = ASys.RecordStart(kCmdImage);
  if (base < 0) return;
  double* record = ASys.Draw + base;
  record[kSlotX] = x - rw2;
  record[kSlotY] = y - rh2;
  record[kSlotWidth] = ASys.DrawSet[kSetSizeX];
  record[kSlotHeight] = ASys.DrawSet[kSetSizeY];
  Getdef(base);
  record[kSlotImage] = image;
  record[kSlotFrame] = frame;
}

void VeskCore::QuadImg(int image, float x1, float y1, float x2, float y2, float x3, float y3,
                       float x4, float y4, int frame) {
  const int base = ASys.RecordStart(kCmdQuadImage);
  if (base < 0) return;
  double* record = ASys.Draw + base;
  RecordCorners(base, {x1, x2, x3, x4}, {y1, y2, y3, y4});
  Getdef(base);
  record[kSlotImage] = image;
  record[kSlotFrame] = frame;
}

// ---- Rendering ----

// A sprite centred on the record's point: the cell's bottom row (vB) sits at
// offset -hh, which is the bottom of the screen for the normal negative
// vertical size, so the sprite stands upright.
void VeskSys::RenderImage(int base) {
  const int n = DrawableImage(base);
  if (n < 0) return;
  RenderUseTexture(n);
  const Cell cell = FrameCell(base, n);
  const float hw = static_cast<float>(DrawR[base + kSlotWidth] * iSizeScaled[n]);
  const float hh = static_cast<float>(DrawR[base + kSlotHeight] * iSizeScaled[n]);
  RenderBox(base, hw, hh, cell.left, cell.right, cell.bottom, cell.top);
}

// p1 takes the cell's top-left corner, p2 top-right, p3 bottom-right and p4
// bottom-left; colour 1 therefore tints the top of the frame here.
void VeskSys::RenderQuadImage(int base) {
  const int n = DrawableImage(base);
  if (n < 0) return;
  RenderUseTexture(n);
  const Cell cell = FrameCell(base, n);
  RenderCorners(base, cell.left, cell.right, cell.top, cell.bottom);
}
