// PNG pictures of the tests (see Png.h), encoded and decoded with lodepng.
#include "support/Png.h"

#include <lodepng.h>

#include "support/Files.h"

namespace vftest {

namespace {
constexpr size_t kBytesPerPixel = 4;
}  // namespace

std::string Describe(const Rgba& c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
         ", " + std::to_string(c.a) + ")";
}

Picture::Picture(int w, int h)
    : width(w), height(h), rgba(static_cast<size_t>(w) * h * kBytesPerPixel, 0) {}

Rgba Picture::At(int x, int y) const {
  const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * kBytesPerPixel];
  return {p[0], p[1], p[2], p[3]};
}

void Picture::Set(int x, int y, Rgba c) {
  unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * kBytesPerPixel];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = c.a;
}

std::vector<unsigned char> EncodePng(const Picture& picture) {
  std::vector<unsigned char> bytes;
  if (lodepng::encode(bytes, picture.rgba, picture.width, picture.height) != 0) bytes.clear();
  return bytes;
}

bool WritePng(const std::string& path, const Picture& picture) {
  const std::vector<unsigned char> bytes = EncodePng(picture);
  return !bytes.empty() && WriteFile(path, bytes);
}

bool LoadPng(const std::string& path, Picture* picture, PngFormat* format) {
  std::vector<unsigned char> file;
  if (lodepng::load_file(file, path) != 0 || file.empty()) return false;
  lodepng::State state;
  unsigned w = 0;
  unsigned h = 0;
  picture->rgba.clear();  // lodepng appends
  if (lodepng::decode(picture->rgba, w, h, state, file) != 0) return false;
  picture->width = static_cast<int>(w);
  picture->height = static_cast<int>(h);
  if (format != nullptr) *format = {state.info_png.color.colortype, state.info_png.color.bitdepth};
  return true;
}

}  // namespace vftest
