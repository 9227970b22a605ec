// Helpers of the render tests (see render_scene.h).
#include "graphics/render_scene.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kShotFile = "Screenshot.png";

}  // namespace

Rgb Shot::AtPixel(int px, int py) const {
  if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) {
    ADD_FAILURE() << "pixel (" << px << ", " << py << ") outside " << picture.width << "x"
                  << picture.height;
    return {-1, -1, -1};
  }
  const vftest::Rgba c = picture.At(px, py);
  return {c.r, c.g, c.b};
}

Rgb Shot::At(float x, float y) const {
  const float scale = static_cast<float>(picture.width) / vftest::kViewWidth;
  return AtPixel(static_cast<int>(x * scale), static_cast<int>(y * scale));
}

bool LoadShot(Shot& shot) { return vftest::LoadPng(kShotFile, &shot.picture, &shot.format); }

bool ShowFrame(VeskCore& game, Shot& shot) {
  game.BufferGame();
  float width = 0.0f;
  float height = 0.0f;
  game.RenderGame(width, height);
  std::remove(kShotFile);
  game.TakeScreenshot();
  return LoadShot(shot);
}

void KeepShot(const std::string& name) {
  const std::string target = name + "-actual.png";
  std::error_code error;
  std::filesystem::copy_file(kShotFile, target, std::filesystem::copy_options::overwrite_existing,
                             error);
  std::printf("kept the frame as %s/%s\n", std::filesystem::current_path().c_str(), target.c_str());
}

::testing::AssertionResult Near(const Rgb& actual, int r, int g, int b, int tolerance) {
  if (std::abs(actual.r - r) <= tolerance && std::abs(actual.g - g) <= tolerance &&
      std::abs(actual.b - b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected (" << r
         << ", " << g << ", " << b << ") within " << tolerance;
}
