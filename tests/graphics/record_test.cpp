// Recording without a window: draw state setters, shape, blend and text
// records, the hand-over to the render side, the full list and recording
// before the first render step. Assertions read the record slots directly.
#include <cmath>
#include <limits>

#include "graphics/record_fixture.h"

namespace {

constexpr double kLineTolerance = 0.0001;

// Slots of a record (see the record layout: 10..25 copy DrawSet).
constexpr int kKind = 0;
constexpr int kAlpha1 = 10;
constexpr int kRed1 = 11;
constexpr int kGreen1 = 12;
constexpr int kBlue1 = 13;
constexpr int kAlpha2 = 14;
constexpr int kRed2 = 15;
constexpr int kBlue2 = 17;
constexpr int kRotation = 18;
constexpr int kImage = 28;
constexpr int kFrame = 29;

// Compares the slots a command writes: kind, geometry (four slots for
// centred kinds, eight for quads), draw state and, for image records, image
// and frame. Other slots keep whatever an earlier record left there.
void ExpectSameRecord(int a, int b) {
  const double* ra = ASys.Draw + a * kRecordSlots;
  const double* rb = ASys.Draw + b * kRecordSlots;
  const int kind = static_cast<int>(ra[kKind]);
  const bool image = kind == kCmdImage || kind == kCmdQuadImage;
  const int geometry = kind == kCmdQuad || kind == kCmdQuadImage ? 8 : 4;
  for (int slot = 0; slot < kRecordSlots; slot++) {
    bool written = slot <= geometry || (slot >= kAlpha1 && slot < kAlpha1 + kDrawStateFloats) ||
                   (image && slot >= kImage);
    if (!written) continue;
    EXPECT_EQ(ra[slot], rb[slot]) << "records " << a << " and " << b << ", slot " << slot;
  }
}

}  // namespace

// ---- Draw state ----

using DrawStateTest = RecordTest;

TEST_F(DrawStateTest, ResetDrawGivesOpaqueWhiteUnitSizeAndHalfUnitThickness) {
  TestGame.SetCol(1, 2, 3, 0.1f);
  TestGame.SetRot(30);
  TestGame.SetLineThickness(7);
  TestGame.SetSize(4, 5);
  TestGame.ResetDraw();
  for (int i = 0; i < 8; i++) EXPECT_EQ(ASys.DrawSet[i], 255.0f) << "colour field " << i;
  EXPECT_EQ(ASys.DrawSet[kSetRotation], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetHalfThickness], 0.5f);
  // One drawing unit per unit of size: 1 / ViewScale = 400 for an 800-unit view.
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 400.0f);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeY], -400.0f);
  for (int i : {10, 13, 14, 15}) EXPECT_EQ(ASys.DrawSet[i], 0.0f) << "reserved field " << i;
}

TEST_F(DrawStateTest, ResetDrawLeavesBlendSmoothingFontAndBackground) {
  TestGame.Smoothing(1);
  TestGame.SetFont(51);
  TestGame.SetCLS(10, 20, 30);
  TestGame.FadeCLS(40, 50, 60, 8);
  TestGame.ResetDraw();
  EXPECT_EQ(ASys.SmoothMode, 1.0f);
  EXPECT_EQ(ASys.FontImage, 51);
  EXPECT_EQ(ASys.ClsCol[1], 20.0f);
  EXPECT_EQ(ASys.ClsTarget[2], 60.0f);
  EXPECT_EQ(ASys.ClsSpeed, 8.0f);
  EXPECT_EQ(ASys.DrawTo, 0) << "ResetDraw records nothing";
}

TEST_F(DrawStateTest, SetColClampsChannelsAndScalesAlpha) {
  TestGame.SetCol(300, -5, 128, 2);
  for (int first : {kSetColour1, kSetColour2}) {
    EXPECT_EQ(ASys.DrawSet[first], 255.0f);
    EXPECT_EQ(ASys.DrawSet[first + 1], 255.0f);
    EXPECT_EQ(ASys.DrawSet[first + 2], 0.0f);
    EXPECT_EQ(ASys.DrawSet[first + 3], 128.0f);
  }
  TestGame.SetCol(10, 20, 30, -1);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 3], 30.0f);
}

