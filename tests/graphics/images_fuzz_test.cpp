// Bad PNG files: seeded random byte flips of a good sheet and single image
// (with and without repaired chunk checksums, so the flips also reach the
// header and the pixel data), and header sizes that cannot be true. Every
// cut of a good file is the mutation test's (tests/fuzz/MutationTest.cpp).
// The files are made here, in the test's working directory, from pictures
// built in memory.
// Each load must end with the slot either unusable or consistent; the
// sanitizers catch any read or write outside the buffers.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PngChunks.h"
#include "graphics/images_png.h"

namespace {

constexpr int kSlot = 30;
constexpr int kFlipRounds = 800;
using pngchunks::kSignatureBytes;
using pngchunks::RepairChecksums;

// The slot is either unusable or its tables describe its pixels.
::testing::AssertionResult SlotConsistent(int n) {
  if (iFrames[n] == -1) return ::testing::AssertionSuccess();
  if (iFrames[n] < 0) return ::testing::AssertionFailure() << "iFrames " << iFrames[n];
  size_t side = static_cast<size_t>(iSize[n]);
  if (side == 0 || Image[n].size() != side * side * 4 || iFramesW[n] < 1) {
    return ::testing::AssertionFailure() << "iSize " << iSize[n] << " with " << Image[n].size()
                                         << " bytes, iFramesW " << iFramesW[n];
  }
  return ::testing::AssertionSuccess();
}

// Loads bytes as a PNG file and counts the outcome; returns true if it loaded.
bool LoadBytes(const std::vector<unsigned char>& bytes, int fs) {
  EXPECT_TRUE(WriteFile("Data/1/bad.png", bytes));
  const std::string log = StdoutOf([fs] { ASys.GetPNG(kSlot, "Data/1/bad.png", fs); });
  EXPECT_TRUE(SlotConsistent(kSlot));
  if (iFrames[kSlot] == -1) {
    EXPECT_NE(log.find("OMGERRORZ"), std::string::npos) << log;
    return false;
  }
  return true;
}

class BadPngTest : public ImageStoreTest {
 protected:
  std::vector<unsigned char> sheet_ = EncodePng(Gradient(48, 20));
  std::vector<unsigned char> single_ = EncodePng(Gradient(12, 16));
};

}  // namespace

TEST_F(BadPngTest, RandomFlipsNeverCrash) {
  std::mt19937 random(20260101);
  int loaded = 0;
  int attempts = 0;
  for (int round = 0; round < kFlipRounds; round++) {
    for (bool repair : {false, true}) {
      for (const auto* good : {&sheet_, &single_}) {
        std::vector<unsigned char> bytes = *good;
        int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; f++) {
          size_t at = kSignatureBytes + random() % (bytes.size() - kSignatureBytes);
          bytes[at] ^= static_cast<unsigned char>(1 + random() % 255);
        }
        if (repair) RepairChecksums(bytes);
        if (LoadBytes(bytes, 16)) loaded++;
        attempts++;
      }
    }
  }
  EXPECT_LT(loaded, attempts) << "the corpus must contain files that fail";
  RecordProperty("loaded", loaded);
}

TEST_F(BadPngTest, HeaderSizesFromTheFileAreNotTrusted) {
  // Width and height fields of the header replaced, checksums repaired.
  const uint32_t sizes[][2] = {{0, 20},          {48, 0},     {0x7fffffff, 20},
                               {48, 0x7fffffff}, {100000, 1}, {0xffffffff, 0xffffffff}};
  const size_t widthAt = kSignatureBytes + 8;  // past the header's length and type
  for (const auto& s : sizes) {
    std::vector<unsigned char> bytes = sheet_;
    for (int i = 0; i < 4; i++) {
      bytes[widthAt + i] = static_cast<unsigned char>(s[0] >> (24 - 8 * i));
      bytes[widthAt + 4 + i] = static_cast<unsigned char>(s[1] >> (24 - 8 * i));
    }
    RepairChecksums(bytes);
    EXPECT_FALSE(LoadBytes(bytes, 16)) << s[0] << " x " << s[1];
  }
}
