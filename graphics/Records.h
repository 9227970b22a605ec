// Internal header of graphics/: the layout of one 30-slot command record and
// of the draw state DrawSet that every record copies, and the view values
// that recording reads. Used by the recording calls (graphics/DrawState.cpp,
// Shapes.cpp, ImageDraw.cpp, Text.cpp), the render pass and the tests that
// read records back.
#ifndef VESKFRAME_RECORDS_H
#define VESKFRAME_RECORDS_H

#include <cstdint>

// ---- Draw state fields (indices into ASys.DrawSet) ----
constexpr int kSetColour1 = 0;  // colour 1: alpha, red, green, blue
constexpr int kSetColour2 = 4;  // colour 2: alpha, red, green, blue
constexpr int kSetRotation = 8;
constexpr int kSetHalfThickness = 9;
constexpr int kSetSizeX = 11;  // horizontal scale / ViewScale
constexpr int kSetSizeY = 12;  // vertical scale / ViewScale, negated

// Fields of one colour, from its first (kSetColour1, kSlotColour1, ...).
// Every field holds 0..kChannelMax, as a texel's channels do.
constexpr int kChannelMax = 255;
constexpr int kColourAlpha = 0;
constexpr int kColourRed = 1;
constexpr int kColourGreen = 2;
constexpr int kColourBlue = 3;

// ---- Record slots (index within one 30-slot record) ----
constexpr int kSlotKind = 0;
constexpr int kSlotBlendMode = 1;  // blend records
constexpr int kSlotX = 1;          // x - rw2 (rectangle, oval, image)
constexpr int kSlotY = 2;          // y - rh2
constexpr int kSlotWidth = 3;      // shapes: width in units; images: horizontal size as stored
constexpr int kSlotHeight = 4;     // shapes: height (negative); images: vertical size as stored
// Quads and quad images store their four corners, x and y relative to the
// view centre, in slots 1..8.
constexpr int kQuadCorners = 4;
constexpr int SlotCornerX(int corner) { return kSlotX + 2 * corner; }
constexpr int SlotCornerY(int corner) { return kSlotY + 2 * corner; }
constexpr int kRecordStateSlot = 10;  // slots 10..25 hold a copy of DrawSet
constexpr int kSlotColour1 = kRecordStateSlot + kSetColour1;
constexpr int kSlotColour2 = kRecordStateSlot + kSetColour2;
constexpr int kSlotRotation = kRecordStateSlot + kSetRotation;
constexpr int kSlotImage = 28;  // image records
constexpr int kSlotFrame = 29;

// ---- View ----
constexpr float kViewWidthUnits = 800.0f;  // TargetScale: the view is 800 drawing units wide
constexpr float kQuarterTurn = 90.0f;      // degrees
// Angles in records are degrees; the renderer and Line turn them into
// radians with this constant, not the full-precision value of pi / 180.
constexpr double kDegreeInRadians = 0.017453;
// ViewScale for recording; before the first render step, the value of an
// 800-unit view instead of 0.
float RecordViewScale();
// The hand-over at the end of an update step: copies the recorded list to
// the render side (RenderBuffer) and empties it for the next step.
void HandOverRecords();
// Checksum of the handed-over list (DrawR, DrawToRT) and of the settings
// that act on the whole render pass, for the desync check of a replay
// (graphics/ListChecksum.cpp).
uint32_t HandedOverChecksum();
// Writes the four corners of a quad record, relative to the view centre.
void RecordCorners(int base, const float (&x)[kQuadCorners], const float (&y)[kQuadCorners]);

#endif  // VESKFRAME_RECORDS_H
