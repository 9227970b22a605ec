// Reading and checking a TrueType font for the font-sheet tool.
//
// The rasteriser (stb_truetype) trusts the offsets and counts it finds in a
// font: a cut-off or damaged file would make it read outside the file,
// recurse without end or stop on an assertion. So before a glyph reaches it,
// this checks what a 16-bit field cannot bound: the table directory and the
// tables it reads, the character map in use, and each glyph's outline with
// its components (to a fixed depth). Reads that run on from a checked start
// by at most a 16-bit count land in a zeroed margin kept after the file.
// Outlines in the CFF format are refused: that reader assumes a 512 MiB table.
#include "tools/FontFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// More than any read that a 16-bit count can carry past a checked start.
constexpr size_t kMargin = size_t{1} << 20;
constexpr size_t kDirectoryHeader = 12;
constexpr size_t kTableRecord = 16;
constexpr size_t kHeadLength = 54;       // up to indexToLocFormat
constexpr size_t kUnitsPerEmAt = 18;     // in the head table
constexpr uint32_t kMinUnitsPerEm = 16;  // the range the format allows
constexpr uint32_t kMaxUnitsPerEm = 16384;
constexpr size_t kMaxpLength = 6;  // up to numGlyphs
constexpr size_t kGlyphHeader = 10;
constexpr int kMaxComponentDepth = 8;
constexpr int kMaxComponents = 256;  // checked per glyph, however they nest

// Composite glyph flags.
constexpr uint32_t kArgsAreWords = 0x0001;
constexpr uint32_t kArgsAreOffsets = 0x0002;  // the other form (matching points) is not drawn
constexpr uint32_t kHasScale = 0x0008;
constexpr uint32_t kMoreComponents = 0x0020;
constexpr uint32_t kHasXYScale = 0x0040;
constexpr uint32_t kHasTwoByTwo = 0x0080;

struct Table {
  size_t offset = 0;
  size_t length = 0;
  bool found = false;
};

// Big-endian values of the file; 0 for bytes beyond its end.
uint32_t U16(const FontFile& f, size_t at) {
  if (at > f.size || f.size - at < 2) return 0;
  return static_cast<uint32_t>(f.bytes[at] << 8 | f.bytes[at + 1]);
}

uint32_t U32(const FontFile& f, size_t at) { return U16(f, at) << 16 | U16(f, at + 2); }

bool Fits(const FontFile& f, uint64_t offset, uint64_t length) {
  return offset <= f.size && length <= f.size - offset;
}

// The directory at `start` and every table it lists lie within the file.
bool DirectoryFits(const FontFile& f, size_t start) {
  const uint32_t count = U16(f, start + 4);
  if (!Fits(f, start, kDirectoryHeader + uint64_t{count} * kTableRecord)) return false;
  for (uint32_t i = 0; i < count; i++) {
    const size_t record = start + kDirectoryHeader + i * kTableRecord;
    if (!Fits(f, U32(f, record + 8), U32(f, record + 12))) return false;
  }
  return true;
}

Table FindTable(const FontFile& f, const char* tag) {
  Table table;
  const size_t start = static_cast<size_t>(f.info.fontstart);
  const uint32_t count = U16(f, start + 4);
  for (uint32_t i = 0; i < count; i++) {
    const size_t record = start + kDirectoryHeader + i * kTableRecord;
    if (std::memcmp(&f.bytes[record], tag, 4) != 0) continue;
    table.offset = U32(f, record + 8);
    table.length = U32(f, record + 12);
    table.found = true;
  }
  return table;
}

// The character map in use can be searched within the file.
bool CharacterMapFits(const FontFile& f) {
  const size_t map = static_cast<size_t>(f.info.index_map);
  if (!Fits(f, map, 4)) return false;
  switch (U16(f, map)) {
    case 0:
    case 4:
    case 6:
      return true;  // counts of 16 bits
    case 12:
    case 13:
      return Fits(f, map + 16, uint64_t{U32(f, map + 12)} * 12);
    default:
      return false;  // formats the rasteriser does not read
  }
}

