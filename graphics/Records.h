// Internal header of graphics/: the layout of one 30-slot command record and
// of the draw state DrawSet that every record copies, and the view values
// that recording reads. Used by the recording calls (graphics/DrawState.cpp,
// Shapes.cpp, ImageDraw.cpp, Text.cpp), the render pass, and the tests and
// benchmarks that read records back.
#ifndef VESKFRAME_RECORDS_H
#define VESKFRAME_RECORDS_H

// ---- Draw state fields (indices into ASys.DrawSet) ----
constexpr int kSetColour1 = 0;  // alpha, red, green, blue of colour 1
constexpr int kSetColour2 = 4;  // alpha, red, green, blue of colour 2
constexpr int kSetRotation = 8;
constexpr int kSetHalfThickness = 9;
constexpr int kSetSizeX = 11;  // horizontal scale / ViewScale
constexpr int kSetSizeY = 12;  // vertical scale / ViewScale, negated

// ---- Record slots (index within one 30-slot record) ----
constexpr int kSlotKind = 0;
constexpr int kSlotX = 1;          // x - rw2 (rectangle, oval, image); corners from here for quads
constexpr int kSlotY = 2;          // y - rh2
constexpr int kSlotWidth = 3;      // shapes: width in units; images: horizontal size as stored
constexpr int kSlotHeight = 4;     // shapes: height (negative); images: vertical size as stored
constexpr int kSlotBlendMode = 1;  // blend records
constexpr int kRecordStateSlot = 10;  // slots 10..25 hold a copy of DrawSet
constexpr int kSlotImage = 28;        // image records
constexpr int kSlotFrame = 29;

// ---- View ----
constexpr float kViewWidthUnits = 800.0f;  // TargetScale: the view is 800 drawing units wide
constexpr float kQuarterTurn = 90.0f;      // degrees
// ViewScale for recording; before the first render step, the value of an
// 800-unit view instead of 0.
float RecordViewScale();

#endif  // VESKFRAME_RECORDS_H
