// Draw state and the command list.
//
// Owns the 16-float draw state block (ASys.DrawSet) with its setters, the
// background and smoothing settings, the recording entry point RecordStart
// with Getdef, and the hand-over of the update-side list ASys.Draw to the
// render-side list DrawR. Relies on the view globals published by each
// render step (rw2, rh2, ViewScale) and on the console log.
#include <algorithm>

#include "VeskFrame.h"
#include "frame/Session.h"
#include "graphics/Records.h"
#include "util/Numbers.h"

double DrawR[kRenderListRecords * kRecordSlots];
int DrawToRT;

namespace {

constexpr double kMinLineThickness = 0.05;  // compared in double precision

// Colours and alphas end in 0..255; NaN counts as 0 so that the renderer's
// conversion to a byte always gets a number in range.
float Channel(float v) { return Clamp(v, 0.0f, kChannelMax); }

void SetColour(int first, float a, float r, float g, float b) {
  ASys.DrawSet[first + kColourAlpha] = Channel(a * kChannelMax);
  ASys.DrawSet[first + kColourRed] = Channel(r);
  ASys.DrawSet[first + kColourGreen] = Channel(g);
  ASys.DrawSet[first + kColourBlue] = Channel(b);
}

}  // namespace

// ViewScale is 0 until the first render step has run. Recording before that
// uses the value an 800-unit view gives (2 / TargetScale, or 2 / 800 while
// TargetScale is still 0), so sizes never divide by zero and a later render
// step publishes the same value.
float RecordViewScale() {
  if (ViewScale != 0.0f) return ViewScale;
  if (ASys.TargetScale > 0.0f) return 2.0f / ASys.TargetScale;
  return 2.0f / kViewWidthUnits;
}

// ---- Command list ----

// Writes the kind and counts the record at once, so callers only fill the
// geometry and call Getdef. A full list drops the command; the first drop of
// an update step logs one line (the hand-over resets DrawDropped).
int VeskSys::RecordStart(int kind) {
  if (DrawTo < 0 || DrawTo >= kDrawListRecords) {
    if (DrawDropped == 0) {
      Debuglog(fstrSys("Draw list full (%i commands): further commands of this step are dropped",
                       kDrawListRecords));
    }
    DrawDropped++;
    return -1;
  }
  int base = DrawTo * kRecordSlots;
  Draw[base + kSlotKind] = kind;
  DrawTo++;
  return base;
}

void RecordCorners(int base, const float (&x)[kQuadCorners], const float (&y)[kQuadCorners]) {
  for (int i = 0; i < kQuadCorners; i++) {
    ASys.Draw[base + SlotCornerX(i)] = x[i] - rw2;
    ASys.Draw[base + SlotCornerY(i)] = y[i] - rh2;
  }
}

void Getdef(int base) {
  for (int i = 0; i < kDrawStateFloats; i++) {
    ASys.Draw[base + kRecordStateSlot + i] = ASys.DrawSet[i];
  }
}

// Copies the recorded commands to the render side; DrawTo is reset by
// HandOverRecords.
void VeskSys::RenderBuffer() {
  int count = DrawTo;
  if (count < 0) count = 0;
  if (count > kDrawListRecords) count = kDrawListRecords;
  std::copy(Draw, Draw + count * kRecordSlots, DrawR);
  DrawToRT = count;
}

void HandOverRecords() {
  SessionHandOver();
  ASys.RenderBuffer();
  ASys.DrawTo = 0;
  ASys.DrawDropped = 0;
}

// ---- Draw state ----

void VeskCore::ResetDraw() {
  float scale = RecordViewScale();
  SetColour(kSetColour1, 1.0f, kChannelMax, kChannelMax, kChannelMax);
  SetColour(kSetColour2, 1.0f, kChannelMax, kChannelMax, kChannelMax);
  ASys.DrawSet[kSetRotation] = 0.0f;
  ASys.DrawSet[kSetHalfThickness] = 0.5f;
  ASys.DrawSet[kSetSizeX] = 1.0f / scale;
  ASys.DrawSet[kSetSizeY] = -1.0f / scale;
}

void VeskCore::SetSize(float s) { SetSize(s, s); }

void VeskCore::SetSize(float sx, float sy) {
  float scale = RecordViewScale();
  ASys.DrawSet[kSetSizeX] = sx / scale;
  ASys.DrawSet[kSetSizeY] = -(sy / scale);
}

void VeskCore::SetRot(float degrees) { ASys.DrawSet[kSetRotation] = degrees; }

void VeskCore::SetLineThickness(float t) {
  if (static_cast<double>(t) < kMinLineThickness) t = static_cast<float>(kMinLineThickness);
  ASys.DrawSet[kSetHalfThickness] = t * 0.5f;
}

void VeskCore::SetCol(float r, float g, float b, float a) {
  SetColour(kSetColour1, a, r, g, b);
  SetColour(kSetColour2, a, r, g, b);
}

// The first colour lands on colour 2 (the top edge of a rectangle), the
// second on colour 1 (the bottom edge).
void VeskCore::SetGradient(float r1, float g1, float b1, float a1, float r2, float g2, float b2,
                           float a2) {
  SetColour(kSetColour2, a1, r1, g1, b1);
  SetColour(kSetColour1, a2, r2, g2, b2);
}

void VeskCore::SetAlpha(float a) {
  float alpha = Channel(a * kChannelMax);
  ASys.DrawSet[kSetColour1 + kColourAlpha] = alpha;
  ASys.DrawSet[kSetColour2 + kColourAlpha] = alpha;
}

void VeskCore::Alpha(float a) { SetAlpha(a); }

// A recorded command: the mode takes effect at this position of the list.
void VeskCore::SetBlend(int mode) {
  int base = ASys.RecordStart(kCmdBlend);
  if (base < 0) return;
  ASys.Draw[base + kSlotBlendMode] = mode;
}

void VeskCore::Smoothing(int on) { ASys.SmoothMode = static_cast<float>(on); }

void VeskCore::SetFont(int image) { ASys.FontImage = image; }

// ---- Background ----

void VeskCore::SetCLS(float r, float g, float b) {
  float colour[3] = {Channel(r), Channel(g), Channel(b)};
  for (int i = 0; i < 3; i++) {
    ASys.ClsCol[i] = colour[i];
    ASys.ClsTarget[i] = colour[i];
  }
  ASys.ClsSpeed = 1.0f;
}

void VeskCore::CLS(float r, float g, float b) { SetCLS(r, g, b); }

// The render pass moves ClsCol toward the target by 1/speed of the gap each pass.
void VeskCore::FadeCLS(float r, float g, float b, float speed) {
  ASys.ClsTarget[0] = Channel(r);
  ASys.ClsTarget[1] = Channel(g);
  ASys.ClsTarget[2] = Channel(b);
  ASys.ClsSpeed = speed;
}
