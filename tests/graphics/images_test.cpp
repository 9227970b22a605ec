// Image store: PNG files written by the test into its working directory
// under Data/1/ are loaded with LoadImg/GetPNG; the tables and the texel
// layout are checked against values computed here from the source pixels.
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/images_png.h"

namespace {

// Texel (x, y) of a slot's texture.
const unsigned char* Texel(int slot, int x, int y) {
  return &Image[slot][(static_cast<size_t>(y) * iSize[slot] + x) * 4];
}

::testing::AssertionResult TexelIs(int slot, int x, int y, Rgba want) {
  const unsigned char* t = Texel(slot, x, y);
  Rgba got{t[0], t[1], t[2], t[3]};
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "texel (" << x << ", " << y << ") is " << Describe(got)
                                       << ", expected " << Describe(want);
}

}  // namespace

// ---- Single images ----

using SingleImageTest = ImageStoreTest;

TEST_F(SingleImageTest, ImageOfFrameWidthIsOneFrame) {
  Picture img = Gradient(32, 32);
  ASSERT_TRUE(WritePng("Data/1/ship.png", img));
  const std::string log = StdoutOf([&] {
    // The name may come from Tempstr, which loading formats into.
    TestGame.LoadImg(3, TestGame.fstr("%s", "ship"), 32);
  });
  EXPECT_NE(log.find("> Load Image : ship \n"), std::string::npos) << log;
  EXPECT_NE(log.find(">     Loaded 32x32 Image\n"), std::string::npos) << log;
  ASSERT_EQ(iFrames[3], 1);
  EXPECT_EQ(iSize[3], 32);
  EXPECT_EQ(iFramesWz[3], 1.0f);
  EXPECT_FLOAT_EQ(ASys.iSizeScaled[3], 32.0f / 800);
  ASSERT_EQ(Image[3].size(), 32u * 32 * 4);
  for (int y = 0; y < 32; y++) {
    for (int x = 0; x < 32; x++) ASSERT_TRUE(TexelIs(3, x, y, img.At(x, y)));
  }
}

TEST_F(SingleImageTest, KeyColoursBecomeFullyTransparentBlack) {
  Picture img = Gradient(16, 16);
  img.Set(1, 1, {255, 0, 255, 255});
  img.Set(2, 1, {251, 4, 251, 200});  // the edges of the magenta key
  img.Set(3, 1, {0, 255, 255, 255});
  img.Set(4, 1, {4, 251, 251, 17});   // the edges of the cyan key
  img.Set(5, 1, {250, 0, 255, 255});  // just outside: kept
  img.Set(6, 1, {255, 5, 255, 255});
  img.Set(7, 1, {5, 255, 255, 255});
  ASSERT_TRUE(WritePng("Data/1/keys.png", img));
  TestGame.LoadImg(0, "keys", 16);
  ASSERT_EQ(iFrames[0], 1);
  for (int x = 1; x <= 4; x++) EXPECT_TRUE(TexelIs(0, x, 1, {0, 0, 0, 0}));
  for (int x = 5; x <= 7; x++) EXPECT_TRUE(TexelIs(0, x, 1, img.At(x, 1)));
  EXPECT_TRUE(TexelIs(0, 0, 1, img.At(0, 1)));
}

TEST_F(SingleImageTest, OnlyDecodedPixelsAreRead) {
  // Narrower and shorter than the frame: top-left, the rest transparent.
  Picture small = Gradient(10, 6);
  ASSERT_TRUE(WritePng("Data/1/small.png", small));
  TestGame.LoadImg(4, "small", 32);
  // As wide as the frame but taller: only the top frame is kept.
  Picture strip = Gradient(8, 40);
  ASSERT_TRUE(WritePng("Data/1/strip.png", strip));
  TestGame.LoadImg(5, "strip", 8);
  ASSERT_EQ(iFrames[4], 1);
  ASSERT_EQ(iFrames[5], 1);
  ASSERT_EQ(Image[4].size(), 32u * 32 * 4);
  ASSERT_EQ(Image[5].size(), 8u * 8 * 4);
  for (int y = 0; y < 32; y++) {
    for (int x = 0; x < 32; x++) {
      ASSERT_TRUE(TexelIs(4, x, y, (x < 10 && y < 6) ? small.At(x, y) : Rgba{0, 0, 0, 0}));
      if (x < 8 && y < 8) {
        ASSERT_TRUE(TexelIs(5, x, y, strip.At(x, y)));
      }
    }
  }
}

// ---- Sprite sheets ----

using SpriteSheetTest = ImageStoreTest;

