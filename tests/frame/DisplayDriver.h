// Shared by the tests that drive a real window on the virtual display: a
// minimal game that runs the standard loop pass, loop helpers that wait for
// a condition with a generous deadline instead of fixed sleeps, and xdotool.
#ifndef VESKFRAME_TESTS_DISPLAY_DRIVER_H
#define VESKFRAME_TESTS_DISPLAY_DRIVER_H

#include <GLFW/glfw3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "VeskFrame.h"

// Polls, records nothing but the overlay and hands over like a real game.
struct DriverGame : VeskCore {
  float ViewWidth;
  float ViewHeight;
  int Updates;

  void Update() {
    PollInput();
    ResetDraw();
    BufferGame();
    Updates++;
  }
  void Render() { RenderGame(ViewWidth, ViewHeight); }
};

constexpr int kWaitMs = 10000;

// Opens the game's window with a caption that names the test and this
// process, its first update and render due at once; returns the caption.
inline std::string OpenDriverWindow(DriverGame& game, const std::string& test) {
  const std::string title = "vf-" + test + "-" + std::to_string(getpid());
  game.Begin(1, title.c_str());
  game.NextUpdate = 0;
  game.NextRender = 0;
  return title;
}

// Runs loop passes until done() holds; false when the deadline passed first.
template <class G, class Done>
bool RunUntil(G& game, Done done, int timeoutMs = kWaitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    VeskKeepAlive(game);
  }
  return true;
}

// Runs loop passes for about ms milliseconds (keeps polling while a key is held).
template <class G>
void RunFor(G& game, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) VeskKeepAlive(game);
}

inline int Xdo(const std::string& args) {
  return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str());
}

// Runs loop passes until done() holds, asking the window manager to activate
// the X window windowId now and again: a request made before the window
// manager has taken a new window on can be lost.
template <class G, class Done>
bool ActivateUntil(G& game, const std::string& windowId, Done done, int timeoutMs = kWaitMs) {
  constexpr int kRetryMs = 500;
  for (int waited = 0; waited < timeoutMs; waited += kRetryMs) {
    Xdo("windowactivate " + windowId);
    if (RunUntil(game, done, kRetryMs)) return true;
  }
  return false;
}

// First line of a shell command's output, without the newline.
inline std::string FirstLine(const std::string& command) {
  std::string line;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return line;
  char buffer[256];
  if (std::fgets(buffer, sizeof(buffer), out) != nullptr) line = buffer;
  pclose(out);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// X window id of the window whose caption is exactly title, or "" if none
// appears within a few seconds.
inline std::string FindWindow(const std::string& title) {
  return FirstLine("timeout 10 xdotool search --sync --name '^" + title + "$' 2>/dev/null");
}

inline const GLFWvidmode* PrimaryMode() { return glfwGetVideoMode(glfwGetPrimaryMonitor()); }

#endif  // VESKFRAME_TESTS_DISPLAY_DRIVER_H
