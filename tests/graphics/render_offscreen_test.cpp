// Image drawing and screenshot code that runs without a window: the records
// DrawImg and QuadImg write, SavePNG's file and messages, and the guard
// that keeps the render pass and Screenshot from making GL calls when no
// window exists. GL entry points are wrapped (--wrap) and counted.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "frame/Window.h"
#include "graphics/Records.h"

namespace {
int glCalls = 0;
}

extern "C" {
void __real_glClear(GLbitfield mask);
void __real_glViewport(GLint x, GLint y, GLsizei w, GLsizei h);
void __real_glBegin(GLenum mode);
void __real_glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                         void* data);
void __wrap_glClear(GLbitfield mask) {
  glCalls++;
  __real_glClear(mask);
}
void __wrap_glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  glCalls++;
  __real_glViewport(x, y, w, h);
}
void __wrap_glBegin(GLenum mode) {
  glCalls++;
  __real_glBegin(mode);
}
void __wrap_glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                         void* data) {
  glCalls++;
  __real_glReadPixels(x, y, w, h, format, type, data);
}
}

namespace {

class OffscreenGame : public VeskCore {};
OffscreenGame Game;

constexpr int kHalfWidth = 400;
constexpr int kHalfHeight = 300;

bool FileExists(const char* name) {
  FILE* f = std::fopen(name, "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

// The view of an 800 x 600 window, as a render step publishes it.
class ImageRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    ASys.TargetScale = 800.0f;
    ViewScale = 2.0f / 800.0f;
    rw2 = kHalfWidth;
    rh2 = kHalfHeight;
    ASys.DrawTo = 0;
    ASys.DrawDropped = 0;
    Game.ResetDraw();
  }
  static double Slot(int record, int slot) { return ASys.Draw[record * kRecordSlots + slot]; }
};

TEST_F(ImageRecording, DrawImgStoresCentreSizeImageFrameAndState) {
  Game.SetCol(10, 20, 30, 0.5f);
  Game.SetRot(30);
  Game.DrawImg(5, 116, 316, 1);
  Game.SetSize(2, -1);  // mirrored vertically: the stored vertical size turns positive
  Game.DrawImg(7, 0, 0, 3);
  ASSERT_EQ(ASys.DrawTo, 2);
  EXPECT_EQ(Slot(0, kSlotKind), kCmdImage);
  EXPECT_EQ(Slot(0, kSlotX), 116 - kHalfWidth);
  EXPECT_EQ(Slot(0, kSlotY), 316 - kHalfHeight);
  EXPECT_FLOAT_EQ(Slot(0, kSlotWidth), 400.0f);  // scale 1 / ViewScale
  EXPECT_FLOAT_EQ(Slot(0, kSlotHeight), -400.0f);
  EXPECT_EQ(Slot(0, kSlotImage), 5);
  EXPECT_EQ(Slot(0, kSlotFrame), 1);
  EXPECT_EQ(Slot(0, kSlotColour1 + kColourAlpha), 127.5);
  EXPECT_EQ(Slot(0, kSlotColour1 + kColourRed), 10);
  EXPECT_EQ(Slot(0, kSlotColour1 + kColourBlue), 30);
  EXPECT_EQ(Slot(0, kSlotRotation), 30);
  EXPECT_FLOAT_EQ(Slot(1, kSlotWidth), 800.0f);
  EXPECT_FLOAT_EQ(Slot(1, kSlotHeight), 400.0f);
  EXPECT_EQ(Slot(1, kSlotX), -kHalfWidth);
  EXPECT_EQ(Slot(1, kSlotImage), 7);
  EXPECT_EQ(Slot(1, kSlotFrame), 3);
}

TEST_F(ImageRecording, QuadImgStoresCornersWithoutSizeOrRotation) {
  Game.SetSize(3);
  Game.SetRot(45);
  Game.QuadImg(9, 1, 2, 3, 4, 5, 6, 7, 8, 2);
  ASSERT_EQ(ASys.DrawTo, 1);
  EXPECT_EQ(Slot(0, kSlotKind), kCmdQuadImage);
  for (int c = 0; c < kQuadCorners; c++) {
    EXPECT_EQ(Slot(0, SlotCornerX(c)), 1 + 2 * c - kHalfWidth) << "corner " << c;
    EXPECT_EQ(Slot(0, SlotCornerY(c)), 2 + 2 * c - kHalfHeight) << "corner " << c;
  }
  EXPECT_EQ(Slot(0, kSlotRotation), 45);
  EXPECT_EQ(Slot(0, kSlotImage), 9);
  EXPECT_EQ(Slot(0, kSlotFrame), 2);
}

TEST_F(ImageRecording, FullListDropsImagesWithoutWritingPastIt) {
  ASys.DrawTo = kDrawListRecords;
  const double after = ASys.Draw[kDrawListDoubles - 1];
  Game.DrawImg(1, 10, 10, 0);
  Game.QuadImg(1, 0, 0, 1, 0, 1, 1, 0, 1, 0);
  EXPECT_EQ(ASys.DrawTo, kDrawListRecords);
  EXPECT_EQ(ASys.Draw[kDrawListDoubles - 1], after);
  ASys.DrawTo = 0;
}

// Saving and the no-window guard log through Debuglog; stdout is captured.
class ImageSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(window, nullptr);
    glCalls = 0;
  }
  static std::vector<unsigned char> Pixels(unsigned w, unsigned h, bool opaque) {
    std::vector<unsigned char> p(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < p.size(); i++) {
      p[i] = static_cast<unsigned char>(i * 37 + 11);
      if (opaque && i % 4 == 3) p[i] = 255;
    }
    return p;
  }
};

