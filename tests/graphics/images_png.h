// Test helpers of the image store: pictures built in memory and written as
// PNG files under the test's working directory (support/Png.h), and a
// fixture that prepares the image tables as start-up does.
#ifndef VESKFRAME_TESTS_IMAGES_PNG_H
#define VESKFRAME_TESTS_IMAGES_PNG_H

#include "graphics/record_fixture.h"
#include "support/Files.h"
#include "support/Png.h"

using vftest::CountLines;
using vftest::Describe;
using vftest::EncodePng;
using vftest::Picture;
using vftest::Rgba;
using vftest::StdoutOf;
using vftest::WriteFile;
using vftest::WritePng;

// Magenta-like or cyan-like, the two key colours of the loader.
inline bool IsKey(const Rgba& c) {
  return (c.r >= 251 && c.g <= 4 && c.b >= 251) || (c.r <= 4 && c.g >= 251 && c.b >= 251);
}

// A picture whose neighbouring pixels differ, every alpha is non-zero and
// no pixel is a key colour (red stays within 20..219).
inline Picture Gradient(int w, int h) {
  Picture img(w, h);
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