TEST_F(DrawStateTest, NotANumberColourBecomesZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TestGame.SetCol(nan, 20, 30, nan);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1 + 1], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1 + 2], 20.0f);
  TestGame.SetCol(1, 2, 3, 1);
  TestGame.SetAlpha(nan);
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 0.0f);
  TestGame.SetCLS(nan, 5, 6);
  EXPECT_EQ(ASys.ClsCol[0], 0.0f);
}

TEST_F(DrawStateTest, SetAlphaAndAlphaStoreTimes255OnBothColoursOnly) {
  TestGame.SetCol(10, 20, 30, 1);
  TestGame.SetAlpha(0.5f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 127.5f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 127.5f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1 + 1], 10.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 3], 30.0f);
  TestGame.Alpha(3);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 255.0f);
  TestGame.Alpha(-0.2f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 0.0f);
}

TEST_F(DrawStateTest, LineThicknessHasAFloorOfFiveHundredths) {
  TestGame.SetLineThickness(0);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetHalfThickness], 0.025f);
  TestGame.SetLineThickness(-4);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetHalfThickness], 0.025f);
  // 0.05f lies just above 0.05 in double precision, so it is kept as given.
  TestGame.SetLineThickness(0.05f);
  EXPECT_EQ(ASys.DrawSet[kSetHalfThickness], 0.05f * 0.5f);
  TestGame.SetLineThickness(0.0499f);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetHalfThickness], 0.025f);
  TestGame.SetLineThickness(3);
  EXPECT_EQ(ASys.DrawSet[kSetHalfThickness], 1.5f);
}

TEST_F(DrawStateTest, GradientSetsTopColourFromTheFirstFourArguments) {
  TestGame.SetGradient(255, 0, 0, 1, 0, 0, 255, 0.5f);
  // Colour 2 (top edge) is red and opaque; colour 1 (bottom edge) blue, half alpha.
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 255.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 1], 255.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 3], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 127.5f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1 + 1], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1 + 3], 255.0f);
  TestGame.SetGradient(999, -1, 0, 9, 0, 0, 0, -9);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 1], 255.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2 + 2], 0.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour2], 255.0f);
  EXPECT_EQ(ASys.DrawSet[kSetColour1], 0.0f);
}

TEST_F(DrawStateTest, BackgroundSettersClampAndFadeKeepsTheCurrentColour) {
  TestGame.CLS(-10, 300, 100);
  EXPECT_EQ(ASys.ClsCol[0], 0.0f);
  EXPECT_EQ(ASys.ClsCol[1], 255.0f);
  EXPECT_EQ(ASys.ClsTarget[2], 100.0f);
  EXPECT_EQ(ASys.ClsSpeed, 1.0f);
  TestGame.FadeCLS(0, 110, 400, 0);
  EXPECT_EQ(ASys.ClsCol[1], 255.0f) << "the render pass moves the colour, not FadeCLS";
  EXPECT_EQ(ASys.ClsTarget[1], 110.0f);
  EXPECT_EQ(ASys.ClsTarget[2], 255.0f);
  EXPECT_EQ(ASys.ClsSpeed, 0.0f);
}

// ---- Shapes ----

using ShapeRecordTest = RecordTest;

TEST_F(ShapeRecordTest, RectStoresCentreRelativeToViewAndSignedSize) {
  TestGame.SetCol(10, 20, 30, 0.5f);
  TestGame.SetRot(45);
  TestGame.Rect(100, 120, 40, 10);
  ASSERT_EQ(ASys.DrawTo, 1);
  EXPECT_EQ(Slot(0, kKind), kCmdRect);
  EXPECT_EQ(Slot(0, 1), 100 - kTestHalfWidth);
  EXPECT_EQ(Slot(0, 2), 120 - kTestHalfHeight);
  EXPECT_FLOAT_EQ(Slot(0, 3), 40);
  EXPECT_FLOAT_EQ(Slot(0, 4), -10);
  for (int i = 0; i < kDrawStateFloats; i++) {
    EXPECT_EQ(Slot(0, kRecordStateSlot + i), ASys.DrawSet[i]) << "state field " << i;
  }
  EXPECT_EQ(Slot(0, kRotation), 45);
  EXPECT_EQ(Slot(0, kAlpha1), 127.5);
}

