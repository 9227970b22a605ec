// Internal header of frame/: the one window and its caption. Owned by
// frame/Window.cpp; the engine core, the render pass, the screenshot and the
// input poll read the handle and check it before every window call.
#ifndef VESKFRAME_WINDOW_H
#define VESKFRAME_WINDOW_H

#include "VeskFrame.h"  // kTextBufferSize

struct GLFWwindow;

extern GLFWwindow* window;  // null before the first SetScreen, after a failed one and after Close
extern int isFullscreen;    // 0 windowed, 1 full screen on the primary monitor
extern char GameTitleSys[kTextBufferSize];  // the window caption
// The window's framebuffer size in pixels, as it was when the window was
// made and as GLFW's event pump has reported it since (0 x 0 while a window
// is minimised); 0 x 0 without a window. Kept from the events so that a
// render pass need not ask the display server for it.
extern int FramebufferWidth;
extern int FramebufferHeight;

#endif  // VESKFRAME_WINDOW_H
