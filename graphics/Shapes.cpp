// Shape commands: rectangles, ovals, circles, free quads and thick lines,
// recorded by the game's calls and drawn by the render pass.
//
// Each call appends one record to the update-side list through RecordStart
// and Getdef (DrawState.cpp); positions are stored relative to the view
// centre (rw2, rh2). Line builds its quad with the degree functions Sin and
// Cos of the string helpers. RenderRect, RenderQuad and RenderOval draw the
// records with the white block through the batching and vertex helpers of
// graphics/RenderPass.cpp.
#include <cmath>

#include "VeskFrame.h"
#include "graphics/Records.h"
#include "graphics/RenderPass.h"

namespace {

constexpr int kOvalSegments = 36;
constexpr double kOvalSegmentDegrees = 10.0;

// Rectangles and ovals share one layout: centre, then scaled width and height.
void RecordBox(int kind, float x, float y, float w, float h) {
  int base = ASys.RecordStart(kind);
  if (base < 0) return;
  float scale = RecordViewScale();
  ASys.Draw[base + kSlotX] = x - rw2;
  ASys.Draw[base + kSlotY] = y - rh2;
  ASys.Draw[base + kSlotWidth] = ASys.DrawSet[kSetSizeX] * scale * w;
  ASys.Draw[base + kSlotHeight] = ASys.DrawSet[kSetSizeY] * scale * h;
  Getdef(base);
}

}  // namespace

// ---- Recording: rectangles and ovals ----

void VeskCore::Rect(float x, float y, float w, float h) { RecordBox(kCmdRect, x, y, w, h); }
void VeskCore::Rect(float x, float y, float s) { Rect(x, y, s, s); }
void VeskCore::Rect_UL(float x, float y, float w, float h) {
  Rect(x + w * 0.5f, y + h * 0.5f, w, h);
}
void VeskCore::Rect_UL(float x, float y, float s) { Rect(x + s * 0.5f, y + s * 0.5f, s, s); }

void VeskCore::Oval(float x, float y, float w, float h) { RecordBox(kCmdOval, x, y, w, h); }
void VeskCore::Oval(float x, float y, float s) { Oval(x, y, s, s); }
void VeskCore::Circle(float x, float y, float s) { Oval(x, y, s, s); }
void VeskCore::Oval_UL(float x, float y, float w, float h) {
  Oval(x + w * 0.5f, y + h * 0.5f, w, h);
}
void VeskCore::Oval_UL(float x, float y, float s) { Oval(x + s * 0.5f, y + s * 0.5f, s, s); }
void VeskCore::Circle_UL(float x, float y, float s) { Oval(x + s * 0.5f, y + s * 0.5f, s, s); }

// ---- Recording: quads and lines ----

// Size and rotation do not apply; colour 1 goes to the first two corners.
void VeskCore::Quad(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                    float y4) {
  int base = ASys.RecordStart(kCmdQuad);
  if (base < 0) return;
  RecordCorners(base, {x1, x2, x3, x4}, {y1, y2, y3, y4});
  Getdef(base);
}

// A bar of the current line thickness whose short sides pass through the end
// points; the first two corners lie clockwise of the direction on screen.
void VeskCore::Line(float x1, float y1, float x2, float y2) {
  float t = ASys.DrawSet[kSetHalfThickness];
  float a = static_cast<float>(
      std::atan2(static_cast<double>(x2) - x1, static_cast<double>(y1) - y2) / kDegreeInRadians);
  float rightX = Sin(a + kQuarterTurn) * t;
  float rightY = -Cos(a + kQuarterTurn) * t;
  float leftX = Sin(a - kQuarterTurn) * t;
  float leftY = -Cos(a - kQuarterTurn) * t;
  Quad(x1 + rightX, y1 + rightY, x2 + rightX, y2 + rightY, x2 + leftX, y2 + leftY, x1 + leftX,
       y1 + leftY);
}

// ---- Drawing (render pass) ----

void VeskSys::RenderRect(int base) {
  RenderUseTexture(kTexWhite);
  const float hw = static_cast<float>(DrawR[base + kSlotWidth] * 0.5);
  const float hh = static_cast<float>(DrawR[base + kSlotHeight] * 0.5);
  RenderBox(base, hw, hh, 0.0f, 1.0f, 0.0f, 1.0f);
}

void VeskSys::RenderQuad(int base) {
  RenderUseTexture(kTexWhite);
  RenderCorners(base, 0.0f, 1.0f, 0.0f, 1.0f);
}

// 36 segments of 10 degrees from the point straight below the centre (for a
// normal negative height), each one triangle fanning from the centre.
void VeskSys::RenderOval(int base) {
  RenderUseTexture(kTexWhite);
  const double* record = DrawR + base;
  const double x = record[kSlotX];
  const double y = record[kSlotY];
  const float hw = static_cast<float>(record[kSlotWidth] * 0.5);
  const float hh = static_cast<float>(record[kSlotHeight] * 0.5);
  const Colour c1 = ColourAt(record, kSlotColour1);
  const Colour c2 = ColourAt(record, kSlotColour2);
  for (int i = 0; i < kOvalSegments; i++) {
    // Angles rounded to float, their sine and cosine taken in double.
    const double a0 = static_cast<float>(kOvalSegmentDegrees * i * kDegreeInRadians);
    const double a1 = static_cast<float>(kOvalSegmentDegrees * (i + 1) * kDegreeInRadians);
    Vertex(c1, 0.0, 0.0, static_cast<float>(x), static_cast<float>(y));
    Vertex(c2, 1.0, 0.0, static_cast<float>(x + std::sin(a0) * hw),
           static_cast<float>(y - std::cos(a0) * hh));
    Vertex(c2, 1.0, 1.0, static_cast<float>(x + std::sin(a1) * hw),
           static_cast<float>(y - std::cos(a1) * hh));
    TriCount += 1;
    PolyCount += 1;
  }
  ObjCount += 1;
}
