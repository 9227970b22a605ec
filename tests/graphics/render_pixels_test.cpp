// What the render pass puts on screen, read back through the framework's
// own "Screenshot.png": background fade, shape geometry and colours, blend
// modes, sprites (upright, tinted, transparent, frame cells), filtering,
// wireframe, and the screenshot file itself. One window for the whole
// process; each test draws its scenes one frame at a time.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <cstdio>

#include "frame/Window.h"
#include "graphics/Records.h"
#include "graphics/RenderPass.h"
#include "graphics/render_scene.h"

namespace {

class PixelGame : public VeskCore {};
PixelGame Game;

constexpr int kGame = 5;  // data folder Data/5/
constexpr int kQuadImage = 1;
constexpr int kSheetImage = 2;
constexpr int kEdgeImage = 3;
constexpr int kSheetFrames = 8;
constexpr int kFrameSide = 16;
constexpr int kTolerance = 3;

using Pixel = vftest::Rgba;

// Solid colours of the sheet's frames (no key colours among them).
const Rgb kFrameColours[kSheetFrames] = {{255, 0, 0},   {0, 255, 0},     {0, 0, 255},
                                         {255, 255, 0}, {255, 255, 255}, {255, 128, 0},
                                         {128, 0, 255}, {128, 128, 128}};

class RenderPixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // 16 x 16 single image with four coloured quadrants: red top-left,
    // green top-right, blue bottom-left, white bottom-right.
    WriteImage(kGame, "quad16", kFrameSide, kFrameSide, [](int x, int y) -> Pixel {
      const bool right = x >= kFrameSide / 2;
      const bool bottom = y >= kFrameSide / 2;
      if (!bottom) return right ? Pixel{0, 255, 0, 255} : Pixel{255, 0, 0, 255};
      return right ? Pixel{255, 255, 255, 255} : Pixel{0, 0, 255, 255};
    });
    // 64 x 32 sheet of 16-pixel frames: 4 per row, 2 rows, frame k solid.
    WriteImage(kGame, "sheet", 4 * kFrameSide, 2 * kFrameSide, [](int x, int y) -> Pixel {
      const Rgb c = kFrameColours[(y / kFrameSide) * 4 + x / kFrameSide];
      return Pixel{static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                   static_cast<unsigned char>(c.b), 255};
    });
    // 2 x 2 single image: black left column, white right column.
    WriteImage(kGame, "edge2", 2, 2, [](int x, int) -> Pixel {
      return x == 0 ? Pixel{0, 0, 0, 255} : Pixel{255, 255, 255, 255};
    });
    vftest::OpenScene(Game, kGame, "render pixels", [] {
      Game.LoadImg(kQuadImage, "quad16", kFrameSide);
      Game.LoadImg(kSheetImage, "sheet", kFrameSide);
      Game.LoadImg(kEdgeImage, "edge2", 2);
    });
  }

  static void TearDownTestSuite() { Game.Terminate(); }

  void SetUp() override {
    ASSERT_NE(window, nullptr);
    ASSERT_GE(iFrames[kSheetImage], kSheetFrames);
    Game.SetCLS(0, 0, 0);
    Game.Smoothing(0);
    Wireframe = 0;
    ASys.Button[kButtonScreenshot] = 0;
    Game.ResetDraw();
  }

  void TearDown() override {
    if (HasFailure()) KeepShot(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }

  Shot shot;
};

// Blending of one 0..255 channel, as the fixed-function pipeline does it.
int Blend(double value) {
  const double clamped = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  return static_cast<int>(std::lround(clamped * 255.0));
}

TEST_F(RenderPixels, BackgroundFadesBySpeedAndSnapsWithinTwo) {
  Game.FadeCLS(0, 110, 0, 8);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_FLOAT_EQ(ASys.ClsCol[1], 13.75f);
  EXPECT_TRUE(Near(shot.At(400, 300), 0, 14, 0, 1));
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_NEAR(ASys.ClsCol[1], 25.8f, 0.05f);
  // The gap after n passes is 110 * (7/8)^n: 2.003 after 30, 1.75 after 31.
  for (int pass = 3; pass <= 30; pass++) ASys.RenderSys();
  EXPECT_GT(ASys.ClsCol[1], 107.9f);
  EXPECT_LT(ASys.ClsCol[1], 108.0f);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_EQ(ASys.ClsCol[1], 110.0f);
  EXPECT_TRUE(Near(shot.At(400, 300), 0, 110, 0, 1));
}

