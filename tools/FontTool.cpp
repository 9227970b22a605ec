// veskframe-font: makes a font sheet for Text from a TrueType font.
//
//   veskframe-font FONT.ttf SHEET.png [--size PIXELS] [--outline]
//
// Writes the sheet of tools/FontSheet.h as a PNG file: characters 32 to 127,
// 32-pixel frames, 12 a row, white glyphs on transparency (SetCol tints
// them), each starting at the left edge of its advance with two free columns
// before the next. Reports a font it cannot read, characters the font lacks
// and ink that did not fit. Relies on lodepng for the file.
#include <lodepng.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/FontFile.h"
#include "tools/FontSheet.h"

namespace {

constexpr int kDefaultPixels = 20;
constexpr int kMinPixels = 6;
constexpr int kMaxPixels = 32;

struct Arguments {
  const char* font = nullptr;
  const char* sheet = nullptr;
  SheetOptions options = {kDefaultPixels, false};
};

int Usage(int status) {
  std::fprintf(status == 0 ? stdout : stderr,
               "Usage: veskframe-font FONT.ttf SHEET.png [--size PIXELS] [--outline]\n"
               "Makes a font sheet for VeskFrame's Text: characters 32 to 127, 32-pixel frames,\n"
               "12 a row; load it with LoadImg(n, \"<sheet name>\", 32) and SetFont(n).\n"
               "  --size PIXELS  pixels per em, %i to %i (default %i)\n"
               "  --outline      a dark outline around each glyph\n",
               kMinPixels, kMaxPixels, kDefaultPixels);
  return status;
}

// False for arguments that make no command.
bool ParseArguments(int argc, char** argv, Arguments* arguments) {
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    if (arg == "--outline") {
      arguments->options.outline = true;
    } else if (arg == "--size" && i + 1 < argc) {
      char* end = nullptr;
      const long pixels = std::strtol(argv[++i], &end, 10);
      if (*end != 0 || pixels < kMinPixels || pixels > kMaxPixels) return false;
      arguments->options.pixels = static_cast<int>(pixels);
    } else if (arg.empty() || arg[0] == '-') {
      return false;
    } else if (arguments->font == nullptr) {
      arguments->font = argv[i];
    } else if (arguments->sheet == nullptr) {
      arguments->sheet = argv[i];
    } else {
      return false;
    }
  }
  return arguments->font != nullptr && arguments->sheet != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    return Usage(0);
  }
  Arguments arguments;
  if (!ParseArguments(argc, argv, &arguments)) return Usage(2);

  FontFile font;
  std::string why;
  if (!LoadFont(arguments.font, &font, &why)) {
    std::fprintf(stderr, "veskframe-font: the font %s %s\n", arguments.font, why.c_str());
    return 1;
  }
  SheetReport report;
  const std::vector<unsigned char> sheet = MakeFontSheet(font, arguments.options, &report);

  std::vector<unsigned char> png;
  unsigned error = lodepng::encode(png, sheet, kSheetWidth, kSheetHeight);
  if (error == 0) error = lodepng::save_file(png, arguments.sheet);
  if (error != 0) {
    std::fprintf(stderr, "veskframe-font: %s could not be written (%s)\n", arguments.sheet,
                 lodepng_error_text(error));
    return 1;
  }
  if (!report.missing.empty()) {
    std::fprintf(stderr, "veskframe-font: the font has no glyph for: %s\n", report.missing.c_str());
  }
  if (report.cutRows > 0) {
    std::fprintf(stderr,
                 "veskframe-font: %i rows of ink fell outside the 32-pixel frames: try a "
                 "smaller --size\n",
                 report.cutRows);
  }
  std::printf("veskframe-font: wrote %s, characters 32 to 127 of %s at %i pixels per em\n",
              arguments.sheet, arguments.font, arguments.options.pixels);
  return 0;
}