TEST_F(ImageSaving, WritesTheEntryAsRgbaEvenWhenOpaque) {
  for (bool opaque : {false, true}) {
    Image[kScreenshotSlot] = Pixels(3, 2, opaque);
    std::remove("round.png");
    testing::internal::CaptureStdout();
    ASys.SavePNG("round.png", kScreenshotSlot, 3, 2);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("> Saving Image - 3x2  ~ round.png\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("didn't work"), std::string::npos) << log;
    std::vector<unsigned char> file;
    ASSERT_EQ(lodepng::load_file(file, "round.png"), 0u);
    lodepng::State state;
    std::vector<unsigned char> decoded;
    unsigned w = 0;
    unsigned h = 0;
    ASSERT_EQ(lodepng::decode(decoded, w, h, state, file), 0u);
    EXPECT_EQ(state.info_png.color.colortype, LCT_RGBA);
    EXPECT_EQ(state.info_png.color.bitdepth, 8u);
    EXPECT_EQ(w, 3u);
    EXPECT_EQ(h, 2u);
    EXPECT_EQ(decoded, Image[kScreenshotSlot]);
  }
}

TEST_F(ImageSaving, ReportsAFileThatCannotBeWritten) {
  Image[kScreenshotSlot] = Pixels(2, 2, true);
  testing::internal::CaptureStdout();
  ASys.SavePNG("no-such-folder/shot.png", kScreenshotSlot, 2, 2);
  const std::string log = testing::internal::GetCapturedStdout();
  const std::string message = "The image save didn't work.  All the images are unsaved!! ";
  const size_t at = log.find(message);
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_NE(log[at + message.size()], '0');  // a library error code, never 0
}

TEST_F(ImageSaving, RefusesEntriesThatDoNotHoldTheImage) {
  Image[kScreenshotSlot] = Pixels(2, 2, true);
  std::remove("small.png");
  testing::internal::CaptureStdout();
  ASys.SavePNG("small.png", kScreenshotSlot, 4, 4);  // 16 bytes for a 64-byte image
  ASys.SavePNG("small.png", -1, 2, 2);
  ASys.SavePNG("small.png", kImageTableSize, 2, 2);
  ASys.SavePNG("small.png", kScreenshotSlot, 0x40000000u, 0x40000000u);  // size overflows 32 bits
  ASys.SavePNG(nullptr, kScreenshotSlot, 2, 2);
  const std::string log = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(FileExists("small.png"));
  EXPECT_NE(log.find("fewer than 4x4 pixels"), std::string::npos) << log;
  EXPECT_NE(log.find("no image -1"), std::string::npos) << log;
  EXPECT_NE(log.find("no image 105"), std::string::npos) << log;
}

TEST_F(ImageSaving, NoWindowMeansNoGlCallsAndNoScreenshot) {
  Game.ResetDraw();
  rw2 = kHalfWidth;
  rh2 = kHalfHeight;
  ASys.DrawTo = 0;
  Game.Rect(100, 100, 10, 10);
  Game.DrawImg(0, 100, 100, 0);
  ASys.RenderBuffer();
  ASys.DrawTo = 0;
  ASys.Button[kButtonScreenshot] = 1;
  std::remove("Screenshot.png");
  testing::internal::CaptureStdout();
  ASys.RenderSys();
  Game.TakeScreenshot();
  const std::string log = testing::internal::GetCapturedStdout();
  ASys.Button[kButtonScreenshot] = 0;
  EXPECT_EQ(glCalls, 0);
  EXPECT_EQ(ASys.PolyCount, 0);
  EXPECT_FALSE(FileExists("Screenshot.png"));
  EXPECT_NE(log.find("No window"), std::string::npos) << log;
}

// Records that name no usable image are refused before any GL call and
// keep their frame number (only drawable records are corrected).
TEST_F(ImageSaving, UndrawableImageRecordsMakeNoGlCalls) {
  iFrames[42] = -1;  // never loaded
  const double images[] = {-1, 100, 1e300, -1e300, std::nan(""), 42};
  for (double image : images) {
    DrawR[kSlotImage] = image;
    DrawR[kSlotFrame] = 77;
    ASys.PolyCount = 0;
    ASys.RenderImage(0);
    ASys.RenderQuadImage(0);
    EXPECT_EQ(DrawR[kSlotFrame], 77) << image;
    EXPECT_EQ(ASys.PolyCount, 0) << image;
  }
  EXPECT_EQ(glCalls, 0);
}

}  // namespace