TEST_F(RenderPixels, FadeGapOfExactlyTwoIsKeptAndSpeedZeroSnaps) {
  ASys.ClsCol[0] = 0.0f;
  Game.FadeCLS(4, 0, 0, 2);
  ASys.RenderSys();
  EXPECT_EQ(ASys.ClsCol[0], 2.0f);  // gap -2 truncates to -2: not yet within 2
  ASys.RenderSys();
  EXPECT_EQ(ASys.ClsCol[0], 4.0f);
  Game.FadeCLS(200, 40, 90, 0);  // 0 / 0 and x / 0 are not finite: snap at once
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_EQ(ASys.ClsCol[0], 200.0f);
  EXPECT_EQ(ASys.ClsCol[1], 40.0f);
  EXPECT_TRUE(Near(shot.At(10, 10), 200, 40, 90, 1));
}

TEST_F(RenderPixels, GradientRectangleHasFirstColourOnTop) {
  Game.SetGradient(255, 0, 0, 1, 0, 0, 255, 1);
  Game.Rect(400, 300, 200, 100);
  ASSERT_TRUE(ShowFrame(Game, shot));
  const Rgb top = shot.At(400, 252);
  const Rgb bottom = shot.At(400, 347);
  EXPECT_GT(top.r, 235);
  EXPECT_LT(top.b, 20);
  EXPECT_GT(bottom.b, 235);
  EXPECT_LT(bottom.r, 20);
  EXPECT_TRUE(Near(shot.At(302, 300), 128, 0, 127, 6));
  EXPECT_TRUE(Near(shot.At(297, 300), 0, 0, 0, 0));  // just left of the rectangle
  EXPECT_TRUE(Near(shot.At(400, 246), 0, 0, 0, 0));  // just above it
}

TEST_F(RenderPixels, QuarterTurnStandsA40By20RectangleUpright) {
  // Colour 1 (blue) is the bottom edge before turning; a clockwise quarter
  // turn carries it to the left.
  Game.SetGradient(255, 0, 0, 1, 0, 0, 255, 1);
  Game.SetRot(90);
  Game.Rect(400, 300, 40, 20);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_TRUE(Near(shot.At(400, 282), 128, 0, 127, 12));  // inside: 40 tall now
  EXPECT_TRUE(Near(shot.At(400, 318), 128, 0, 127, 12));
  EXPECT_TRUE(Near(shot.At(400, 323), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(386, 300), 0, 0, 0, 0));  // outside: 20 wide now
  EXPECT_TRUE(Near(shot.At(414, 300), 0, 0, 0, 0));
  EXPECT_GT(shot.At(391, 300).b, 200);
  EXPECT_GT(shot.At(408, 300).r, 200);
}

TEST_F(RenderPixels, OvalSpansItsBoxWith36Triangles) {
  Game.SetCol(0, 255, 0, 1);
  Game.Oval(400, 300, 100, 50);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_EQ(ASys.PolyCount, 36);
  EXPECT_EQ(ASys.ObjCount, 1);
  EXPECT_TRUE(Near(shot.At(400, 300), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(353, 300), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(447, 300), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(400, 277), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(400, 323), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(347, 300), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(400, 328), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(440, 280), 0, 0, 0, 0));  // outside the ellipse, inside its box
}

TEST_F(RenderPixels, BlendModesCombineSourceAndBackground) {
  const int bg[3] = {100, 50, 200};
  const int src[3] = {200, 100, 40};
  Game.SetCLS(bg[0], bg[1], bg[2]);
  Game.SetCol(src[0], src[1], src[2], 0.5f);
  Game.Rect(100, 100, 60, 60);  // mode 1, the start of every pass
  Game.SetBlend(2);
  Game.Rect(200, 100, 60, 60);
  Game.SetBlend(3);
  Game.Rect(300, 100, 60, 60);
  Game.SetBlend(2);
  Game.SetBlend(7);  // unknown: the additive mode 2 stays
  Game.Rect(400, 100, 60, 60);
  Game.SetBlend(1);
  Game.Rect(500, 100, 60, 60);
  const double a = 127.0 / 255.0;  // alpha 0.5 is stored as 127.5 and truncated
  int normal[3], additive[3], byColour[3];
  for (int c = 0; c < 3; c++) {
    const double s = src[c] / 255.0;
    const double d = bg[c] / 255.0;
    normal[c] = Blend(s * a + d * (1.0 - a));
    additive[c] = Blend(s * a + d);
    byColour[c] = Blend(s * (1.0 - s) + d);
  }
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_TRUE(Near(shot.At(100, 100), normal[0], normal[1], normal[2], kTolerance));
  EXPECT_TRUE(Near(shot.At(200, 100), additive[0], additive[1], additive[2], kTolerance));
  EXPECT_TRUE(Near(shot.At(300, 100), byColour[0], byColour[1], byColour[2], kTolerance));
  EXPECT_TRUE(Near(shot.At(400, 100), additive[0], additive[1], additive[2], kTolerance));
  EXPECT_TRUE(Near(shot.At(500, 100), normal[0], normal[1], normal[2], kTolerance));
}

