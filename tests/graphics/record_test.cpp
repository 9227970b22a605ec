// Recording without a window: draw state setters, shape, blend and text
// records, the hand-over to the render side with and without the rate
// overlay, the full list and recording before the first render step. Assertions read the record
// slots directly.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "graphics/Records.h"
#include "graphics/record_fixture.h"

namespace {

using vftest::CountLines;
using vftest::StdoutOf;

constexpr double kNear = 0.0001;
constexpr int kLastStateSlot = kRecordStateSlot + kDrawStateFloats - 1;

// Compares the slots a command writes (kind, geometry, draw state, image and
// frame); the others keep whatever an earlier record left there.
void ExpectSameRecord(int a, int b) {
  const double* ra = ASys.Draw + a * kRecordSlots;
  const double* rb = ASys.Draw + b * kRecordSlots;
  const int kind = static_cast<int>(ra[kSlotKind]);
  const int geometry =
      kind == kCmdQuad || kind == kCmdQuadImage ? SlotCornerY(kQuadCorners - 1) : kSlotHeight;
  for (int slot = 0; slot < kRecordSlots; slot++) {
    bool image = (kind == kCmdImage || kind == kCmdQuadImage) && slot >= kSlotImage;
    if (slot <= geometry || (slot >= kRecordStateSlot && slot <= kLastStateSlot) || image) {
      EXPECT_EQ(ra[slot], rb[slot]) << "records " << a << " and " << b << ", slot " << slot;
    }
  }
}

void ExpectColour(int first, float a, float r, float g, float b) {
  EXPECT_EQ(ASys.DrawSet[first], a);
  EXPECT_EQ(ASys.DrawSet[first + 1], r);
  EXPECT_EQ(ASys.DrawSet[first + 2], g);
  EXPECT_EQ(ASys.DrawSet[first + 3], b);
}

}  // namespace

// ---- Draw state ----

using DrawStateTest = RecordTest;

TEST_F(DrawStateTest, ResetDrawRestoresDefaultsButNotTheOtherSettings) {
  TestGame.SetCol(1, 2, 3, 0.1f);
  TestGame.SetRot(30);
  TestGame.SetLineThickness(7);
  TestGame.SetSize(4, 5);
  TestGame.Smoothing(1);
  TestGame.SetFont(51);
  TestGame.FadeCLS(40, 50, 60, 8);
  TestGame.ResetDraw();
  ExpectColour(kSetColour1, 255, 255, 255, 255);
  ExpectColour(kSetColour2, 255, 255, 255, 255);
  EXPECT_EQ(ASys.DrawSet[kSetRotation], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetHalfThickness], 0.5f);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 400.0f);  // 1 / ViewScale of an 800-unit view
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeY], -400.0f);
  EXPECT_EQ(ASys.SmoothMode, 1.0f);
  EXPECT_EQ(ASys.FontImage, 51);
  EXPECT_EQ(ASys.ClsTarget[2], 60.0f);
  EXPECT_EQ(ASys.DrawTo, 0);
}

TEST_F(DrawStateTest, ColoursAreClampedAndAlphaScaled) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TestGame.SetCol(300, -5, 128, 2);
  ExpectColour(kSetColour1, 255, 255, 0, 128);
  ExpectColour(kSetColour2, 255, 255, 0, 128);
  TestGame.SetAlpha(0.5f);
  ExpectColour(kSetColour1, 127.5f, 255, 0, 128);
  ExpectColour(kSetColour2, 127.5f, 255, 0, 128);
  TestGame.Alpha(-0.2f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 0.0f);
  // The first four gradient arguments are colour 2 (top edge), the last four colour 1.
  TestGame.SetGradient(255, 0, 0, 1, 0, 0, 999, 0.5f);
  ExpectColour(kSetColour2, 255, 255, 0, 0);
  ExpectColour(kSetColour1, 127.5f, 0, 0, 255);
  // Not-a-number is stored as 0, so the renderer's byte conversion stays defined.
  TestGame.SetCol(nan, 20, 30, nan);
  ExpectColour(kSetColour1, 0, 0, 20, 30);
  TestGame.CLS(-10, 300, nan);
  for (float* c : {ASys.ClsCol, ASys.ClsTarget}) {
    EXPECT_EQ(c[0], 0.0f);
    EXPECT_EQ(c[1], 255.0f);
    EXPECT_EQ(c[2], 0.0f);
  }
  EXPECT_EQ(ASys.ClsSpeed, 1.0f);
  TestGame.FadeCLS(0, 110, 0, 0);
  EXPECT_EQ(ASys.ClsCol[1], 255.0f) << "the render pass moves the colour, not FadeCLS";
  EXPECT_EQ(ASys.ClsTarget[1], 110.0f);
}

