// The real window on the virtual display: start-up state, centring, the
// caption, the published view, the GLFW error callback, full screen and back,
// the close request and shutdown. One window for the whole process, so the
// cases run in order on the one game object.
#include <gtest/gtest.h>

#include <string>

#include "frame/DisplayDriver.h"
#include "frame/Window.h"
#include "support/Output.h"

namespace {

using vftest::StderrOf;
using vftest::StdoutOf;

DriverGame Game;
std::string Title;

class Window : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Title = OpenDriverWindow(Game, "window-test"); }
};

// The window manager settles a new window's frame asynchronously, so the
// position is read once it has stopped changing.
void ExpectCentredDefaultWindow() {
  const GLFWvidmode* mode = PrimaryMode();
  ASSERT_NE(mode, nullptr);
  const int wantX = mode->width / 2 - 400, wantY = mode->height / 2 - 300;
  int w = 0, h = 0, x = 0, y = 0;
  RunUntil(
      Game,
      [&] {
        glfwGetWindowPos(window, &x, &y);
        return x == wantX && y == wantY;
      },
      3000);
  glfwGetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(x, wantX);
  EXPECT_EQ(y, wantY);
  EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
}

TEST_F(Window, StartsAsCentredDefaultWindowWithTablesReset) {
  ASSERT_NE(window, nullptr);
  // Nothing is published before the first render pass.
  EXPECT_EQ(rw2, 0);
  EXPECT_EQ(ViewScale, 0.0f);
  EXPECT_EQ(isFullscreen, 0);
  // Start-up values, read before any pass runs: a pass polls the input and
  // Active then follows the window's focus, which the window manager may not
  // have given yet.
  EXPECT_EQ(Game.Active, 1);
  EXPECT_EQ(Game.DebugMode, 1);
  EXPECT_EQ(Game.MixJoy, 1);
  EXPECT_EQ(Game.ScreenshotMode, 0);
  EXPECT_EQ(Game.GetNum(), 1);
  EXPECT_EQ(ASys.CanvasWidth, 800);
  EXPECT_EQ(ASys.CanvasHeight, 600);
  EXPECT_EQ(ASys.TargetScale, 800.0f);
  ASSERT_EQ(WhiteBlock.size(), 256u);
  for (unsigned char byte : WhiteBlock) ASSERT_EQ(byte, 255);
  for (int frames : iFrames) ASSERT_EQ(frames, -1);
  ExpectCentredDefaultWindow();
}

TEST_F(Window, CaptionKeepsTheTitleGivenToBegin) {
  EXPECT_STREQ(Game.GetTitle(), Title.c_str());
  Game.SetTitle("A later title");
  EXPECT_STREQ(Game.GetTitle(), "A later title");
  EXPECT_FALSE(FindWindow(Title).empty());
}

TEST_F(Window, FirstPassesGiveFocusAndPublishTheView) {
  ASSERT_TRUE(RunUntil(Game, [] { return Game.Updates > 0 && rw2 != 0 && Game.Active == 1; }));
  EXPECT_EQ(rw2, 400);
  EXPECT_EQ(rh2, 300);
  EXPECT_FLOAT_EQ(ViewScale, 0.0025f);
  EXPECT_FLOAT_EQ(Game.ViewWidth, 800);
  EXPECT_FLOAT_EQ(Game.ViewHeight, 600);
  EXPECT_FLOAT_EQ(ASys.Ratio, 800.0f / 600.0f);
}

TEST_F(Window, BufferGameRecordsTheOverlayOnlyInDebugModeAndHandsOver) {
  ASSERT_NE(rw2, 0) << "needs a render pass first";
  Game.DebugMode = 0;
  ASys.DrawDropped = 3;
  Game.ResetDraw();
  Game.BufferGame();
  EXPECT_EQ(DrawToRT, 0);
  EXPECT_EQ(ASys.DrawTo, 0);
  EXPECT_EQ(ASys.DrawDropped, 0);
  EXPECT_EQ(Game.PolyCountR, ASys.PolyCount);

  Game.DebugMode = 1;
  Game.UpdateCount = 61;
  Game.RenderCount = 59;
  Game.PolyCountR = 1234;
  Game.ResetDraw();
  Game.BufferGame();
  EXPECT_STREQ(Game.Tempstr, "Update 61fps - Render 59fps - Polys 1234");
  ASSERT_GT(DrawToRT, 0);
  for (int i = 0; i < DrawToRT; i++) ASSERT_EQ(DrawR[i * kRecordSlots], kCmdImage) << i;
  EXPECT_EQ(ASys.DrawTo, 0);
}

