// A font sheet for Text drawn from a TrueType font (tools/FontSheet.cpp), as
// the font tool writes it and its tests read it.
#ifndef VESKFRAME_TOOLS_FONT_SHEET_H
#define VESKFRAME_TOOLS_FONT_SHEET_H

#include <string>
#include <vector>

#include "tools/FontFile.h"

// The sheet: characters 32 (the space, frame 0) to 127 in code order, 12
// frames of 32 x 32 pixels a row, as LoadImg(n, name, 32) reads it.
constexpr int kSheetFrame = 32;
constexpr int kSheetPerRow = 12;
constexpr int kSheetFirstChar = 32;
constexpr int kSheetChars = 96;
constexpr int kSheetWidth = kSheetPerRow * kSheetFrame;
constexpr int kSheetHeight = (kSheetChars + kSheetPerRow - 1) / kSheetPerRow * kSheetFrame;
// Text centres a character's frame on its pen and then moves the pen by the
// character's advance (fontw - 1 units at size 1), so a character owns the
// strip from 7.5 units left of its frame's centre, half-way through column 8
// (column c covering c to c + 1 of the frame's units, the centre at 16).
// Its ink starts at column 9, the first whole column of the strip, and ends
// kSheetGap columns short of the strip's end: that is the gap between
// neighbours. Two columns, because text that starts on a whole unit puts the
// pixel centres on the texels' edges, where each glyph's quad may round to
// either texel: one free column can vanish between two glyphs, two cannot.
constexpr int kSheetInkLeft = kSheetFrame / 2 - 7;
constexpr int kSheetGap = 2;

struct SheetOptions {
  int pixels;    // pixels per em
  bool outline;  // a dark rim one pixel wide around each glyph
};

// What the sheet could not hold.
struct SheetReport {
  std::string missing;  // printable characters the font has no glyph for
  int cutRows = 0;      // rows of ink that fell outside their frame
};

// RGBA pixels, kSheetWidth x kSheetHeight, rows from the top: white glyphs
// (over the rim) on transparency.
std::vector<unsigned char> MakeFontSheet(const FontFile& font, const SheetOptions& options,
                                         SheetReport* report);

#endif  // VESKFRAME_TOOLS_FONT_SHEET_H
