// Helpers of the render tests (see render_scene.h).
#include "graphics/render_scene.h"

#include <lodepng.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr float kViewUnits = 800.0f;
constexpr const char* kShotFile = "Screenshot.png";

}  // namespace

Rgb Shot::AtPixel(int px, int py) const {
  if (px < 0 || py < 0 || px >= static_cast<int>(width) || py >= static_cast<int>(height)) {
    ADD_FAILURE() << "pixel (" << px << ", " << py << ") outside " << width << "x" << height;
    return {-1, -1, -1};
  }
  const size_t i = (static_cast<size_t>(py) * width + px) * 4;
  return {rgba[i], rgba[i + 1], rgba[i + 2]};
}

int Shot::Alpha(int px, int py) const {
  return rgba[(static_cast<size_t>(py) * width + px) * 4 + 3];
}

Rgb Shot::At(float x, float y) const {
  const float scale = static_cast<float>(width) / kViewUnits;
  return AtPixel(static_cast<int>(x * scale), static_cast<int>(y * scale));
}

bool SavePngFile(int game, const std::string& name, const std::vector<unsigned char>& rgba, int w,
                 int h) {
  const std::string folder = "Data/" + std::to_string(game);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return lodepng::encode(folder + "/" + name + ".png", rgba, w, h) == 0;
}

bool LoadShot(Shot& shot) {
  std::vector<unsigned char> file;
  if (lodepng::load_file(file, kShotFile) != 0 || file.empty()) return false;
  lodepng::State state;
  unsigned w = 0;
  unsigned h = 0;
  shot.rgba.clear();  // lodepng appends to the vector
  if (lodepng::decode(shot.rgba, w, h, state, file) != 0) return false;
  shot.width = w;
  shot.height = h;
  shot.colorType = state.info_png.color.colortype;
  shot.bitDepth = state.info_png.color.bitdepth;
  return true;
}

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
