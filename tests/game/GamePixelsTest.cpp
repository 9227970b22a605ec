// What the benchmark puts on the screen, read back through the framework's
// own screenshot: the corner markers in the four corners, the texts centred,
// the 800 x 600 window before test 8 and the monitor's size from test 8 on.
// The game is driven in-process (DoGame, BufferGame, Render), so the frame
// is known; on a mismatch the screenshot is kept as failed-<test>.png.
#include <GLFW/glfw3.h>

#include <chrono>
#include <thread>

#include "GameKit.h"
#include "support/Png.h"

MyGame ThisGame;
void Heartbeat() { ThisGame.KeepAlive(); }

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr double kColourTolerance = 12;

using vftest::Picture;

Picture LoadPicture(const std::string& path) {
  Picture p;
  EXPECT_TRUE(vftest::LoadPng(path, &p)) << path;
  return p;
}

// Mean red, green and blue over a square of pixels.
void MeanColour(const Picture& p, int x0, int y0, int side, double out[3]) {
  out[0] = out[1] = out[2] = 0;
  for (int y = y0; y < y0 + side; y++) {
    for (int x = x0; x < x0 + side; x++) {
      const vftest::Rgba px = p.At(x, y);
      out[0] += px.r;
      out[1] += px.g;
      out[2] += px.b;
    }
  }
  for (int c = 0; c < 3; c++) out[c] /= side * side;
}

// Grey text pixels (the glyphs tinted 125): not the green background, not
// the dark glyph outline.
bool IsTextPixel(const vftest::Rgba& px) {
  return px.r >= 60 && px.r <= 150 && std::abs(px.r - px.g) < 25 && std::abs(px.r - px.b) < 25;
}

class GamePixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartGameOnWindow(); }
  static void TearDownTestSuite() { ThisGame.Terminate(); }

  // Records one tick, hands over what it drew up to its last text and
  // renders that a few times. The orbiters come after the texts and circle
  // the centre at an angle that follows the clock: left in, they would
  // cover some glyphs and bring grey pixels of their own into the text
  // probe. Everything this test checks is drawn before them.
  void ShowTick(int test, int tick) {
    const std::vector<Record> records = RecordTick(test, tick);
    int texts = 0;
    for (size_t i = 0; i < records.size(); i++) {
      if (records[i].IsImage(kFontImage)) texts = static_cast<int>(i) + 1;
    }
    ASSERT_GT(texts, 0) << "no text recorded";
    ASys.DrawTo = texts;
    ThisGame.BufferGame();
    for (int pass = 0; pass < 3; pass++) ThisGame.Render();
  }

  Picture Shot() {
    std::remove("Screenshot.png");
    ThisGame.TakeScreenshot();
    Picture p = LoadPicture("Screenshot.png");
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    keep = "failed-" + name + ".png";
    std::rename("Screenshot.png", keep.c_str());
    return p;
  }

  void TearDown() override {
    if (!HasFailure() && !keep.empty()) std::remove(keep.c_str());
  }

  // Each corner holds its marker: compare the central 16 x 16 units of the
  // marker with the same pixels of the sheet's frame.
  void ExpectCornerMarkers(const Picture& shot) {
    const Picture sheet = LoadPicture("Data/1/gfx-32.png");
    ASSERT_EQ(sheet.width % kSheetFrame, 0);
    const int perRow = sheet.width / kSheetFrame;
    const double scale = shot.width / ThisGame.ViewWidth;  // pixels per unit
    const double w = ThisGame.ViewWidth, h = ThisGame.ViewHeight;
    const double centres[4][2] = {{16, 16}, {w - 16, 16}, {w - 16, h - 16}, {16, h - 16}};
    for (int k = 0; k < 4; k++) {
      SCOPED_TRACE("corner " + std::to_string(k));
      const int frame = k + 1;
      double want[3], got[3];
      MeanColour(sheet, (frame % perRow) * kSheetFrame + 8, (frame / perRow) * kSheetFrame + 8, 16,
                 want);
      const int side = static_cast<int>(16 * scale);
      MeanColour(shot, static_cast<int>((centres[k][0] - 8) * scale),
                 static_cast<int>((centres[k][1] - 8) * scale), side, got);
      for (int c = 0; c < 3; c++) EXPECT_NEAR(got[c], want[c], kColourTolerance) << "channel " << c;
    }
  }

  // The text drawn around line y (drawing units) is centred on the view.
  void ExpectCentredText(const Picture& shot, double y) {
    const double scale = shot.width / ThisGame.ViewWidth;
    int left = shot.width, right = -1;
    for (int py = static_cast<int>((y - 6) * scale); py <= static_cast<int>((y + 6) * scale); py++)
      for (int px = 0; px < shot.width; px++)
        if (IsTextPixel(shot.At(px, py))) {
          left = std::min(left, px);
          right = std::max(right, px);
        }
    ASSERT_GE(right, 0) << "no text around y = " << y;
    EXPECT_NEAR((left + right) / 2.0, shot.width / 2.0, 4 * scale) << "y = " << y;
  }

  std::string keep;
};

TEST_F(GamePixels, WindowedTestShowsCornerMarkersAndCentredTexts) {
  ShowTick(0, 50);
  const Picture shot = Shot();
  ASSERT_EQ(shot.width, kWindowWidth);
  ASSERT_EQ(shot.height, kWindowHeight);
  ExpectCornerMarkers(shot);
  const double h = ThisGame.ViewHeight;
  ExpectCentredText(shot, h / 2 - 96);  // "Bim's Magic Benchmark"
  ExpectCentredText(shot, h / 2 - 32);  // "Testing is happening!!"
  ExpectCentredText(shot, h - 96);      // "Practically nothing"
}

TEST_F(GamePixels, TestEightSwitchesToTheMonitorsSize) {
  ShowTick(7, 300);  // the last tick of test 7 ends it
  ASSERT_EQ(ThisGame.TestNum, 8);
  const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor());
  ASSERT_NE(mode, nullptr);
  // The window manager applies the switch asynchronously.
  for (int wait = 0; wait < 100 && ASys.CanvasWidth != mode->width; wait++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ThisGame.Render();
  }
  // Sprites of test 8 would cover the corners: look at a later test without.
  ShowTick(13, 10);
  const Picture shot = Shot();
  ASSERT_EQ(shot.width, mode->width);
  ASSERT_EQ(shot.height, mode->height);
  EXPECT_FLOAT_EQ(ThisGame.ViewWidth, 800);
  EXPECT_NEAR(ThisGame.ViewHeight, 800.0 * mode->height / mode->width, 0.01);
  ExpectCornerMarkers(shot);
  ExpectCentredText(shot, ThisGame.ViewHeight - 96);  // "Streaming Wave"
}

}  // namespace
