// Text on screen with font sheets made by the font tool: the benchmark's and
// the example's committed sheets, and one drawn here from a serif font. At
// size 1 a column of background separates every two neighbouring glyphs
// ("Polys" in the rate overlay once read "Po" with the "l" on top of the
// "y"), each glyph draws within its own advance, and the text stays within
// its width; with the text starting on a whole unit and half-way between
// two, the two ways the glyphs' texels can meet the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "graphics/render_scene.h"
#include "support/Files.h"
#include "support/Png.h"
#include "tools/FontFile.h"
#include "tools/FontSheet.h"

namespace {

class TextGame : public VeskCore {};
TextGame Game;

constexpr int kGame = 7;  // data folder Data/7/
constexpr float kTextY = 300;
constexpr int kGlyphHalfHeight = 16;
constexpr int kDifference = 24;  // a channel this far from the background is ink
const Rgb kBackground = {0, 0, 160};

struct Font {
  const char* name;  // in Data/7/
  int slot;
};
const Font kFonts[] = {{"bandwidth", 0}, {"example", 1}, {"serif", 2}};

class TextPixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string data = "Data/" + std::to_string(kGame) + "/";
    ASSERT_TRUE(vftest::WriteFile(data + "bandwidth.png",
                                  vftest::ReadFile(vftest::SourceDir() + "/Data/1/bandwidth.png")));
    ASSERT_TRUE(vftest::WriteFile(
        data + "example.png", vftest::ReadFile(vftest::SourceDir() + "/examples/Data/2/font.png")));
    FontFile font;
    std::string why;
    ASSERT_TRUE(LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", &font, &why))
        << why << " (Debian package fonts-dejavu-core)";
    SheetReport report;
    vftest::Picture serif(kSheetWidth, kSheetHeight);
    serif.rgba = MakeFontSheet(font, {20, false}, &report);
    ASSERT_TRUE(vftest::WritePng(data + "serif.png", serif));
    ASSERT_TRUE(vftest::OpenScene(Game, kGame, "text pixels", [] {
      for (const Font& f : kFonts) Game.LoadImg(f.slot, f.name, kSheetFrame);
    }));
  }

  static void TearDownTestSuite() { Game.Terminate(); }

  void TearDown() override {
    if (HasFailure()) KeepShot(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
};

// Whether pixel column px holds anything but background on the text's rows.
bool Inked(const Shot& shot, int px) {
  for (int py = static_cast<int>(kTextY) - kGlyphHalfHeight;
       py < static_cast<int>(kTextY) + kGlyphHalfHeight; py++) {
    const Rgb c = shot.AtPixel(px, py);
    if (std::abs(c.r - kBackground.r) > kDifference ||
        std::abs(c.g - kBackground.g) > kDifference ||
        std::abs(c.b - kBackground.b) > kDifference) {
      return true;
    }
  }
  return false;
}

// The glyph boundaries of a text starting at x: its start, then one advance
// (fontw - 1 units at size 1) after another.
std::vector<float> Boundaries(float x, const std::string& text) {
  std::vector<float> at = {x};
  for (char c : text) at.push_back(at.back() + fontw[c - 32] - 1);
  return at;
}

TEST_F(TextPixels, NeighbouringGlyphsKeepAColumnApartAndStayInTheirAdvance) {
  for (const Font& font : kFonts) {
    for (const char* text : {"HiHiH", "Polys", "Level 1"}) {
      for (float x : {100.0f, 100.5f}) {
        SCOPED_TRACE(std::string(font.name) + " \"" + text + "\" at x " + std::to_string(x));
        ASSERT_GT(iFrames[font.slot], 0);
        Game.SetCLS(kBackground.r, kBackground.g, kBackground.b);
        Game.ResetDraw();
        Game.SetFont(font.slot);
        Game.Text(x, kTextY, text);
        Shot shot;
        ASSERT_TRUE(ShowFrame(Game, shot));
        const std::vector<float> at = Boundaries(x, text);
        // A glyph's ink covers its advance less half a unit at each end, so
        // the gap lies within half a unit of the boundary: one column, or,
        // when the boundary falls between two columns, one of those two.
        for (size_t k = 1; k + 1 < at.size(); k++) {
          const int before = static_cast<int>(std::floor(at[k] - 0.5f));
          const int after = static_cast<int>(std::floor(at[k]));
          EXPECT_TRUE(!Inked(shot, before) || !Inked(shot, after))
              << "no gap between '" << text[k - 1] << "' and '" << text[k] << "' at " << at[k];
        }
        for (size_t k = 0; k + 1 < at.size(); k++) {
          if (text[k] == ' ') continue;
          bool any = false;
          for (int px = static_cast<int>(at[k]); px < static_cast<int>(at[k + 1]); px++) {
            any = any || Inked(shot, px);
          }
          EXPECT_TRUE(any) << "'" << text[k] << "' drew nothing within its advance";
        }
        for (int px = static_cast<int>(x) - 30; px < static_cast<int>(at.back()) + 30; px++) {
          if (px >= std::floor(at.front() - 0.5f) && px <= std::floor(at.back())) continue;
          EXPECT_FALSE(Inked(shot, px)) << "ink at column " << px << ", outside the text's width";
        }
      }
    }
  }
}

}  // namespace
