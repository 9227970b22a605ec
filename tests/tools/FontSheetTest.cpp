// The font-sheet tool: where each glyph's ink sits in its frame, in the two
// committed sheets and in sheets it draws from other fonts; the program's
// status and messages for good and bad commands; and fonts cut off or
// damaged, which it refuses or draws without reading outside the file (the
// tests run under AddressSanitizer).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "support/Files.h"
#include "support/Png.h"
#include "tools/FontFile.h"
#include "tools/FontSheet.h"

namespace {

using vftest::Picture;

const std::string kFontFolder = "/usr/share/fonts/truetype/dejavu/";  // fonts-dejavu-core
constexpr int kFrame = 32;
constexpr int kPerRow = 12;

// Text puts a glyph's frame centre on the pen and the next pen one advance
// (fontw - 1) further. The first pen is 7.5 units right of the text's
// start, so a glyph's advance begins 7.5 columns left of its frame's centre,
// at 16 - 7.5 = 8.5: its ink may fill the whole columns from 9 on and must
// leave two free before the next glyph's (one can vanish in rounding when
// the pixel centres fall on the texels' edges).
constexpr int kFirstInkColumn = 9;
int LastInkColumn(int index) { return kFirstInkColumn + (fontw[index] - 1) - 3; }

struct Ink {
  int left = kFrame, right = -1, top = kFrame, bottom = -1;
  bool Any() const { return right >= 0; }
};

Ink InkOf(const Picture& sheet, int index) {
  Ink ink;
  const int x0 = (index % kPerRow) * kFrame, y0 = (index / kPerRow) * kFrame;
  for (int y = 0; y < kFrame; y++) {
    for (int x = 0; x < kFrame; x++) {
      if (sheet.At(x0 + x, y0 + y).a == 0) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

// Every printable character has ink, all of it within its columns; the
// space and character 127 are empty; capitals are centred on the middle row
// (Text centres a line on its y).
void ExpectLayoutOfText(const Picture& sheet) {
  ASSERT_EQ(sheet.width, kPerRow * kFrame);
  ASSERT_GE(sheet.height, 8 * kFrame);
  for (int index = 0; index < 96; index++) {
    const char c = static_cast<char>(32 + index);
    SCOPED_TRACE(std::string("character '") + c + "'");
    const Ink ink = InkOf(sheet, index);
    if (c == ' ' || index == 95) {
      EXPECT_FALSE(ink.Any());
      continue;
    }
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, kFirstInkColumn);
    EXPECT_LE(ink.right, LastInkColumn(index));
  }
  const Ink capital = InkOf(sheet, 'H' - 32);
  EXPECT_NEAR((capital.top + capital.bottom + 1) / 2.0, kFrame / 2, 1.0);
}

Picture Draw(const std::string& fontName, const SheetOptions& options) {
  FontFile font;
  std::string why;
  Picture sheet;
  EXPECT_TRUE(LoadFont((kFontFolder + fontName).c_str(), &font, &why))
      << fontName << " " << why << " (Debian package fonts-dejavu-core)";
  if (!font.info.data) return sheet;
  SheetReport report;
  sheet.width = kSheetWidth;
  sheet.height = kSheetHeight;
  sheet.rgba = MakeFontSheet(font, options, &report);
  EXPECT_EQ(report.missing, "");
  EXPECT_EQ(report.cutRows, 0);
  return sheet;
}

TEST(FontSheet, CommittedSheetsPutEveryGlyphInItsOwnColumns) {
  for (const char* path : {"/Data/1/bandwidth.png", "/examples/Data/2/font.png"}) {
    SCOPED_TRACE(path);
    Picture sheet;
    ASSERT_TRUE(vftest::LoadPng(vftest::SourceDir() + path, &sheet));
    ExpectLayoutOfText(sheet);
  }
}

TEST(FontSheet, SheetsOfOtherFontsAndSizesKeepTheLayout) {
  // Serifs and a monospaced font are wider than the advances and get
  // squeezed; the largest size fills the frames; the outline adds a rim.
  ExpectLayoutOfText(Draw("DejaVuSerif.ttf", {20, false}));
  ExpectLayoutOfText(Draw("DejaVuSansMono-Bold.ttf", {24, true}));
  ExpectLayoutOfText(Draw("DejaVuSans.ttf", {8, false}));
}

TEST(FontSheet, OutlineIsADarkRimAroundWhiteGlyphs) {
  const Picture sheet = Draw("DejaVuSans-Bold.ttf", {20, true});
  ASSERT_EQ(sheet.width, kSheetWidth);
  const int x0 = ('H' - 32) % kPerRow * kFrame, y0 = ('H' - 32) / kPerRow * kFrame;
  const Ink ink = InkOf(sheet, 'H' - 32);
  const int middle = (ink.top + ink.bottom) / 2;
  const vftest::Rgba rim = sheet.At(x0 + ink.left, y0 + middle);
  const vftest::Rgba stem = sheet.At(x0 + ink.left + 2, y0 + middle);
  EXPECT_LT(rim.r, 60);
  EXPECT_GT(rim.a, 100);
  EXPECT_EQ(stem.r, 255);
  EXPECT_EQ(stem.a, 255);
  // The narrowest glyphs have no rim at their sides: their stems stay whole.
  for (char narrow : {'i', 'l', '!'}) {
    const int index = narrow - 32;
    const int nx = index % kPerRow * kFrame, ny = index / kPerRow * kFrame;
    const Ink inkOf = InkOf(sheet, index);
    int whiteColumns = 0;
    for (int x = inkOf.left; x <= inkOf.right; x++) {
      bool white = false;
      for (int y = inkOf.top; y <= inkOf.bottom; y++)
        white = white || sheet.At(nx + x, ny + y).r > 200;
      whiteColumns += white ? 1 : 0;
    }
    EXPECT_GE(whiteColumns, 2) << narrow;
  }
}

// ---- The program ----

struct ToolRun {
  int status;
  std::string output;
};

ToolRun RunTool(const std::string& arguments) {
  ToolRun run{-1, ""};
  FILE* pipe = popen((std::string(VF_FONT_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

TEST(FontTool, WritesTheSheetOrSaysWhatIsWrong) {
  const std::string font = kFontFolder + "DejaVuSans-Bold.ttf";
  ToolRun run = RunTool(font + " sheet.png --size 18 --outline");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("wrote sheet.png"), std::string::npos) << run.output;
  Picture sheet;
  ASSERT_TRUE(vftest::LoadPng("sheet.png", &sheet));
  ExpectLayoutOfText(sheet);

  EXPECT_EQ(RunTool("--help").status, 0);
  for (const char* wrong : {"", "only-one.ttf", "a.ttf b.png c.png", "a.ttf b.png --size 99",
                            "a.ttf b.png --size", "a.ttf b.png --bold"}) {
    run = RunTool(wrong);
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_NE(run.output.find("Usage: veskframe-font"), std::string::npos) << wrong;
  }
  run = RunTool("missing.ttf out.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("the font missing.ttf cannot be opened"), std::string::npos)
      << run.output;
  run = RunTool("sheet.png out.png");  // a PNG file, not a font
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("is not a TrueType font"), std::string::npos) << run.output;
  run = RunTool(font + " no-such-folder/out.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("no-such-folder/out.png could not be written"), std::string::npos)
      << run.output;
}

// ---- Damaged fonts ----

uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return static_cast<uint32_t>(b[at] << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]);
}

// Reads the font, and draws its sheet when it is accepted.
bool Accepted(std::vector<unsigned char> bytes) {
  FontFile font;
  std::string why;
  if (!ReadFont(std::move(bytes), &font, &why)) {
    EXPECT_FALSE(why.empty());
    return false;
  }
  SheetReport report;
  const std::vector<unsigned char> sheet = MakeFontSheet(font, {20, true}, &report);
  EXPECT_EQ(sheet.size(), static_cast<size_t>(kSheetWidth) * kSheetHeight * 4);
  return true;
}

TEST(FontFile, CutOrDamagedFontsAreRefusedOrDrawnWithinTheFile) {
  const std::string text = vftest::ReadFile(kFontFolder + "DejaVuSans.ttf");
  ASSERT_GT(text.size(), 1000u) << "needs fonts-dejavu-core";
  const std::vector<unsigned char> good(text.begin(), text.end());
  int refused = 0, drawn = 0;
  for (size_t cut : {size_t{0}, size_t{4}, size_t{11}, size_t{12}, size_t{100}, size_t{300},
                     good.size() / 16, good.size() / 4, good.size() / 2, good.size() - 1}) {
    (Accepted(std::vector<unsigned char>(good.begin(), good.begin() + cut)) ? drawn : refused)++;
  }
  EXPECT_EQ(drawn, 0);
  // Every field of the table directory, then sixteen places in each table,
  // complemented four bytes at a time.
  const size_t tables = static_cast<size_t>(good[4] << 8 | good[5]);
  std::vector<size_t> places;
  for (size_t at = 0; at < 12 + 16 * tables; at += 4) places.push_back(at);
  for (size_t t = 0; t < tables; t++) {
    const size_t offset = U32(good, 12 + 16 * t + 8), length = U32(good, 12 + 16 * t + 12);
    for (size_t k = 0; k < 16 && length >= 4; k++) places.push_back(offset + k * (length - 4) / 15);
  }
  for (size_t at : places) {
    std::vector<unsigned char> bytes = good;
    for (size_t i = at; i < at + 4 && i < bytes.size(); i++) bytes[i] = ~bytes[i];
    (Accepted(bytes) ? drawn : refused)++;
  }
  EXPECT_GT(refused, 10);
  EXPECT_GT(drawn, 10);
}

}  // namespace