TEST_F(RenderPixels, NextPassStartsInNormalBlendMode) {
  Game.SetCLS(100, 50, 200);
  Game.SetCol(200, 100, 40, 0.5f);
  Game.Rect(100, 100, 60, 60);
  Game.SetBlend(2);  // the list ends in the additive mode
  Game.Rect(200, 100, 60, 60);
  ASSERT_TRUE(ShowFrame(Game, shot));
  const Rgb first = shot.At(100, 100);
  float w = 0.0f;
  float h = 0.0f;
  Game.RenderGame(w, h);
  std::remove("Screenshot.png");
  Game.TakeScreenshot();
  ASSERT_TRUE(LoadShot(shot));
  EXPECT_TRUE(Near(shot.At(100, 100), first.r, first.g, first.b, 0));
  EXPECT_LT(shot.At(100, 100).b, shot.At(200, 100).b);
}

TEST_F(RenderPixels, SpriteIsUprightTintedAndHalfTransparent) {
  Game.SetCLS(0, 0, 100);
  Game.SetSize(4);  // 16 texels become 64 units
  Game.DrawImg(kQuadImage, 200, 300, 0);
  Game.SetCol(255, 0, 0, 1);
  Game.DrawImg(kQuadImage, 400, 300, 0);
  Game.SetCol(255, 255, 255, 0.5f);
  Game.DrawImg(kQuadImage, 600, 300, 0);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_TRUE(Near(shot.At(184, 284), 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(216, 284), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(184, 316), 0, 0, 255, 0));
  EXPECT_TRUE(Near(shot.At(216, 316), 255, 255, 255, 0));
  EXPECT_TRUE(Near(shot.At(200, 266), 0, 0, 100, 0));  // 64 units tall: 268..332
  // Tinted red: texel times vertex colour.
  EXPECT_TRUE(Near(shot.At(384, 284), 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(416, 284), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(384, 316), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(416, 316), 255, 0, 0, 0));
  // Half transparent over the dark blue background.
  const double a = 127.0 / 255.0;
  const int bgBlue = Blend(1.0 * a + (100.0 / 255.0) * (1.0 - a));
  EXPECT_TRUE(Near(shot.At(616, 316), Blend(a), Blend(a), bgBlue, kTolerance));
  EXPECT_TRUE(Near(shot.At(584, 284), Blend(a), 0, Blend((100.0 / 255.0) * (1.0 - a)), kTolerance));
}

TEST_F(RenderPixels, SheetFramesComeFromTheirCells) {
  Game.SetCLS(20, 20, 20);
  Game.SetSize(2);  // frame 32 units, cell with margin 48
  for (int k = 0; k < kSheetFrames; k++) Game.DrawImg(kSheetImage, 60 + 90 * k, 200, k);
  ASSERT_TRUE(ShowFrame(Game, shot));
  for (int k = 0; k < kSheetFrames; k++) {
    const float x = 60.0f + 90.0f * k;
    const Rgb c = kFrameColours[k];
    EXPECT_TRUE(Near(shot.At(x, 200), c.r, c.g, c.b, 0)) << "frame " << k;
    EXPECT_TRUE(Near(shot.At(x - 13, 187), c.r, c.g, c.b, 0)) << "frame " << k;
    EXPECT_TRUE(Near(shot.At(x + 13, 213), c.r, c.g, c.b, 0)) << "frame " << k;
    EXPECT_TRUE(Near(shot.At(x + 20, 200), 20, 20, 20, 0)) << "margin of frame " << k;
  }
}

