// Helpers of the render tests: writing test PNGs into the data folder,
// driving one frame through the framework (hand-over, render pass,
// "Screenshot.png") and reading pixels back in drawing units.
#ifndef VESKFRAME_TESTS_RENDER_SCENE_H
#define VESKFRAME_TESTS_RENDER_SCENE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VeskFrame.h"

struct Rgb {
  int r, g, b;
};

// A decoded "Screenshot.png".
struct Shot {
  unsigned width = 0;
  unsigned height = 0;
  unsigned colorType = 0;  // of the file, as lodepng reads it
  unsigned bitDepth = 0;
  std::vector<unsigned char> rgba;

  // Pixel at drawing units (x, y) of an 800-unit wide view.
  Rgb At(float x, float y) const;
  Rgb AtPixel(int px, int py) const;
  int Alpha(int px, int py) const;
};

// Writes RGBA pixels as Data/<game>/<name>.png, making the folder.
bool SavePngFile(int game, const std::string& name, const std::vector<unsigned char>& rgba, int w,
                 int h);

// Writes an RGBA PNG of w x h pixels to Data/<game>/<name>.png; pixel(x, y)
// gives each pixel as {r, g, b, a}.
template <class F>
void WritePng(int game, const std::string& name, int w, int h, F pixel) {
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      const std::vector<unsigned char> p = pixel(x, y);
      for (int c = 0; c < 4; c++) rgba[(static_cast<size_t>(y) * w + x) * 4 + c] = p[c];
    }
  }
  ASSERT_TRUE(SavePngFile(game, name, rgba, w, h)) << name;
}

// Reads "Screenshot.png" of the working directory.
bool LoadShot(Shot& shot);

// Hands the recorded list over, runs one render pass and saves the
// presented frame with TakeScreenshot; false when no file came out.
bool ShowFrame(VeskCore& game, Shot& shot);

// Keeps the last screenshot as <name>-actual.png next to the test output.
void KeepShot(const std::string& name);

// Colour close to (r, g, b) within tolerance per channel.
::testing::AssertionResult Near(const Rgb& actual, int r, int g, int b, int tolerance);

#endif  // VESKFRAME_TESTS_RENDER_SCENE_H