TEST_F(ShapeRecordTest, SizeScalesRectAndOvalButNotTheirCentre) {
  TestGame.SetSize(2);
  TestGame.Rect(50, 50, 10, 10);
  EXPECT_FLOAT_EQ(Slot(0, 3), 20);
  EXPECT_FLOAT_EQ(Slot(0, 4), -20);
  TestGame.SetSize(0.5f, 3);
  TestGame.Oval(50, 50, 10, 10);
  EXPECT_EQ(Slot(1, kKind), kCmdOval);
  EXPECT_FLOAT_EQ(Slot(1, 3), 5);
  EXPECT_FLOAT_EQ(Slot(1, 4), -30);
  // Upper-left anchoring uses the unscaled size: centre (5, 5), 20 wide.
  TestGame.SetSize(2);
  TestGame.Rect_UL(0, 0, 10);
  EXPECT_EQ(Slot(2, 1), 5 - kTestHalfWidth);
  EXPECT_EQ(Slot(2, 2), 5 - kTestHalfHeight);
  EXPECT_FLOAT_EQ(Slot(2, 3), 20);
}

TEST_F(ShapeRecordTest, ShortFormsAndUpperLeftFormsRecordTheSameAsTheFullForm) {
  // Pairs of calls that must produce identical records.
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
  EXPECT_EQ(Slot(4, kKind), kCmdOval);
}

TEST_F(ShapeRecordTest, QuadStoresCornersUnscaledAndUnrotated) {
  TestGame.SetSize(3);
  TestGame.SetRot(30);
  TestGame.Quad(1, 2, 3, 4, 5, 6, 7, 8);
  EXPECT_EQ(Slot(0, kKind), kCmdQuad);
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(Slot(0, 1 + 2 * i), 1 + 2 * i - kTestHalfWidth);
    EXPECT_EQ(Slot(0, 2 + 2 * i), 2 + 2 * i - kTestHalfHeight);
  }
}

TEST_F(ShapeRecordTest, LaterStateChangesLeaveRecordedCommandsAlone) {
  TestGame.SetCol(255, 0, 0, 1);
  TestGame.Rect(10, 10, 5);
  TestGame.SetCol(0, 0, 255, 0.25f);
  TestGame.SetRot(90);
  TestGame.SetSize(4);
  TestGame.Rect(10, 10, 5);
  EXPECT_EQ(Slot(0, kRed1), 255);
  EXPECT_EQ(Slot(0, kBlue1), 0);
  EXPECT_EQ(Slot(0, kAlpha2), 255);
  EXPECT_EQ(Slot(0, kRotation), 0);
  EXPECT_FLOAT_EQ(Slot(0, 3), 5);
  EXPECT_EQ(Slot(1, kBlue2), 255);
  EXPECT_EQ(Slot(1, kAlpha1), 63.75);
  EXPECT_EQ(Slot(1, kRotation), 90);
}

// Corners of a line's quad relative to the view centre, as four points.
struct LineQuad {
  double x[4];
  double y[4];
};

LineQuad RecordedQuad(int record) {
  LineQuad q;
  for (int i = 0; i < 4; i++) {
    q.x[i] = ASys.Draw[record * kRecordSlots + 1 + 2 * i] + kTestHalfWidth;
    q.y[i] = ASys.Draw[record * kRecordSlots + 2 + 2 * i] + kTestHalfHeight;
  }
  return q;
}