// Glyph g's outline, and those of its components, lie within the glyph table.
bool GlyphFits(const FontFile& f, int g, int depth, int* budget) {
  if (depth > kMaxComponentDepth || --*budget < 0) return false;
  if (g < 0 || g >= f.info.numGlyphs) return false;
  const Table loca = FindTable(f, "loca");
  const Table glyf = FindTable(f, "glyf");
  const bool longOffsets = f.info.indexToLocFormat == 1;
  const uint64_t entry = longOffsets ? 4 : 2;
  if ((uint64_t{static_cast<uint32_t>(g)} + 2) * entry > loca.length) return false;
  const size_t at = loca.offset + static_cast<size_t>(g) * entry;
  const uint64_t begin = longOffsets ? U32(f, at) : uint64_t{U16(f, at)} * 2;
  const uint64_t end = longOffsets ? U32(f, at + entry) : uint64_t{U16(f, at + entry)} * 2;
  if (begin == end) return true;  // no outline
  if (begin > end || end > glyf.length || end - begin < kGlyphHeader) return false;
  const size_t start = glyf.offset + begin;
  const size_t length = end - begin;
  const int contours = static_cast<int16_t>(U16(f, start));
  if (contours >= 0) {
    // The points that follow are counted in 16 bits.
    const size_t counts = kGlyphHeader + 2 * static_cast<size_t>(contours) + 2;
    return counts <= length && counts + U16(f, start + counts - 2) <= length;
  }
  size_t component = start + kGlyphHeader;
  uint32_t flags = kMoreComponents;
  while (flags & kMoreComponents) {
    if (component + 4 > start + length) return false;
    flags = U16(f, component);
    const int part = static_cast<int16_t>(U16(f, component + 2));
    if (!(flags & kArgsAreOffsets)) return false;
    component += 4 + ((flags & kArgsAreWords) ? 4 : 2);
    if (flags & kHasScale) {
      component += 2;
    } else if (flags & kHasXYScale) {
      component += 4;
    } else if (flags & kHasTwoByTwo) {
      component += 8;
    }
    if (component > start + length || !GlyphFits(f, part, depth + 1, budget)) return false;
  }
  return true;
}

}  // namespace

bool LoadFont(const char* path, FontFile* font, std::string* why) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    *why = "cannot be opened";
    return false;
  }
  std::vector<unsigned char> bytes;
  unsigned char block[1 << 16];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    bytes.insert(bytes.end(), block, block + got);
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) {
    *why = "cannot be read";
    return false;
  }
  return ReadFont(std::move(bytes), font, why);
}

bool ReadFont(std::vector<unsigned char> bytes, FontFile* font, std::string* why) {
  font->bytes = std::move(bytes);
  font->size = font->bytes.size();
  font->bytes.resize(font->size + kMargin, 0);
  if (font->size < kDirectoryHeader) {
    *why = "is too short to be a font";
    return false;
  }
  if (std::memcmp(font->bytes.data(), "OTTO", 4) == 0) {
    *why = "has CFF outlines; only TrueType outlines (a glyf table) can be drawn";
    return false;
  }
  const int start = stbtt_GetFontOffsetForIndex(font->bytes.data(), 0);
  if (start < 0 || !DirectoryFits(*font, static_cast<size_t>(start))) {
    *why = "is not a TrueType font, or is cut off";
    return false;
  }
  // Set before the tables are looked up in it.
  font->info.fontstart = start;
  for (const char* tag : {"cmap", "head", "hhea", "hmtx", "loca", "glyf"}) {
    if (!FindTable(*font, tag).found) {
      *why = std::string("has no '") + tag + "' table (TrueType outlines are needed)";
      return false;
    }
  }
  const Table maxp = FindTable(*font, "maxp");
  const Table head = FindTable(*font, "head");
  const uint32_t unitsPerEm = U16(*font, head.offset + kUnitsPerEmAt);
  if (head.length < kHeadLength || unitsPerEm < kMinUnitsPerEm || unitsPerEm > kMaxUnitsPerEm ||
      (maxp.found && maxp.length < kMaxpLength) ||
      !stbtt_InitFont(&font->info, font->bytes.data(), start) || !CharacterMapFits(*font)) {
    *why = "is damaged: a table is too short or its character map cannot be read";
    return false;
  }
  return true;
}

int FontGlyph(const FontFile& font, int code) {
  const int glyph = stbtt_FindGlyphIndex(&font.info, code);
  int budget = kMaxComponents;
  return glyph > 0 && GlyphFits(font, glyph, 0, &budget) ? glyph : 0;
}
