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
#include "graphics/record_fixture.h"
#include "support/Png.h"

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

using vftest::StdoutOf;

class OffscreenGame : public VeskCore {};
OffscreenGame Game;

bool FileExists(const char* name) {
  FILE* f = std::fopen(name, "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

using ImageRecording = RecordTest;

TEST_F(ImageRecording, DrawImgStoresCentreSizeImageFrameAndState) {
  Game.SetCol(10, 20, 30, 0.5f);
  Game.SetRot(30);
  Game.DrawImg(5, 116, 316, 1);
  Game.SetSize(2, -1);  // mirrored vertically: the stored vertical size turns positive
  Game.DrawImg(7, 0, 0, 3);
  ASSERT_EQ(ASys.DrawTo, 2);
  EXPECT_EQ(Slot(0, kSlotKind), kCmdImage);
  EXPECT_EQ(Slot(0, kSlotX), 116 - kTestHalfWidth);
  EXPECT_EQ(Slot(0, kSlotY), 316 - kTestHalfHeight);
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
  EXPECT_EQ(Slot(1, kSlotX), -kTestHalfWidth);
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
    EXPECT_EQ(Slot(0, SlotCornerX(c)), 1 + 2 * c - kTestHalfWidth) << "corner " << c;
    EXPECT_EQ(Slot(0, SlotCornerY(c)), 2 + 2 * c - kTestHalfHeight) << "corner " << c;
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
    const std::string log = StdoutOf([&] { ASys.SavePNG("round.png", kScreenshotSlot, 3, 2); });
    EXPECT_NE(log.find("> Saving Image - 3x2  ~ round.png\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("didn't work"), std::string::npos) << log;
    vftest::Picture saved;
    vftest::PngFormat format;
    ASSERT_TRUE(vftest::LoadPng("round.png", &saved, &format));
    EXPECT_EQ(format.colorType, LCT_RGBA);
    EXPECT_EQ(format.bitDepth, 8u);
    EXPECT_EQ(saved.width, 3);
    EXPECT_EQ(saved.height, 2);
    EXPECT_EQ(saved.rgba, Image[kScreenshotSlot]);
  }
}

TEST_F(ImageSaving, ReportsAFileThatCannotBeWritten) {
  Image[kScreenshotSlot] = Pixels(2, 2, true);
  const std::string log =
      StdoutOf([&] { ASys.SavePNG("no-such-folder/shot.png", kScreenshotSlot, 2, 2); });
  const std::string message = "The image save didn't work.  All the images are unsaved!! ";
  const size_t at = log.find(message);
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_NE(log[at + message.size()], '0');  // a library error code, never 0
}

TEST_F(ImageSaving, RefusesEntriesThatDoNotHoldTheImage) {
  Image[kScreenshotSlot] = Pixels(2, 2, true);
  std::remove("small.png");
  const std::string log = StdoutOf([&] {
    ASys.SavePNG("small.png", kScreenshotSlot, 4, 4);  // 16 bytes for a 64-byte image
    ASys.SavePNG("small.png", -1, 2, 2);
    ASys.SavePNG("small.png", kImageTableSize, 2, 2);
    ASys.SavePNG("small.png", kScreenshotSlot, 0x40000000u, 0x40000000u);  // size overflows 32 bits
    ASys.SavePNG(nullptr, kScreenshotSlot, 2, 2);
  });
  EXPECT_FALSE(FileExists("small.png"));
  EXPECT_NE(log.find("fewer than 4x4 pixels"), std::string::npos) << log;
  EXPECT_NE(log.find("no image -1"), std::string::npos) << log;
  EXPECT_NE(log.find("no image 105"), std::string::npos) << log;
}

TEST_F(ImageSaving, NoWindowMeansNoGlCallsAndNoScreenshot) {
  Game.ResetDraw();
  rw2 = kTestHalfWidth;
  rh2 = kTestHalfHeight;
  ASys.DrawTo = 0;
  Game.Rect(100, 100, 10, 10);
  Game.DrawImg(0, 100, 100, 0);
  ASys.RenderBuffer();
  ASys.DrawTo = 0;
  ASys.Button[kButtonScreenshot] = 1;
  std::remove("Screenshot.png");
  const std::string log = StdoutOf([&] {
    ASys.RenderSys();
    Game.TakeScreenshot();
  });
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
