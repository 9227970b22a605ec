// The display side of the operating-system seam (see Platform.h) on the
// desktops, Linux and Windows alike: GLFW's primary monitor, its windows,
// their focus and swap, and the GL 1.x texture format and polygon mode. Relies on the
// window handle (frame/Window.h) and on GLFW having been initialised by
// SysInit.
#include <GLFW/glfw3.h>

#include "frame/Platform.h"
#include "frame/Window.h"

const int kTextureInternalFormat = 4;  // "4 components" of GL 1.x
const bool kPlatformPolygonMode = true;

bool PlatformMonitorSize(int* width, int* height) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  if (mode == nullptr) return false;
  *width = mode->width;
  *height = mode->height;
  return true;
}

GLFWwindow* PlatformOpenWindow(int width, int height, const char* title, bool fullscreen) {
  GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
  if (fullscreen && monitor == nullptr) return nullptr;
  GLFWwindow* created = glfwCreateWindow(width, height, title, monitor, nullptr);
  if (created == nullptr) return nullptr;
  glfwSetInputMode(created, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
  glfwSetInputMode(created, GLFW_STICKY_KEYS, GLFW_FALSE);
  glfwSetInputMode(created, GLFW_STICKY_MOUSE_BUTTONS, GLFW_FALSE);
  return created;
}

bool PlatformWindowFocused() {
  return window != nullptr && glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0;
}

void PlatformShowFrame(GLFWwindow* shown) { glfwSwapBuffers(shown); }