TEST_F(SpriteSheetTest, FramesArePackedIntoCellsWithATransparentMargin) {
  Picture img = Gradient(256, 64);
  ASSERT_TRUE(WritePng("Data/1/sheet.png", img));
  const std::string log = StdoutOf([&] { TestGame.LoadImg(7, "sheet", 32); });
  EXPECT_NE(log.find(">     Loaded Spritesheet of 32x32 sprites\n"), std::string::npos) << log;
  // Cells of 40: 8 columns make 320, raised to 512, which holds 12 cells a row.
  ASSERT_EQ(iFrames[7], 16);
  EXPECT_EQ(iSize[7], 512);
  EXPECT_EQ(iFramesW[7], 12);
  EXPECT_FLOAT_EQ(iFramesWz[7], 0.078125f);
  EXPECT_FLOAT_EQ(ASys.iSizeScaled[7], 0.05f);
  ASSERT_EQ(Image[7].size(), 512u * 512 * 4);
  for (int k = 0; k < 16; k++) {
    int srcX = (k % 8) * 32;
    int srcY = (k / 8) * 32;
    int cellX = (k % 12) * 40;
    int cellY = (k / 12) * 40;
    for (int j = 0; j < 32; j++) {
      for (int i = 0; i < 32; i++) {
        ASSERT_TRUE(TexelIs(7, cellX + 4 + i, cellY + 4 + j, img.At(srcX + i, srcY + j)))
            << "frame " << k;
      }
    }
    // Margin texels stay transparent (their colour is the bleed's business).
    for (int m = 0; m < 40; m++) {
      EXPECT_EQ(Texel(7, cellX + m, cellY)[3], 0);
      EXPECT_EQ(Texel(7, cellX, cellY + m)[3], 0);
      EXPECT_EQ(Texel(7, cellX + m, cellY + 39)[3], 0);
      EXPECT_EQ(Texel(7, cellX + 39, cellY + m)[3], 0);
    }
  }
  // Beyond the last cell the texture is empty.
  EXPECT_TRUE(TexelIs(7, 500, 500, {0, 0, 0, 0}));
  EXPECT_TRUE(TexelIs(7, 200, 100, {0, 0, 0, 0}));
}

TEST_F(SpriteSheetTest, PartialFramesAtTheRightAndBottomAreDropped) {
  // 100 x 40 with frames of 32: 3 x 1 frames; columns 96..99 and rows 32..39
  // carry a colour found nowhere else, which must not reach the texture.
  Picture img = Gradient(100, 40);
  const Rgba marker{1, 2, 3, 255};
  for (int y = 0; y < 40; y++) {
    for (int x = 0; x < 100; x++) {
      if (x >= 96 || y >= 32) img.Set(x, y, marker);
    }
  }
  ASSERT_TRUE(WritePng("Data/1/partial.png", img));
  TestGame.LoadImg(8, "partial", 32);
  ASSERT_EQ(iFrames[8], 3);
  EXPECT_EQ(iSize[8], 128);
  EXPECT_EQ(iFramesW[8], 3);
  for (int y = 0; y < 128; y++) {
    for (int x = 0; x < 128; x++) {
      const unsigned char* t = Texel(8, x, y);
      ASSERT_FALSE(t[0] == 1 && t[1] == 2 && t[2] == 3 && t[3] == 255) << x << ", " << y;
    }
  }
  EXPECT_TRUE(TexelIs(8, 2 * 40 + 4 + 31, 4 + 31, img.At(95, 31)));
}

TEST_F(SpriteSheetTest, TextureSideIsRoundedUpToAPowerOfTwo) {
  const struct {
    int width, fs, side, perRow;
  } cases[] = {
      {96, 24, 128, 4},   // 4 cells of 32: exactly 128
      {105, 35, 256, 5},  // 3 cells of 43: 129 becomes 256
      {448, 56, 512, 8},  // 8 cells of 64: exactly 512, 8 a row
      {20, 10, 64, 3},    // 2 cells of 18: 36 becomes 64
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WritePng("Data/1/round.png", Gradient(c.width, c.fs)));
    TestGame.LoadImg(9, "round", c.fs);
    EXPECT_EQ(iSize[9], c.side) << "width " << c.width << " fs " << c.fs;
    EXPECT_EQ(iFramesW[9], c.perRow) << "width " << c.width << " fs " << c.fs;
    EXPECT_EQ(iFrames[9], c.width / c.fs);
    EXPECT_FLOAT_EQ(iFramesWz[9], (c.fs + 8.0f) / c.side);
    EXPECT_EQ(Image[9].size(), static_cast<size_t>(c.side) * c.side * 4);
  }
}

