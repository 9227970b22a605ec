// What the game runs on, as the program itself sees it: the renderer and
// version strings of the window's own GL context (GLRenderer, GLVersion) and
// the size of the display that full screen fills (MonitorWidth,
// MonitorHeight). Games write these beside their results so that runs on
// different machines can be compared.
// Relies on the window handle (frame/Window.cpp), the session (frame/Session.h) and on the display
// seam (PlatformMonitorSize, frame/Platform.h): without a window there is no context, and the
// display may not be up, so every query gives "" or 0.
#include <GLFW/glfw3.h>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/Session.h"
#include "frame/Window.h"
#include "util/TextBuffer.h"

namespace {

// Copies of the strings: a context's own strings go with the context, and
// every window re-creation (full screen, size presets) makes a new one.
char GLRendererText[kTextBufferSize];
char GLVersionText[kTextBufferSize];

const char* GLText(GLenum name, char (&copy)[kTextBufferSize]) {
  const GLubyte* text = window != nullptr ? glGetString(name) : nullptr;
  CopyText(copy, reinterpret_cast<const char*>(text));
  return copy;
}

// The display's width (or height); 0 when it cannot be known.
int MonitorSide(bool width) {
  int w = 0;
  int h = 0;
  if (window == nullptr || !PlatformMonitorSize(&w, &h)) return 0;
  return width ? w : h;
}

}  // namespace

const char* VeskCore::GLRenderer() { return GLText(GL_RENDERER, GLRendererText); }

const char* VeskCore::GLVersion() { return GLText(GL_VERSION, GLVersionText); }

// Recordings keep the sizes, so a replay on another display sees the same.
int VeskCore::MonitorWidth() { return SessionOther(MonitorSide(true)); }

int VeskCore::MonitorHeight() { return SessionOther(MonitorSide(false)); }