TEST_F(DrawStateTest, LineThicknessHasAFloorOfFiveHundredths) {
  const struct {
    float given, half;
  } cases[] = {{0, 0.025f}, {-4, 0.025f}, {0.0499f, 0.025f}, {0.05f, 0.05f * 0.5f}, {3, 1.5f}};
  for (const auto& c : cases) {
    TestGame.SetLineThickness(c.given);
    EXPECT_FLOAT_EQ(ASys.DrawSet[kSetHalfThickness], c.half) << c.given;
  }
}

// ---- Shapes ----

using ShapeRecordTest = RecordTest;

TEST_F(ShapeRecordTest, RectCopiesTheStateOfItsMoment) {
  TestGame.SetCol(10, 20, 30, 0.5f);
  TestGame.SetRot(45);
  TestGame.Rect(100, 120, 40, 10);
  float copy[kDrawStateFloats];
  std::copy(ASys.DrawSet, ASys.DrawSet + kDrawStateFloats, copy);
  TestGame.SetCol(0, 0, 255, 1);
  TestGame.SetRot(90);
  ASSERT_EQ(ASys.DrawTo, 1);
  EXPECT_EQ(Slot(0, kSlotKind), kCmdRect);
  EXPECT_EQ(Slot(0, kSlotX), 100 - kTestHalfWidth);
  EXPECT_EQ(Slot(0, kSlotY), 120 - kTestHalfHeight);
  EXPECT_FLOAT_EQ(Slot(0, kSlotWidth), 40);
  EXPECT_FLOAT_EQ(Slot(0, kSlotHeight), -10);
  for (int i = 0; i < kDrawStateFloats; i++) EXPECT_EQ(Slot(0, kRecordStateSlot + i), copy[i]) << i;
  EXPECT_EQ(Slot(0, kSlotRotation), 45);
  EXPECT_EQ(Slot(0, kSlotColour1 + kColourAlpha), 127.5);
}

TEST_F(ShapeRecordTest, SizeScalesRectAndOvalButNotTheirCentre) {
  TestGame.SetSize(2);
  TestGame.Rect(50, 50, 10, 10);
  EXPECT_FLOAT_EQ(Slot(0, kSlotWidth), 20);
  EXPECT_FLOAT_EQ(Slot(0, kSlotHeight), -20);
  TestGame.SetSize(0.5f, 3);
  TestGame.Oval(50, 50, 10, 10);
  EXPECT_EQ(Slot(1, kSlotKind), kCmdOval);
  EXPECT_FLOAT_EQ(Slot(1, kSlotWidth), 5);
  EXPECT_FLOAT_EQ(Slot(1, kSlotHeight), -30);
  // Upper-left anchoring uses the unscaled size: centre (5, 5), 20 wide.
  TestGame.SetSize(2);
  TestGame.Rect_UL(0, 0, 10);
  EXPECT_EQ(Slot(2, kSlotX), 5 - kTestHalfWidth);
  EXPECT_EQ(Slot(2, kSlotY), 5 - kTestHalfHeight);
  EXPECT_FLOAT_EQ(Slot(2, kSlotWidth), 20);
}