// The expected bar: end points pushed by t along the clockwise normal of the
// direction on screen (y down) for p1, p2 and against it for p3, p4.
LineQuad ExpectedBar(double x1, double y1, double x2, double y2, double t) {
  double len = std::hypot(x2 - x1, y2 - y1);
  double nx = -(y2 - y1) / len * t;
  double ny = (x2 - x1) / len * t;
  return {{x1 + nx, x2 + nx, x2 - nx, x1 - nx}, {y1 + ny, y2 + ny, y2 - ny, y1 - ny}};
}

void ExpectQuadNear(const LineQuad& got, const LineQuad& want) {
  for (int i = 0; i < 4; i++) {
    EXPECT_NEAR(got.x[i], want.x[i], kLineTolerance) << "corner " << i + 1;
    EXPECT_NEAR(got.y[i], want.y[i], kLineTolerance) << "corner " << i + 1;
  }
}

TEST_F(ShapeRecordTest, LineIsABarOfTheLineThicknessAroundTheSegment) {
  TestGame.Line(0, 0, 100, 0);
  EXPECT_EQ(Slot(0, kKind), kCmdQuad);
  ExpectQuadNear(RecordedQuad(0), {{0, 100, 100, 0}, {0.5, 0.5, -0.5, -0.5}});
  // Straight down: the colour-1 side is at x = -0.5.
  TestGame.Line(0, 0, 0, 100);
  ExpectQuadNear(RecordedQuad(1), {{-0.5, -0.5, 0.5, 0.5}, {0, 100, 100, 0}});
  TestGame.SetLineThickness(2);
  TestGame.Line(10, 20, 40, 60);
  ExpectQuadNear(RecordedQuad(2), ExpectedBar(10, 20, 40, 60, 1));
  TestGame.Line(300, 200, 250, 80);
  ExpectQuadNear(RecordedQuad(3), ExpectedBar(300, 200, 250, 80, 1));
}

TEST_F(ShapeRecordTest, LineIgnoresSizeAndRotation) {
  TestGame.SetSize(3);
  TestGame.SetRot(30);
  TestGame.SetLineThickness(4);
  TestGame.Line(-20, 5, 60, 65);
  ExpectQuadNear(RecordedQuad(0), ExpectedBar(-20, 5, 60, 65, 2));
}

TEST_F(ShapeRecordTest, LineWithCoincidentEndsHasNoArea) {
  TestGame.Line(30, 40, 30, 40);
  ASSERT_EQ(ASys.DrawTo, 1);
  LineQuad q = RecordedQuad(0);
  double twiceArea = 0;
  for (int i = 0; i < 4; i++) {
    int j = (i + 1) % 4;
    twiceArea += q.x[i] * q.y[j] - q.x[j] * q.y[i];
    EXPECT_TRUE(std::isfinite(q.x[i]) && std::isfinite(q.y[i]));
  }
  EXPECT_NEAR(twiceArea, 0.0, kLineTolerance);
}

// ---- Blend records ----

using BlendRecordTest = RecordTest;

TEST_F(BlendRecordTest, SetBlendRecordsOnlyItsKindAndMode) {
  // A stale record in the slot shows which slots the blend record writes.
  for (int slot = 0; slot < kRecordSlots; slot++) ASys.Draw[kRecordSlots + slot] = -7;
  TestGame.Rect(1, 1, 1);
  TestGame.SetBlend(2);
  TestGame.SetBlend(0);
  ASSERT_EQ(ASys.DrawTo, 3);
  EXPECT_EQ(Slot(1, kKind), kCmdBlend);
  EXPECT_EQ(Slot(1, 1), 2);
  for (int slot = 2; slot < kRecordSlots; slot++) EXPECT_EQ(Slot(1, slot), -7) << slot;
  EXPECT_EQ(Slot(2, kKind), kCmdBlend);
  EXPECT_EQ(Slot(2, 1), 0);
}

// ---- Hand-over ----

using HandOverTest = RecordTest;

