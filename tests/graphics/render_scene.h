// Helpers of the render tests: writing test PNGs into the data folder,
// driving one frame through the framework (hand-over, render pass,
// "Screenshot.png") and reading pixels back in drawing units.
#ifndef VESKFRAME_TESTS_RENDER_SCENE_H
#define VESKFRAME_TESTS_RENDER_SCENE_H

#include <gtest/gtest.h>

#include <string>

#include "VeskFrame.h"
#include "support/Png.h"
#include "support/Scene.h"

struct Rgb {
  int r, g, b;
};

// A decoded "Screenshot.png".
struct Shot {
  vftest::Picture picture;
  vftest::PngFormat format;  // of the file

  // Pixel at drawing units (x, y) of an 800-unit wide view.
  Rgb At(float x, float y) const;
  Rgb AtPixel(int px, int py) const;
};

// Writes a w x h picture to Data/<game>/<name>.png; pixel(x, y) gives each
// pixel as vftest::Rgba.
template <class F>
void WriteImage(int game, const std::string& name, int w, int h, F pixel) {
  vftest::Picture picture(w, h);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) picture.Set(x, y, pixel(x, y));
  }
  ASSERT_TRUE(vftest::WritePng("Data/" + std::to_string(game) + "/" + name + ".png", picture))
      << name;
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