TEST_F(SpriteSheetTest, KeyColourTakesTheMeanOfItsOpaqueNeighbours) {
  Picture img = Gradient(32, 8);  // frames of 8: four frames in a row
  const Rgba magenta{255, 0, 255, 255};
  img.Set(3, 3, magenta);  // inside frame 0: eight opaque neighbours
  img.Set(8, 0, magenta);  // top-left corner of frame 1: three inside the frame
  img.Set(20, 4, {0, 255, 255, 255});
  img.Set(21, 4, {0, 255, 255, 255});  // two keys side by side in frame 2
  // Frame 3 is all key colour: its texels have no opaque neighbour.
  for (int y = 0; y < 8; y++) {
    for (int x = 24; x < 32; x++) img.Set(x, y, magenta);
  }
  ASSERT_TRUE(WritePng("Data/1/bleed.png", img));
  TestGame.LoadImg(10, "bleed", 8);
  ASSERT_EQ(iFrames[10], 4);
  ASSERT_EQ(iSize[10], 64);  // cells of 16, 4 of them
  const int cell = 16;
  // Expected texture built independently: frames placed, keys made clear.
  std::vector<Rgba> tex(64 * 64, Rgba{0, 0, 0, 0});
  for (int k = 0; k < 4; k++) {
    for (int j = 0; j < 8; j++) {
      for (int i = 0; i < 8; i++) {
        Rgba p = img.At(k * 8 + i, j);
        if (IsKey(p)) p = Rgba{p.r, p.g, p.b, 0};
        tex[(4 + j) * 64 + k * cell + 4 + i] = p;
      }
    }
  }
  auto meanAround = [&](int x, int y) {
    int sum[3] = {0, 0, 0};
    int count = 0;
    for (int dy = -1; dy <= 1; dy++) {
      for (int dx = -1; dx <= 1; dx++) {
        const Rgba& q = tex[(y + dy) * 64 + x + dx];
        if (q.a == 0) continue;
        sum[0] += q.r;
        sum[1] += q.g;
        sum[2] += q.b;
        count++;
      }
    }
    if (count == 0) return Rgba{0, 0, 0, 0};
    return Rgba{static_cast<unsigned char>(sum[0] / count),
                static_cast<unsigned char>(sum[1] / count),
                static_cast<unsigned char>(sum[2] / count), 0};
  };
  EXPECT_TRUE(TexelIs(10, 4 + 3, 4 + 3, meanAround(7, 7)));
  EXPECT_TRUE(TexelIs(10, cell + 4, 4, meanAround(cell + 4, 4)));
  EXPECT_TRUE(TexelIs(10, 2 * cell + 4 + 4, 8, meanAround(2 * cell + 8, 8)));
  EXPECT_TRUE(TexelIs(10, 2 * cell + 4 + 5, 8, meanAround(2 * cell + 9, 8)));
  EXPECT_TRUE(TexelIs(10, 3 * cell + 6, 6, {0, 0, 0, 0})) << "no opaque neighbour: black";
  // Margin texels beside a frame edge take its colour; far ones stay black.
  EXPECT_TRUE(TexelIs(10, 3, 6, meanAround(3, 6)));
  EXPECT_NE(Texel(10, 3, 6)[0] + Texel(10, 3, 6)[1] + Texel(10, 3, 6)[2], 0);
  EXPECT_TRUE(TexelIs(10, 1, 1, {0, 0, 0, 0}));
  EXPECT_TRUE(TexelIs(10, 20, 40, {0, 0, 0, 0}));
}

TEST_F(SpriteSheetTest, TallSheetGrowsItsTextureUntilEveryFrameFits) {
  // 2 x 40 frames of 32: the width gives 128 (3 cells a row, 3 rows), far
  // too few for 80 frames; the side doubles until they fit.
  Picture img = Gradient(64, 32 * 40);
  ASSERT_TRUE(WritePng("Data/1/tall.png", img));
  TestGame.LoadImg(11, "tall", 32);
  ASSERT_EQ(iFrames[11], 80);
  const int side = iSize[11];
  const int perRow = iFramesW[11];
  EXPECT_EQ(perRow, side / 40);
  EXPECT_FLOAT_EQ(iFramesWz[11], 40.0f / side);
  ASSERT_EQ(Image[11].size(), static_cast<size_t>(side) * side * 4);
  const int cellRows = (80 + perRow - 1) / perRow;
  EXPECT_LE(cellRows * 40, side) << "every cell lies inside the texture";
  for (int k = 0; k < 80; k++) {
    int cellX = (k % perRow) * 40 + 4;
    int cellY = (k / perRow) * 40 + 4;
    int srcX = (k % 2) * 32;
    int srcY = (k / 2) * 32;
    ASSERT_TRUE(TexelIs(11, cellX, cellY, img.At(srcX, srcY))) << "frame " << k;
    ASSERT_TRUE(TexelIs(11, cellX + 31, cellY + 31, img.At(srcX + 31, srcY + 31))) << "frame " << k;
  }
}

// ---- Bad requests ----

using ImageLoadFailureTest = ImageStoreTest;