TEST_F(HandOverTest, RenderBufferCopiesExactlyTheRecordedCommands) {
  const int total = kRenderListRecords * kRecordSlots;
  for (int i = 0; i < 4 * kRecordSlots; i++) DrawR[i] = -1;
  TestGame.Rect(10, 20, 30);
  TestGame.SetBlend(3);
  TestGame.Oval(40, 50, 60);
  ASys.RenderBuffer();
  EXPECT_EQ(DrawToRT, 3);
  EXPECT_EQ(ASys.DrawTo, 3) << "the caller resets DrawTo";
  for (int i = 0; i < 3 * kRecordSlots; i++) EXPECT_EQ(DrawR[i], ASys.Draw[i]) << i;
  EXPECT_EQ(DrawR[3 * kRecordSlots], -1) << "nothing past the recorded commands";
  ASSERT_GT(total, 3 * kRecordSlots);
}

TEST_F(HandOverTest, AnEmptyStepHandsOverAnEmptyList) {
  TestGame.Rect(1, 2, 3);
  HandOver();
  EXPECT_EQ(DrawToRT, 1);
  HandOver();
  EXPECT_EQ(DrawToRT, 0);
}

// ---- Full list ----

using FullListTest = RecordTest;

TEST_F(FullListTest, CommandsPastTheLastRecordAreDroppedAndLoggedOncePerStep) {
  const double sentinel = 12345;
  for (int i = kDrawListRecords * kRecordSlots; i < kDrawListDoubles; i++) ASys.Draw[i] = sentinel;
  testing::internal::CaptureStdout();
  for (int i = 0; i < kDrawListRecords; i++) TestGame.Rect(i, 0, 1);
  const int lastX = kDrawListRecords - 1 - kTestHalfWidth;
  TestGame.Rect(-1, 0, 1);
  TestGame.Quad(0, 0, 1, 0, 1, 1, 0, 1);
  TestGame.Line(0, 0, 5, 5);
  TestGame.SetBlend(2);
  TestGame.Circle(0, 0, 3);
  std::string firstStep = testing::internal::GetCapturedStdout();
  EXPECT_EQ(ASys.DrawTo, kDrawListRecords);
  EXPECT_EQ(ASys.DrawDropped, 5);
  EXPECT_EQ(Slot(kDrawListRecords - 1, 1), lastX) << "the last record that fitted is intact";
  EXPECT_EQ(Slot(kDrawListRecords - 1, kKind), kCmdRect);
  for (int i = kDrawListRecords * kRecordSlots; i < kDrawListDoubles; i++) {
    ASSERT_EQ(ASys.Draw[i], sentinel) << "double " << i << " lies past the last record";
  }
  EXPECT_EQ(CountLines(firstStep, "Draw list full"), 1) << firstStep;
  HandOver();
  EXPECT_EQ(DrawToRT, kDrawListRecords);
  EXPECT_EQ(DrawR[(kDrawListRecords - 1) * kRecordSlots + 1], lastX);

  // The next step starts empty, and its own overflow is logged again.
  testing::internal::CaptureStdout();
  TestGame.Rect(7, 7, 7);
  EXPECT_EQ(Slot(0, 1), 7 - kTestHalfWidth);
  for (int i = 1; i < kDrawListRecords + 3; i++) TestGame.Rect(0, 0, 1);
  std::string secondStep = testing::internal::GetCapturedStdout();
  EXPECT_EQ(ASys.DrawDropped, 3);
  EXPECT_EQ(CountLines(secondStep, "Draw list full"), 1) << secondStep;
}

TEST_F(FullListTest, TextAndImagesAreDroppedToo) {
  for (int i = 0; i < kDrawListRecords - 1; i++) TestGame.Rect(0, 0, 1);
  testing::internal::CaptureStdout();
  TestGame.Text(10, 10, "abc");
  TestGame.DrawImg(0, 1, 1, 0);
  TestGame.QuadImg(0, 0, 0, 1, 0, 1, 1, 0, 1, 0);
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_EQ(ASys.DrawTo, kDrawListRecords);
  EXPECT_EQ(ASys.DrawDropped, 4);
  EXPECT_EQ(Slot(kDrawListRecords - 1, kFrame), 'a' - 32) << "only the first character fitted";
  EXPECT_EQ(CountLines(log, "Draw list full"), 1) << log;
}

