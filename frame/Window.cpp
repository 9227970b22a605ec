// Window and display: platform start-up (SysInit), window creation and
// re-creation (SetScreen), the window / full-screen switch (FlipFull),
// platform shutdown (Close) and the GLFW error callback.
// Owns the GLFW window handle, the full-screen flag, the window caption and
// the framebuffer size reported by GLFW.
// Relies on the display seam (frame/Platform.h: monitor size, window
// creation), the audio device (OpenAudio/CloseAudio, audio/), the console log
// (Debuglog, util/) and the image tables (graphics/ImageStore.cpp).
// Every GLFW call that needs the window checks that there is one first.
#include "frame/Window.h"

#include <GLFW/glfw3.h>

#include <cstring>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "graphics/ImageStore.h"
#include "graphics/Records.h"
#include "util/TextBuffer.h"

GLFWwindow* window;
int isFullscreen;
char GameTitleSys[kTextBufferSize];
int FramebufferWidth;
int FramebufferHeight;

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kFirstWidth = 256;
constexpr int kFirstHeight = 128;

void error_callback(int /*code*/, const char* description) {
  std::fprintf(stderr, "Error: %s\n", description);
}

void framebuffer_size_callback(GLFWwindow* /*changed*/, int width, int height) {
  FramebufferWidth = width;
  FramebufferHeight = height;
}

// Destroys the window, if there is one, and forgets its framebuffer size.
void DestroyWindow() {
  if (window != nullptr) {
    glfwDestroyWindow(window);
    window = nullptr;
  }
  FramebufferWidth = 0;
  FramebufferHeight = 0;
}

}  // namespace

void VeskSys::SysInit(const char* title) {
  CopyText(GameTitleSys, title);
  FlushKeys();
  TargetScale = kViewWidthUnits;
  if (!glfwInit()) Debuglog("Initialisation Failed");
  glfwSetErrorCallback(error_callback);
  ResetImages();
  std::memset(Button, 0, sizeof(Button));
  std::memset(Touch, 0, sizeof(Touch));
  std::memset(Joy, 0, sizeof(Joy));
  isFullscreen = 0;
  SetScreen(kFirstWidth, kFirstHeight);
  OpenAudio();
  SetScreen(kDefaultWidth, kDefaultHeight);
}

void VeskSys::SetScreen(int width, int height) {
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  DestroyWindow();
  // Without GLFW (failed initialisation) there is no monitor.
  int monitorWidth = 0;
  int monitorHeight = 0;
  const bool haveMonitor = PlatformMonitorSize(&monitorWidth, &monitorHeight);
  if (isFullscreen == 0) {
    // A size GLFW cannot take is refused here rather than handed on.
    if (width > 0 && height > 0) window = PlatformOpenWindow(width, height, GameTitleSys, false);
    if (window != nullptr && haveMonitor) {
      glfwSetWindowPos(window, monitorWidth / 2 - width / 2, monitorHeight / 2 - height / 2);
    }
    // Reported only when it is true: a failed creation logs "ERRORRZ" alone.
    if (window != nullptr) Debuglog("Opened Window");
  } else {
    if (haveMonitor) window = PlatformOpenWindow(monitorWidth, monitorHeight, GameTitleSys, true);
    if (window != nullptr) Debuglog("Opened Fullscreen");
  }
  CanvasWidth = width;
  CanvasHeight = height;
  if (window == nullptr) {
    Debuglog("ERRORRZ");
    return;
  }
  glfwMakeContextCurrent(window);
  glViewport(0, 0, CanvasWidth, CanvasHeight);
  glfwGetFramebufferSize(window, &FramebufferWidth, &FramebufferHeight);
  glfwSetFramebufferSizeCallback(window, framebuffer_size_callback);
}

void VeskSys::FlipFull() {
  isFullscreen = 1 - isFullscreen;
  SetScreen(kDefaultWidth, kDefaultHeight);
}

void VeskSys::Close() {
  CloseAudio();
  Debuglog("Closing OpenGL Window");
  DestroyWindow();
  glfwTerminate();
}