TEST_F(ShapeRecordTest, ShortAndUpperLeftFormsEqualTheFullForm) {
  TestGame.Rect(100, 100, 10);
  TestGame.Rect(100, 100, 10, 10);
  TestGame.Rect_UL(0, 0, 40, 20);
  TestGame.Rect(20, 10, 40, 20);
  TestGame.Circle(50, 50, 20);
  TestGame.Oval(50, 50, 20, 20);
  TestGame.Circle_UL(0, 0, 20);
  TestGame.Oval(10, 10, 20);
  TestGame.Oval_UL(10, 20, 30, 40);
  TestGame.Oval(25, 40, 30, 40);
  TestGame.Oval_UL(4, 6, 8);
  TestGame.Oval(8, 10, 8, 8);
  ASSERT_EQ(ASys.DrawTo, 12);
  for (int pair = 0; pair < 6; pair++) ExpectSameRecord(2 * pair, 2 * pair + 1);
  EXPECT_EQ(Slot(4, kSlotKind), kCmdOval);
}

TEST_F(ShapeRecordTest, QuadStoresCornersUnscaledAndUnrotated) {
  TestGame.SetSize(3);
  TestGame.SetRot(30);
  TestGame.Quad(1, 2, 3, 4, 5, 6, 7, 8);
  EXPECT_EQ(Slot(0, kSlotKind), kCmdQuad);
  for (int i = 0; i < kQuadCorners; i++) {
    EXPECT_EQ(Slot(0, SlotCornerX(i)), 1 + 2 * i - kTestHalfWidth);
    EXPECT_EQ(Slot(0, SlotCornerY(i)), 2 + 2 * i - kTestHalfHeight);
  }
}

// Checks a recorded line quad against a bar built here: the end points pushed
// by t along the clockwise normal on screen (y down) for p1, p2, against it
// for p3, p4.
void ExpectBar(int record, double x1, double y1, double x2, double y2, double t) {
  double len = std::hypot(x2 - x1, y2 - y1);
  double nx = len == 0 ? t : -(y2 - y1) / len * t;
  double ny = len == 0 ? 0 : (x2 - x1) / len * t;
  const double want[8] = {x1 + nx, y1 + ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny, x1 - nx, y1 - ny};
  for (int c = 0; c < kQuadCorners; c++) {
    const double* r = ASys.Draw + record * kRecordSlots;
    EXPECT_NEAR(r[SlotCornerX(c)] + kTestHalfWidth, want[2 * c], kNear) << "corner " << c;
    EXPECT_NEAR(r[SlotCornerY(c)] + kTestHalfHeight, want[2 * c + 1], kNear) << "corner " << c;
  }
}

TEST_F(ShapeRecordTest, LineIsABarOfTheLineThicknessAroundTheSegment) {
  TestGame.Line(0, 0, 100, 0);  // corners (0, 0.5), (100, 0.5), (100, -0.5), (0, -0.5)
  ExpectBar(0, 0, 0, 100, 0, 0.5);
  TestGame.Line(0, 0, 0, 100);  // straight down: the colour-1 side is at x = -0.5
  EXPECT_NEAR(Slot(1, kSlotX) + kTestHalfWidth, -0.5, kNear);
  ExpectBar(1, 0, 0, 0, 100, 0.5);
  TestGame.Line(30, 40, 30, 40);  // a zero-length line has no area
  ExpectBar(2, 30, 40, 30, 40, 0.5);
  TestGame.SetLineThickness(2);
  TestGame.Line(10, 20, 40, 60);
  ExpectBar(3, 10, 20, 40, 60, 1);
  // Size and rotation do not apply to lines.
  TestGame.SetSize(3);
  TestGame.SetRot(30);
  TestGame.Line(300, 200, 250, 80);
  ExpectBar(4, 300, 200, 250, 80, 1);
  EXPECT_EQ(Slot(4, kSlotKind), kCmdQuad);
}

// ---- Blend records, hand-over, full list ----

using CommandListTest = RecordTest;

