// Reading a TrueType font for the font-sheet tool (tools/FontSheet.cpp).
#ifndef VESKFRAME_TOOLS_FONT_FILE_H
#define VESKFRAME_TOOLS_FONT_FILE_H

#include <stb/stb_truetype.h>

#include <string>
#include <vector>

struct FontFile {
  std::vector<unsigned char> bytes;  // the file, then a zeroed margin (see FontFile.cpp)
  size_t size = 0;                   // bytes of the file itself
  stbtt_fontinfo info;
};

// Reads the font at `path` (the first font of a collection) and checks the
// parts that the rasteriser reads without checks of its own; false with a
// reason in *why when the file is missing or not a TrueType font it can draw.
bool LoadFont(const char* path, FontFile* font, std::string* why);
// The same for the bytes of a font file.
bool ReadFont(std::vector<unsigned char> bytes, FontFile* font, std::string* why);

// The glyph of a character code, 0 when the font has none. A glyph whose
// outline data does not lie within the file is reported as none.
int FontGlyph(const FontFile& font, int code);

#endif  // VESKFRAME_TOOLS_FONT_FILE_H