TEST_F(RenderPixels, OutOfRangeFramesDrawFrameZeroAndStayCorrected) {
  Game.SetCLS(20, 20, 20);
  Game.SetSize(2);
  Game.DrawImg(kSheetImage, 100, 400, kSheetFrames);  // one past the last frame
  Game.DrawImg(kSheetImage, 200, 400, -1);
  Game.DrawImg(kSheetImage, 300, 400, kSheetFrames - 1);
  ASSERT_TRUE(ShowFrame(Game, shot));
  const Rgb zero = kFrameColours[0];
  const Rgb last = kFrameColours[kSheetFrames - 1];
  EXPECT_TRUE(Near(shot.At(100, 400), zero.r, zero.g, zero.b, 0));
  EXPECT_TRUE(Near(shot.At(200, 400), zero.r, zero.g, zero.b, 0));
  EXPECT_TRUE(Near(shot.At(300, 400), last.r, last.g, last.b, 0));
  EXPECT_EQ(DrawR[0 * kRecordSlots + kSlotFrame], 0.0);
  EXPECT_EQ(DrawR[1 * kRecordSlots + kSlotFrame], 0.0);
  EXPECT_EQ(DrawR[2 * kRecordSlots + kSlotFrame], kSheetFrames - 1);
}

TEST_F(RenderPixels, QuadImageMapsTopLeftOfTheFrameToTheFirstCorner) {
  Game.SetCLS(0, 0, 100);
  // Corners listed clockwise from the top-left of a 64-unit square.
  Game.QuadImg(kQuadImage, 368, 268, 432, 268, 432, 332, 368, 332, 0);
  // Listed from the bottom-right instead: the picture turns half a turn.
  Game.QuadImg(kQuadImage, 632, 332, 568, 332, 568, 268, 632, 268, 0);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_TRUE(Near(shot.At(384, 284), 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(416, 284), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(384, 316), 0, 0, 255, 0));
  EXPECT_TRUE(Near(shot.At(416, 316), 255, 255, 255, 0));
  EXPECT_TRUE(Near(shot.At(616, 316), 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot.At(584, 284), 255, 255, 255, 0));
}

TEST_F(RenderPixels, SmoothingBlendsMagnifiedTexels) {
  Game.SetSize(32);  // the 2 x 2 image becomes 64 units: texel centres 16 from the middle
  Game.DrawImg(kEdgeImage, 400, 300, 0);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_LT(shot.At(392, 300).r, 8);
  EXPECT_GT(shot.At(408, 300).r, 247);
  Game.Smoothing(1);
  Game.DrawImg(kEdgeImage, 400, 300, 0);  // the hand-over emptied the list
  ASSERT_TRUE(ShowFrame(Game, shot));
  // A quarter of the way between texel centres: about a quarter white.
  EXPECT_GT(shot.At(392, 300).r, 35);
  EXPECT_LT(shot.At(392, 300).r, 110);
  EXPECT_GT(shot.At(408, 300).r, 145);
  EXPECT_LT(shot.At(408, 300).r, 220);
}

TEST_F(RenderPixels, WireframeDrawsUntexturedOutlines) {
  Game.Rect(400, 300, 200, 100);
  Game.SetSize(4);
  Game.DrawImg(kQuadImage, 650, 300, 0);
  Wireframe = 1;
  ASSERT_TRUE(ShowFrame(Game, shot));
  Wireframe = 0;
  EXPECT_TRUE(Near(shot.At(350, 280), 0, 0, 0, 0));  // inside, off the diagonal
  int edge = 0;
  for (int y = 245; y <= 255; y++) edge += shot.At(350, static_cast<float>(y)).g > 200 ? 1 : 0;
  EXPECT_GE(edge, 1);
  // The sprite's outline takes the vertex colour (white), not its texels.
  int spriteEdge = 0;
  for (int x = 612; x <= 624; x++) {
    const Rgb c = shot.At(static_cast<float>(x), 290);
    if (c.r > 200 && c.g > 200 && c.b > 200) spriteEdge++;
  }
  EXPECT_GE(spriteEdge, 1);
  EXPECT_TRUE(Near(shot.At(634, 284), 0, 0, 0, 0));
  Game.ResetDraw();
  Game.Rect(400, 300, 200, 100);
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_TRUE(Near(shot.At(350, 280), 255, 255, 255, 0));  // filled again
}