TEST_F(CommandListTest, SetBlendRecordsOnlyItsKindAndMode) {
  for (int slot = 0; slot < kRecordSlots; slot++) ASys.Draw[kRecordSlots + slot] = -7;
  TestGame.Rect(1, 1, 1);
  TestGame.SetBlend(2);
  TestGame.SetBlend(0);
  ASSERT_EQ(ASys.DrawTo, 3);
  EXPECT_EQ(Slot(1, kSlotKind), kCmdBlend);
  EXPECT_EQ(Slot(1, kSlotBlendMode), 2);
  for (int slot = kSlotBlendMode + 1; slot < kRecordSlots; slot++)
    EXPECT_EQ(Slot(1, slot), -7) << slot;
  EXPECT_EQ(Slot(2, kSlotKind), kCmdBlend);
  EXPECT_EQ(Slot(2, kSlotBlendMode), 0);
}

TEST_F(CommandListTest, RenderBufferCopiesExactlyTheRecordedCommands) {
  for (int i = 0; i < 4 * kRecordSlots; i++) DrawR[i] = -1;
  TestGame.Rect(10, 20, 30);
  TestGame.SetBlend(3);
  TestGame.Oval(40, 50, 60);
  ASys.RenderBuffer();
  EXPECT_EQ(DrawToRT, 3);
  EXPECT_EQ(ASys.DrawTo, 3) << "the caller resets DrawTo";
  for (int i = 0; i < 3 * kRecordSlots; i++) EXPECT_EQ(DrawR[i], ASys.Draw[i]) << i;
  EXPECT_EQ(DrawR[3 * kRecordSlots], -1) << "nothing past the recorded commands";
  HandOver();
  HandOver();
  EXPECT_EQ(DrawToRT, 0) << "a step that records nothing hands over an empty list";
}

// A game that sets its draw state once, before its first step, and draws
// the same in two steps: what its second step hands over (the records with
// their unused slots cleared first), and its text width at both steps.
struct TwoSteps {
  std::vector<double> records;
  int handedOver = 0;
  float widthBefore = 0;
  float widthAfter = 0;
};

TwoSteps RunTwoSteps(int debugMode) {
  constexpr int kGameRecords = 4;  // the rectangle and the glyphs of "Hi!"
  TwoSteps run;
  TestGame.DebugMode = debugMode;
  TestGame.ResetDraw();
  TestGame.SetCol(200, 40, 40, 0.5f);
  TestGame.SetSize(2);
  TestGame.SetRot(30);
  TestGame.SetLineThickness(3);
  for (int step = 0; step < 2; step++) {
    std::fill(ASys.Draw, ASys.Draw + kGameRecords * kRecordSlots, 0.0);
    TestGame.Rect(100, 100, 10);
    TestGame.Text(50, 50, "Hi!");
    (step == 0 ? run.widthBefore : run.widthAfter) = TestGame.StringWidth("Hi!");
    TestGame.BufferGame();
  }
  run.records.assign(DrawR, DrawR + kGameRecords * kRecordSlots);
  run.handedOver = DrawToRT;
  return run;
}

TEST_F(CommandListTest, TheRateOverlayLeavesTheGamesDrawingAsItFoundIt) {
  const TwoSteps off = RunTwoSteps(0);
  const TwoSteps on = RunTwoSteps(1);
  EXPECT_EQ(off.handedOver, 4);
  EXPECT_GT(on.handedOver, 4) << "the overlay's glyphs follow the game's records";
  EXPECT_EQ(on.records, off.records);
  EXPECT_FLOAT_EQ(off.widthBefore, 2 * (14 + 5 + 5));
  EXPECT_FLOAT_EQ(on.widthBefore, off.widthBefore);
  EXPECT_FLOAT_EQ(on.widthAfter, off.widthBefore);
  EXPECT_EQ(ASys.DrawTo, 0);
}

