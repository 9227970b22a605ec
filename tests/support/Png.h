// RGBA pictures of the tests: built in memory, written as PNG files and read
// back from them (the framework's "Screenshot.png" among them).
#ifndef VESKFRAME_TESTS_SUPPORT_PNG_H
#define VESKFRAME_TESTS_SUPPORT_PNG_H

#include <string>
#include <vector>

namespace vftest {

struct Rgba {
  unsigned char r, g, b, a;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

std::string Describe(const Rgba& c);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;  // four bytes a pixel, rows from the top

  Picture() = default;
  Picture(int w, int h);  // transparent black
  Rgba At(int x, int y) const;
  void Set(int x, int y, Rgba c);
};

// The file's own colour type and bit depth, as lodepng reads them.
struct PngFormat {
  unsigned colorType = 0;
  unsigned bitDepth = 0;
};

// PNG bytes of the picture (empty when it cannot be encoded).
std::vector<unsigned char> EncodePng(const Picture& picture);
// Writes the picture as a PNG file, making the folders first; false on failure.
bool WritePng(const std::string& path, const Picture& picture);
// Reads any PNG file as RGBA; false when it is missing or cannot be decoded.
bool LoadPng(const std::string& path, Picture* picture, PngFormat* format = nullptr);

}  // namespace vftest

#endif  // VESKFRAME_TESTS_SUPPORT_PNG_H