TEST_F(RenderPixels, ScreenshotIsTopDownOpaqueRgba) {
  Game.SetCol(255, 0, 0, 0.25f);  // a translucent colour must still save opaque
  Game.Rect(400, 5, 800, 10);
  Game.SetCol(0, 0, 255, 1);
  Game.Rect(400, 595, 800, 10);
  ASSERT_TRUE(ShowFrame(Game, shot));
  ASSERT_EQ(shot.picture.width, ASys.CanvasWidth);
  ASSERT_EQ(shot.picture.height, ASys.CanvasHeight);
  EXPECT_EQ(shot.picture.width, 800);
  EXPECT_EQ(shot.picture.height, 600);
  EXPECT_EQ(shot.format.colorType, static_cast<unsigned>(LCT_RGBA));
  EXPECT_EQ(shot.format.bitDepth, 8u);
  EXPECT_GT(shot.AtPixel(10, 0).r, 50);
  EXPECT_EQ(shot.AtPixel(10, 0).b, 0);
  EXPECT_EQ(shot.AtPixel(10, 599).b, 255);
  int translucent = 0;
  for (int y = 0; y < shot.picture.height; y++) {
    for (int x = 0; x < shot.picture.width; x++) translucent += shot.picture.At(x, y).a != 255;
  }
  EXPECT_EQ(translucent, 0);
}

TEST_F(RenderPixels, ScreenshotKeySavesThePresentedFrame) {
  Game.SetCol(0, 255, 0, 1);
  Game.Rect(100, 100, 50, 50);
  Game.BufferGame();
  std::remove("Screenshot.png");
  ASys.Button[kButtonScreenshot] = 1;
  float w = 0.0f;
  float h = 0.0f;
  Game.RenderGame(w, h);
  ASys.Button[kButtonScreenshot] = 0;
  ASSERT_TRUE(LoadShot(shot));
  EXPECT_TRUE(Near(shot.At(100, 100), 0, 255, 0, 0));
  EXPECT_TRUE(Near(shot.At(300, 300), 0, 0, 0, 0));
  // Without the key the pass writes nothing.
  std::remove("Screenshot.png");
  Game.RenderGame(w, h);
  EXPECT_FALSE(LoadShot(shot));
}

TEST_F(RenderPixels, ScreenshotBetweenPassesShowsTheLastPresentedFrame) {
  float w = 0.0f;
  float h = 0.0f;
  const Rgb colours[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (const Rgb& c : colours) {
    Game.ResetDraw();
    Game.SetCol(c.r, c.g, c.b, 1);
    Game.Rect(400, 300, 100, 100);
    Game.BufferGame();
    Game.RenderGame(w, h);
  }
  // Settings changed after the pass do not reach the saved frame.
  Game.SetCLS(90, 90, 90);
  Game.Smoothing(1);
  Wireframe = 1;
  std::remove("Screenshot.png");
  Game.TakeScreenshot();
  Wireframe = 0;
  ASSERT_TRUE(LoadShot(shot));
  EXPECT_TRUE(Near(shot.At(400, 300), 0, 0, 255, 0));
  EXPECT_TRUE(Near(shot.At(100, 100), 0, 0, 0, 0));
  EXPECT_EQ(ASys.PolyCount, 2);
}

// Runs last: the window is re-created for full screen and back.
TEST_F(RenderPixels, ScreenshotFollowsFullScreenSize) {
  const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor());
  ASSERT_NE(mode, nullptr);
  const int monitorW = mode->width;
  const int monitorH = mode->height;
  Game.FlipFullscreen();
  ASSERT_NE(window, nullptr);
  float w = 0.0f;
  float h = 0.0f;
  // The window manager resizes the new window shortly after it appears;
  // passes refresh the canvas size and the view until it has settled.
  int settled = 0;
  for (int pass = 0; pass < 200 && settled < 3; pass++) {
    Game.RenderGame(w, h);
    settled = ASys.CanvasWidth == monitorW && ASys.CanvasHeight == monitorH ? settled + 1 : 0;
    Game.Rest(10);
  }
  Game.ResetDraw();
  Game.SetCol(255, 0, 0, 1);
  Game.Rect(790, 10, 20, 20);  // top-right corner of the view
  ASSERT_TRUE(ShowFrame(Game, shot));
  EXPECT_EQ(shot.picture.width, monitorW);
  EXPECT_EQ(shot.picture.height, monitorH);
  // The square covers the view's last 20 units: 20 / 800 of the width.
  const int square = monitorW * 20 / 800;
  EXPECT_TRUE(Near(shot.AtPixel(monitorW - square / 2, square / 2), 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot.AtPixel(monitorW - 2 * square, square / 2), 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot.AtPixel(monitorW - square / 2, monitorH - square / 2), 0, 0, 0, 0));
  Game.FlipFullscreen();
  Game.RenderGame(w, h);
  EXPECT_EQ(ASys.CanvasWidth, 800);
  EXPECT_EQ(ASys.CanvasHeight, 600);
}

}  // namespace