// ---- Before the first render step ----

using NoRenderYetTest = RecordTest;

TEST_F(NoRenderYetTest, SizesUseAnEightHundredUnitViewWhileViewScaleIsZero) {
  ViewScale = 0;
  ASys.TargetScale = 0;
  rw2 = 0;
  rh2 = 0;
  TestGame.ResetDraw();
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 400.0f);
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeY], -400.0f);
  TestGame.Rect(5, 6, 10, 20);
  EXPECT_FLOAT_EQ(Slot(0, 3), 10);
  EXPECT_FLOAT_EQ(Slot(0, 4), -20);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 28);
  TestGame.SetSize(2);
  TestGame.Oval(0, 0, 10);
  EXPECT_FLOAT_EQ(Slot(1, 3), 20);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 56);
}

TEST_F(NoRenderYetTest, ViewScaleFollowsTargetScaleOnceSet) {
  ViewScale = 0;
  ASys.TargetScale = 1000;
  TestGame.ResetDraw();
  EXPECT_FLOAT_EQ(ASys.DrawSet[kSetSizeX], 500.0f);
  TestGame.Rect(0, 0, 10);
  EXPECT_FLOAT_EQ(Slot(0, 3), 10);
  // Sizes stored before the first render step keep their meaning after it.
  ViewScale = 2.0f / 1000;
  TestGame.Rect(0, 0, 10);
  EXPECT_FLOAT_EQ(Slot(1, 3), 10);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("i"), 5);
}

// ---- Text ----

using TextRecordTest = RecordTest;

TEST_F(TextRecordTest, StringWidthSumsAdvancesTimesScale) {
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 28);
  EXPECT_FLOAT_EQ(TestGame.StringWidth(""), 0);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("Hi"), 19);
  TestGame.SetSize(0.5f);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 14);
  TestGame.SetSize(2, 9);
  EXPECT_FLOAT_EQ(TestGame.StringWidth("AB"), 56) << "only the horizontal size counts";
}

TEST_F(TextRecordTest, CharacterWidthsOfTheBuiltInFont) {
  // Narrow and wide characters of the font; every other printable one is 15.
  const struct {
    char c;
    int width;
  } special[] = {{' ', 16}, {'!', 6},  {'"', 12}, {'%', 16}, {'\'', 6}, {'(', 11}, {')', 10},
                 {',', 6},  {'.', 6},  {':', 6},  {';', 6},  {'[', 11}, {']', 10}, {'`', 6},
                 {'i', 6},  {'j', 10}, {'l', 6},  {'{', 13}, {'|', 6},  {'}', 13}};
  for (int c = 32; c <= 126; c++) {
    int width = 15;
    for (const auto& s : special) {
      if (s.c == c) width = s.width;
    }
    const char text[2] = {static_cast<char>(c), 0};
    EXPECT_FLOAT_EQ(TestGame.StringWidth(text), width - 1) << "character " << c;
  }
  EXPECT_FLOAT_EQ(TestGame.StringWidth("\x7f"), -1) << "character 127 has width 0";
  EXPECT_FLOAT_EQ(TestGame.StringWidth("A\x80\xff\n\tB"), 28) << "others do not advance";
}

TEST_F(TextRecordTest, CentredTextPlacesEachGlyphAtThePen) {
  TestGame.SetFont(51);
  TestGame.Text(100, 50, "Hi", 1);
  ASSERT_EQ(ASys.DrawTo, 2);
  // Width 19: start 100 - 9.5 + 7.5 = 98; 'H' advances 14.
  EXPECT_EQ(Slot(0, kKind), kCmdImage);
  EXPECT_NEAR(Slot(0, 1), 98 - kTestHalfWidth, 1e-4);
  EXPECT_NEAR(Slot(1, 1), 112 - kTestHalfWidth, 1e-4);
  EXPECT_NEAR(Slot(0, 2), 50 - kTestHalfHeight, 1e-4);
  EXPECT_NEAR(Slot(1, 2), 50 - kTestHalfHeight, 1e-4);
  EXPECT_EQ(Slot(0, kImage), 51);
  EXPECT_EQ(Slot(0, kFrame), 'H' - 32);
  EXPECT_EQ(Slot(1, kFrame), 'i' - 32);
}