TEST_F(CommandListTest, CommandsPastTheLastRecordAreDroppedAndLoggedOncePerStep) {
  const double sentinel = 12345;
  for (int i = kDrawListRecords * kRecordSlots; i < kDrawListDoubles; i++) ASys.Draw[i] = sentinel;
  const std::string firstStep = StdoutOf([&] {
    for (int i = 0; i < kDrawListRecords - 1; i++) TestGame.Rect(i, 0, 1);
    TestGame.Text(10, 10, "abc");  // only 'a' fits
    TestGame.Rect(-1, 0, 1);
    TestGame.Quad(0, 0, 1, 0, 1, 1, 0, 1);
    TestGame.Line(0, 0, 5, 5);
    TestGame.SetBlend(2);
    TestGame.DrawImg(0, 1, 1, 0);
  });
  EXPECT_EQ(ASys.DrawTo, kDrawListRecords);
  EXPECT_EQ(ASys.DrawDropped, 7);
  EXPECT_EQ(Slot(kDrawListRecords - 1, kSlotFrame), 'a' - 32) << "the last record is intact";
  for (int i = kDrawListRecords * kRecordSlots; i < kDrawListDoubles; i++) {
    ASSERT_EQ(ASys.Draw[i], sentinel) << "double " << i << " lies past the last record";
  }
  EXPECT_EQ(CountLines(firstStep, "Draw list full"), 1) << firstStep;
  HandOver();
  EXPECT_EQ(DrawToRT, kDrawListRecords);

  // The next step starts empty, and its own overflow is logged again.
  const std::string secondStep = StdoutOf([&] {
    TestGame.Rect(7, 7, 7);
    EXPECT_EQ(Slot(0, kSlotX), 7 - kTestHalfWidth);
    for (int i = 1; i < kDrawListRecords + 3; i++) TestGame.Rect(0, 0, 1);
  });
  EXPECT_EQ(ASys.DrawDropped, 3);
  EXPECT_EQ(CountLines(secondStep, "Draw list full"), 1) << secondStep;
}

TEST_F(CommandListTest, BeforeTheFirstRenderStepSizesUseAnEightHundredUnitView) {
  ViewScale = 0;
  ASys.TargetScale = 0;
  TestGame.ResetDraw();
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 400.0f);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeY], -400.0f);
  TestGame.Rect(5, 6, 10, 20);
  EXPECT_FLOAT_EQ(Slot(0, kSlotWidth), 10);
  EXPECT_FLOAT_EQ(Slot(0, kSlotHeight), -20);
  TestGame.SetSize(2);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 56);
  // With TargetScale known, its own scale is used, and stays right once published.
  ASys.TargetScale = 1000;
  TestGame.ResetDraw();
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 500.0f);
  ViewScale = 2.0f / 1000;
  TestGame.Oval(0, 0, 10);
  EXPECT_FLOAT_EQ(Slot(1, kSlotWidth), 10);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("i"), 5);
}

// ---- Text ----

using TextRecordTest = RecordTest;

TEST_F(TextRecordTest, StringWidthSumsAdvancesOfPrintableCharacters) {
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 28);
  EXPECT_FLOAT_EQ(TestGame.StringWidth(""), 0);
  EXPECT_FLOAT_EQ(TestGame.StringWidth(nullptr), 0);
  // The narrow and wide characters of the font, each width less one.
  EXPECT_FLOAT_EQ(
      TestGame.StringWidth(" !\"%'(),.:;[]`ijl{|}"),
      15 + 5 + 11 + 15 + 5 + 10 + 9 + 5 + 5 + 5 + 5 + 10 + 9 + 5 + 5 + 9 + 5 + 12 + 5 + 12);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("#09@AZ^_az~"), 11 * 14);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("\x7f"), -1) << "character 127 has width 0";
  EXPECT_FLOAT_EQ(TestGame.StringWidth("A\x80\xff\n\tB"), 28) << "others do not advance";
  TestGame.SetSize(0.5f);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 14);
  TestGame.SetSize(2, 9);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 56) << "only the horizontal size counts";
}

