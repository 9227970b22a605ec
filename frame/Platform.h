// Internal header of frame/: the operating-system seam. Everything the
// library asks of the operating system beyond the window, GL and audio
// libraries goes through these calls: the clock, sleeping, opening files and
// the working folder, and the display questions that a browser page answers
// otherwise than a desktop (the monitor, the window's creation and focus,
// showing a frame, GL's texture format and polygon mode). frame/PlatformDesktop.cpp
// implements the first for Linux, frame/PlatformWindows.cpp for Windows, and
// frame/DisplayDesktop.cpp the display for both through GLFW;
// frame/PlatformWeb.cpp implements all of it for the browser. CMakeLists.txt
// picks the files.
#ifndef VESKFRAME_PLATFORM_H
#define VESKFRAME_PLATFORM_H

#include <cstdio>
#include <cstring>
#include <string>

struct GLFWwindow;

// Monotonic wall-clock time in milliseconds since process start. An int holds
// about 24 days of run time.
int PlatformClockMs();

// Sleeps for ms milliseconds; returns at once for ms <= 0.
void PlatformSleepMs(int ms);

// std::fopen, always in binary mode (a 'b' is added to `mode` when it has
// none); null for a null path or a file that does not open.
FILE* PlatformOpenFile(const char* path, const char* mode);

// The working folder, where the relative paths of the data folder start, in
// UTF-8; "" when it cannot be known.
std::string PlatformWorkingFolder();

// The binary form of an fopen mode, shared by the ports: `mode` (at most
// kFileModeLength - 2 of its characters) with a 'b' added when it has none.
// False for a null mode.
constexpr int kFileModeLength = 8;  // longer than any fopen mode ("r+b" and the like)
inline bool BinaryFileMode(const char* mode, char (&binary)[kFileModeLength]) {
  if (mode == nullptr) return false;
  std::memset(binary, 0, sizeof binary);
  std::strncpy(binary, mode, kFileModeLength - 2);
  if (std::strchr(binary, 'b') == nullptr) std::strcat(binary, "b");
  return true;
}

// ---- Display ----

// Size in pixels of the display that windows are centred on and that full
// screen fills (the primary monitor's video mode); false when it cannot be
// known.
bool PlatformMonitorSize(int* width, int* height);

// Creates the one window and its GL context, windowed or full screen, with a
// normal cursor and no sticky keys or buttons; null when that fails.
GLFWwindow* PlatformOpenWindow(int width, int height, const char* title, bool fullscreen);

// Whether the window has the input focus.
bool PlatformWindowFocused();
// Shows the frame drawn into the back buffer (the swap) and returns once it
// has been drawn, so that a render step's time is the time of its drawing.
// A desktop swap waits by itself; a browser runs GL in another process that
// lets frames queue up, so a heavy frame's drawing would run on into the
// steps that follow it.
void PlatformShowFrame(GLFWwindow* shown);

// Internal format of every texture upload.
extern const int kTextureInternalFormat;

// Whether GL draws polygons as outlines (glPolygonMode), for the wireframe
// view; without it the render pass draws each triangle's edges as lines.
extern const bool kPlatformPolygonMode;

#endif  // VESKFRAME_PLATFORM_H
