// Test helpers of the image store: RGBA pictures built in memory, written
// as PNG files with lodepng under the test's working directory, and a
// fixture that prepares the image tables as start-up does.
#ifndef VESKFRAME_TESTS_IMAGES_PNG_H
#define VESKFRAME_TESTS_IMAGES_PNG_H

#include <lodepng.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/record_fixture.h"

struct Rgba {
  unsigned char r, g, b, a;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

inline std::string Describe(const Rgba& c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
         ", " + std::to_string(c.a) + ")";
}

// Magenta-like or cyan-like, the two key colours of the loader.
inline bool IsKey(const Rgba& c) {
  return (c.r >= 251 && c.g <= 4 && c.b >= 251) || (c.r <= 4 && c.g >= 251 && c.b >= 251);
}

struct PngImage {
  int w = 0;
  int h = 0;
  std::vector<unsigned char> rgba;
  Rgba At(int x, int y) const {
    const unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  void Set(int x, int y, Rgba c) {
    unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
  }
};

// A picture whose neighbouring pixels differ, every alpha is non-zero and
// no pixel is a key colour (red stays within 20..219).
inline PngImage Gradient(int w, int h) {
  PngImage img;
  img.w = w;
  img.h = h;
  img.rgba.resize(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      img.Set(x, y,
              {static_cast<unsigned char>((x * 7 + y * 3) % 200 + 20),
               static_cast<unsigned char>((x * 5 + y * 11) % 200 + 30),
               static_cast<unsigned char>((x * 13 + y) % 250),
               static_cast<unsigned char>(255 - (x + y) % 3 * 50)});
    }
  }
  return img;
}

inline std::vector<unsigned char> EncodePng(const PngImage& img) {
  std::vector<unsigned char> bytes;
  unsigned error = lodepng::encode(bytes, img.rgba, img.w, img.h);
  EXPECT_EQ(error, 0u) << lodepng_error_text(error);
  return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) {
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  }
  std::fclose(f);
}

inline void WritePng(const std::string& path, const PngImage& img) {
  WriteBytes(path, EncodePng(img));
}

// Game 1, an 800-unit view, and every slot unusable, as after start-up.
class ImageStoreTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    GameNum = 1;
    for (int n = 0; n < kMaxImages; n++) iFrames[n] = -1;
  }
};

#endif  // VESKFRAME_TESTS_IMAGES_PNG_H