TEST_F(TextRecordTest, GlyphsAreCentredAtThePenAndAlignedByHalfWidths) {
  TestGame.SetFont(51);
  TestGame.SetCol(1, 2, 3, 0.5f);
  TestGame.Text(100, 50, "Hi", 1);
  ASSERT_EQ(ASys.DrawTo, 2);
  // Width 19: start 100 - 9.5 + 7.5 = 98; 'H' advances 14.
  EXPECT_EQ(Slot(0, kSlotKind), kCmdImage);
  EXPECT_NEAR(Slot(0, kSlotX), 98 - kTestHalfWidth, kNear);
  EXPECT_NEAR(Slot(1, kSlotX), 112 - kTestHalfWidth, kNear);
  EXPECT_NEAR(Slot(1, kSlotY), 50 - kTestHalfHeight, kNear);
  EXPECT_EQ(Slot(0, kSlotImage), 51);
  EXPECT_EQ(Slot(0, kSlotFrame), 'H' - 32);
  EXPECT_EQ(Slot(1, kSlotFrame), 'i' - 32);
  EXPECT_EQ(Slot(1, kSlotColour1 + kColourRed), 1);
  EXPECT_EQ(Slot(1, kSlotColour2 + kColourAlpha), 127.5);
  TestGame.Text(100, 50, "AB");
  TestGame.Text(100, 50, "AB", 2);
  TestGame.Text(100, 50, "AB", 2, 99);
  EXPECT_NEAR(Slot(2, kSlotX), 107.5 - kTestHalfWidth, kNear);
  EXPECT_NEAR(Slot(4, kSlotX), 107.5 - 28 - kTestHalfWidth, kNear) << "2 ends the text at x";
  ExpectSameRecord(6, 4);  // the fifth argument has no effect
  ExpectSameRecord(7, 5);
  TestGame.Text(10, 10, "");
  EXPECT_EQ(ASys.DrawTo, 8) << "an empty text records nothing";
}

TEST_F(TextRecordTest, EveryByteRecordsAGlyphButOnlyPrintablesAdvance) {
  TestGame.Text(0, 0,
                "\x7f"
                "A\n\xc8"
                "B");
  ASSERT_EQ(ASys.DrawTo, 5);
  const double start = 7.5 - kTestHalfWidth;
  const struct {
    double x;
    int frame;
  } want[] = {{start, 95},
              {start - 1, 'A' - 32},
              {start + 13, '\n' - 32},
              {start + 13, 200 - 256 - 32},
              {start + 13, 'B' - 32}};
  for (int i = 0; i < 5; i++) {
    EXPECT_NEAR(Slot(i, kSlotX), want[i].x, kNear) << "glyph " << i;
    EXPECT_EQ(Slot(i, kSlotFrame), want[i].frame) << "glyph " << i;
  }
}

TEST_F(TextRecordTest, ScaledAndRotatedTextRunsAlongItsDirection) {
  TestGame.SetSize(2);
  TestGame.Text(0, 0, "Hi");
  EXPECT_NEAR(Slot(0, kSlotX), 15 - kTestHalfWidth, kNear);
  EXPECT_NEAR(Slot(1, kSlotX) - Slot(0, kSlotX), 28, kNear);
  EXPECT_FLOAT_EQ(Slot(1, kSlotWidth), ASys.DrawSet[kSetSizeX]);
  // A quarter turn clockwise: the pen runs down the screen, centred on y.
  TestGame.ResetDraw();
  TestGame.SetRot(90);
  TestGame.Text(100, 50, "Hi", 1);
  EXPECT_NEAR(Slot(2, kSlotX), 100 - kTestHalfWidth, 1e-3);
  EXPECT_NEAR(Slot(3, kSlotX), 100 - kTestHalfWidth, 1e-3);
  EXPECT_NEAR(Slot(2, kSlotY), 48 - kTestHalfHeight, 1e-3);
  EXPECT_NEAR(Slot(3, kSlotY), 62 - kTestHalfHeight, 1e-3);
  EXPECT_EQ(Slot(3, kSlotRotation), 90) << "each glyph is turned as well";
}