TEST_F(Window, GlfwErrorsGoToStandardErrorWithoutTheCode) {
  const std::string captured = StderrOf([&] { EXPECT_EQ(glfwGetKey(window, -5), GLFW_RELEASE); });
  EXPECT_EQ(captured, "Error: Invalid key -5\n");
}

// The strings are the window's own context's, and the game's copies stay
// readable, and the same, after the window and its context are made again.
TEST_F(Window, ReportsItsGLStringsAndTheMonitorsSize) {
  const GLFWvidmode* mode = PrimaryMode();
  ASSERT_NE(mode, nullptr);
  const char* renderer = Game.GLRenderer();
  const std::string first = renderer;
  const std::string version = Game.GLVersion();
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(first, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  EXPECT_EQ(version, reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  ASSERT_FALSE(version.empty());
  EXPECT_GE(version[0], '2') << version;  // the 2.0 context asked for, or later
  EXPECT_EQ(Game.MonitorWidth(), mode->width);
  EXPECT_EQ(Game.MonitorHeight(), mode->height);

  ASys.SetScreen(640, 480);
  ASys.SetScreen(800, 600);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(std::string(renderer), first);
  EXPECT_EQ(std::string(Game.GLRenderer()), first);
  ExpectCentredDefaultWindow();
}

TEST_F(Window, FullScreenTakesTheMonitorAndReturnsToCentredDefault) {
  const GLFWvidmode* mode = PrimaryMode();
  ASSERT_NE(mode, nullptr);
  const int monitorW = mode->width, monitorH = mode->height;
  Game.FlipFullscreen();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(isFullscreen, 1);
  EXPECT_NE(glfwGetWindowMonitor(window), nullptr);
  // The requested size stands until a render pass reads the framebuffer.
  EXPECT_EQ(ASys.CanvasWidth, 800);
  EXPECT_EQ(ASys.CanvasHeight, 600);
  // The window manager applies the full-screen state a moment later.
  int w = 0, h = 0;
  EXPECT_TRUE(RunUntil(Game,
                       [&] {
                         glfwGetWindowSize(window, &w, &h);
                         return w == monitorW && h == monitorH;
                       }))
      << w << " x " << h;
  ASSERT_TRUE(RunUntil(Game, [&] { return ASys.CanvasWidth == monitorW; }));
  EXPECT_EQ(ASys.CanvasHeight, monitorH);
  EXPECT_EQ(rw2, 400);
  EXPECT_EQ(rh2, static_cast<int>(800.0f / (static_cast<float>(monitorW) / monitorH) / 2));

  Game.FlipFullscreen();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(isFullscreen, 0);
  ExpectCentredDefaultWindow();
  ASSERT_TRUE(RunUntil(Game, [] { return rh2 == 300; }));
}

TEST_F(Window, CloseRequestEndsTheLoopThroughThePoll) {
  Game.GameBreak = 0;
  glfwSetWindowShouldClose(window, GLFW_TRUE);
  ASSERT_TRUE(RunUntil(Game, [] { return Game.GameBreak == 1; }));
  EXPECT_EQ(ASys.IsBut(kButtonQuit), 1);
}

TEST_F(Window, TerminateClosesTheWindowAndSaysFarewell) {
  const std::string out = StdoutOf([&] { Game.Terminate(); });
  EXPECT_EQ(window, nullptr);
  const size_t closing = out.find("> Closing OpenGL Window\n");
  const size_t ran = out.find("Ran for ");
  const size_t farewell = out.find("Farewell happy gamer\n-=-=-=-=-=-=-=-=-\n\n");
  EXPECT_NE(closing, std::string::npos) << out;
  EXPECT_NE(ran, std::string::npos) << out;
  EXPECT_NE(farewell, std::string::npos) << out;
  EXPECT_LT(closing, ran);
  EXPECT_LT(ran, farewell);
}

}  // namespace
