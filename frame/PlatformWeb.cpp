// The operating-system seam (see Platform.h) in the browser, for a game
// built with emscripten into a page: the clock is the page's, files live in
// the page's memory (its data preloaded), GLFW draws into the page's canvas
// over WebGL, and the page stands for the monitor.
// - The monitor's size is the page's visible area (the browser window's inner
//   size, which is the screen once the browser shows the page full screen).
// - Full screen asks the browser for it (granted only during a key press or a
//   click, so the request is repeated at the next one) and meanwhile lets the
//   canvas fill the page; leaving it gives the canvas back its window size.
// - Focus is the document's. A page cannot sleep: PlatformSleepMs returns.
// - The working folder is that of the page's file system, "/" unless the
//   page changes it.
// The page keeps F-keys, Alt, Space and the arrows for the game.
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <unistd.h>  // Required for: getcwd

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/Window.h"

const int kTextureInternalFormat = GL_RGBA;  // WebGL refuses "4 components"
const bool kPlatformPolygonMode = false;     // WebGL has no polygon mode

// The page side, in frame/web/platform.js.
extern "C" {
void vf_page_install();
int vf_page_width();
int vf_page_height();
int vf_page_has_focus();
void vf_page_fill(int on);
}

namespace {

// Taken during static initialisation, i.e. when the page starts the program.
const double kProcessStart = emscripten_get_now();

constexpr int kFolderNameBytes = 4096;  // the longest path name the page's file system takes

}  // namespace

int PlatformClockMs() { return static_cast<int>(emscripten_get_now() - kProcessStart); }

void PlatformSleepMs(int /*ms*/) {}

FILE* PlatformOpenFile(const char* path, const char* mode) {
  char binary[kFileModeLength];
  if (path == nullptr || !BinaryFileMode(mode, binary)) return nullptr;
  return std::fopen(path, binary);
}

std::string PlatformWorkingFolder() {
  char folder[kFolderNameBytes];
  return getcwd(folder, sizeof folder) != nullptr ? std::string(folder) : std::string();
}

// ---- Display ----

bool PlatformMonitorSize(int* width, int* height) {
  *width = vf_page_width();
  *height = vf_page_height();
  return *width > 0 && *height > 0;
}

GLFWwindow* PlatformOpenWindow(int width, int height, const char* title, bool fullscreen) {
  vf_page_install();
  // Without alpha in the canvas, blended pixels cannot let the page show
  // through.
  glfwWindowHint(GLFW_ALPHA_BITS, 0);
  GLFWwindow* created = glfwCreateWindow(width, height, title, nullptr, nullptr);
  if (created == nullptr) return nullptr;
  // WebGL has no default texture object (texture 0 of desktop GL), which
  // every upload and draw of the render pass uses: bind one in its place.
  // Edges are clamped, as WebGL samples other sizes than powers of two only
  // so; texture coordinates stay within the texture anyway.
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  vf_page_fill(fullscreen ? 1 : 0);
  return created;
}

bool PlatformWindowFocused() { return window != nullptr && vf_page_has_focus() != 0; }

// The swap itself does nothing here: the page shows the canvas when the
// animation frame ends. WebGL hands the frame's commands to the browser's GL
// process, which queues several frames; a heavy test's queued frames would
// be drawn during the next test's clock (measured: seconds of it). Reading
// one pixel back waits until this frame has been drawn, as a desktop swap
// does. glFinish does not wait in WebGL.
void PlatformShowFrame(GLFWwindow* shown) {
  glfwSwapBuffers(shown);
  unsigned char pixel[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}