TEST_F(ImageLoadFailureTest, SlotOutsideTheTableIsReportedOnStandardOutput) {
  ASSERT_TRUE(WritePng("Data/1/ok.png", Gradient(16, 16)));
  for (int slot : {100, -1, 1000}) {
    const std::string captured = StdoutOf([&] { ASys.GetPNG(slot, "Data/1/ok.png", 16); });
    EXPECT_EQ(captured, "Image number out of bounds");
  }
  for (int n = 0; n < kMaxImages; n++) ASSERT_EQ(iFrames[n], -1) << n;
  EXPECT_TRUE(Image[kScreenshotSlot].empty());
}

TEST_F(ImageLoadFailureTest, FailedReloadLeavesTheSlotUnusable) {
  ASSERT_TRUE(WritePng("Data/1/good.png", Gradient(16, 16)));
  std::vector<unsigned char> half = EncodePng(Gradient(16, 16));
  half.resize(half.size() / 2);
  ASSERT_TRUE(WriteFile("Data/1/half.png", half));
  for (const char* bad : {"missing", "half"}) {
    TestGame.LoadImg(20, "good", 16);
    ASSERT_EQ(iFrames[20], 1);
    const std::string log = StdoutOf([&] { TestGame.LoadImg(20, bad, 16); });
    EXPECT_EQ(iFrames[20], -1) << bad;
    EXPECT_EQ(CountLines(log, "> OMGERRORZ"), 1) << log;
  }
}

// After "OMGERRORZ", standard error (never the numbered log) names the path
// and the working folder: a missing file with the hint about Data/, a file
// that is there but damaged without it.
TEST_F(ImageLoadFailureTest, AFailedLoadIsExplainedOnStandardErrorWithItsPath) {
  std::vector<unsigned char> half = EncodePng(Gradient(16, 16));
  half.resize(half.size() / 2);
  ASSERT_TRUE(WriteFile("Data/1/broken.png", half));
  const std::string folder = std::filesystem::current_path().string();
  std::string log;
  const std::string missing =
      vftest::StderrOf([&] { log = StdoutOf([&] { TestGame.LoadImg(20, "nowhere", 16); }); });
  EXPECT_EQ(missing, "VeskFrame: no file \"Data/1/nowhere.png\" in the working folder \"" + folder +
                         "\": a game runs from the folder that holds Data/\n");
  EXPECT_EQ(CountLines(log, "> OMGERRORZ"), 1) << log;
  EXPECT_EQ(CountLines(log, "VeskFrame:"), 0) << log;
  const std::string damaged =
      vftest::StderrOf([&] { StdoutOf([&] { TestGame.LoadImg(20, "broken", 16); }); });
  EXPECT_EQ(damaged, "VeskFrame: \"Data/1/broken.png\" in the working folder \"" + folder +
                         "\" was found but could not be read: is it damaged, or of another "
                         "format?\n");
}

// Frames of 1 pixel sit in cells of 9 texels: 455 columns fill 4,095 texels,
// the widest texture built; one column more is refused.
TEST_F(ImageLoadFailureTest, SheetsLoadUpToTheLargestTexture) {
  ASSERT_TRUE(WritePng("Data/1/widest.png", Gradient(455, 2)));
  ASSERT_TRUE(WritePng("Data/1/too-wide.png", Gradient(456, 2)));
  const std::string log = StdoutOf([&] {
    TestGame.LoadImg(22, "widest", 1);
    TestGame.LoadImg(23, "too-wide", 1);
  });
  EXPECT_EQ(iFrames[22], 910);
  EXPECT_EQ(iSize[22], 4095);
  EXPECT_EQ(iFrames[23], -1);
  EXPECT_EQ(CountLines(log, "Spritesheet needs a texture over 4096 texels wide: not loaded"), 1)
      << log;
}

TEST_F(ImageLoadFailureTest, SizesThatCannotBeBuiltAreRefused) {
  ASSERT_TRUE(WritePng("Data/1/ok.png", Gradient(16, 16)));
  // Frames of 1 pixel in cells of 9: 1000 columns need 9000 texels a row.
  ASSERT_TRUE(WritePng("Data/1/wide.png", Gradient(1000, 1)));
  const struct {
    const char* name;
    int fs;
    const char* message;
  } cases[] = {{"ok", 0, "Frame size 0 refused"},
               {"ok", -8, "Frame size -8 refused"},
               {"wide", 1, "not loaded"}};
  for (const auto& c : cases) {
    TestGame.LoadImg(21, "ok", 16);
    ASSERT_EQ(iFrames[21], 1);
    const std::string log = StdoutOf([&] { TestGame.LoadImg(21, c.name, c.fs); });
    EXPECT_EQ(iFrames[21], -1) << c.fs;
    EXPECT_EQ(CountLines(log, c.message), 1) << log;
  }
}