TEST_F(TextRecordTest, AlignmentMovesTheTextBackByHalfWidths) {
  TestGame.Text(100, 50, "AB");
  TestGame.Text(100, 50, "AB", 2);
  TestGame.Text(100, 50, "AB", 2, 99);
  EXPECT_NEAR(Slot(0, 1), 107.5 - kTestHalfWidth, 1e-4);
  EXPECT_NEAR(Slot(2, 1), 107.5 - 28 - kTestHalfWidth, 1e-4) << "2 ends the text at x";
  ExpectSameRecord(4, 2);  // the fifth argument has no effect
  ExpectSameRecord(5, 3);
}

TEST_F(TextRecordTest, EveryByteRecordsAGlyphButOnlyPrintablesAdvance) {
  TestGame.Text(0, 0,
                "\x7f"
                "A\n\xc8"
                "B ");
  ASSERT_EQ(ASys.DrawTo, 6);
  const double start = 7.5 - kTestHalfWidth;
  EXPECT_NEAR(Slot(0, 1), start, 1e-4);
  EXPECT_EQ(Slot(0, kFrame), 95);
  EXPECT_NEAR(Slot(1, 1), start - 1, 1e-4) << "character 127 moves the pen back by one";
  EXPECT_EQ(Slot(2, kFrame), '\n' - 32);
  EXPECT_NEAR(Slot(2, 1), start + 13, 1e-4);
  EXPECT_EQ(Slot(3, kFrame), 200 - 256 - 32) << "bytes of 128 and above count as negative";
  EXPECT_NEAR(Slot(3, 1), start + 13, 1e-4);
  EXPECT_NEAR(Slot(4, 1), start + 13, 1e-4);
  EXPECT_EQ(Slot(4, kFrame), 'B' - 32);
}

TEST_F(TextRecordTest, EmptyOrMissingTextRecordsNothing) {
  TestGame.Text(10, 10, "");
  TestGame.Text(10, 10, nullptr, 1);
  EXPECT_EQ(ASys.DrawTo, 0);
  EXPECT_EQ(TestGame.StringWidth(nullptr), 0);
}

TEST_F(TextRecordTest, ScaledAndRotatedTextRunsAlongItsDirection) {
  TestGame.SetSize(2);
  TestGame.Text(0, 0, "Hi");
  EXPECT_NEAR(Slot(1, 1) - Slot(0, 1), 28, 1e-4);
  EXPECT_NEAR(Slot(0, 1), 15 - kTestHalfWidth, 1e-4);

  // A quarter turn clockwise: the pen runs down the screen, centred on y.
  TestGame.ResetDraw();
  TestGame.SetRot(90);
  TestGame.Text(100, 50, "Hi", 1);
  EXPECT_NEAR(Slot(2, 1), 100 - kTestHalfWidth, 1e-3);
  EXPECT_NEAR(Slot(3, 1), 100 - kTestHalfWidth, 1e-3);
  EXPECT_NEAR(Slot(2, 2), 48 - kTestHalfHeight, 1e-3);
  EXPECT_NEAR(Slot(3, 2), 62 - kTestHalfHeight, 1e-3);
  EXPECT_EQ(Slot(3, kRotation), 90) << "each glyph is turned as well";
}

TEST_F(TextRecordTest, GlyphsTakeTheDrawStateAtRecording) {
  TestGame.SetCol(1, 2, 3, 0.5f);
  TestGame.SetSize(0.5f);
  TestGame.Text(0, 0, "x");
  EXPECT_EQ(Slot(0, kRed1), 1);
  EXPECT_EQ(Slot(0, kAlpha2), 127.5);
  EXPECT_FLOAT_EQ(Slot(0, 3), ASys.DrawSet[kSetSizeX]);
  EXPECT_FLOAT_EQ(Slot(0, 4), ASys.DrawSet[kSetSizeY]);
}
