// Pixel probe for the shell-driven tests of this folder: reads a PNG with
// lodepng and prints plain numbers that a script compares.
//   png_probe size FILE                      -> "W H"
//   png_probe colour FILE R G B TOL [Y0 Y1]  -> "COUNT CX CY": pixels whose every
//        channel lies within TOL of (R, G, B), optionally only rows Y0..Y1,
//        and their centroid (-1 -1 when there are none)
//   png_probe rowmedian FILE Y               -> "R G B": per-channel median of row Y
// Exits 2 on bad usage or an unreadable file.
#include <lodepng.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kChannels = 4;

struct Picture {
  std::vector<unsigned char> rgba;
  unsigned width = 0;
  unsigned height = 0;
  const unsigned char* At(unsigned x, unsigned y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * kChannels];
  }
};

bool Load(const char* file, Picture* picture) {
  unsigned error = lodepng::decode(picture->rgba, picture->width, picture->height, file);
  if (error != 0) std::fprintf(stderr, "png_probe: %s: %s\n", file, lodepng_error_text(error));
  return error == 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: png_probe size FILE | colour FILE R G B TOL [Y0 Y1] | rowmedian FILE Y\n");
  return 2;
}

int Colour(const Picture& p, int argc, char** argv) {
  if (argc != 7 && argc != 9) return Usage();
  const int want[3] = {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
  const int tolerance = std::atoi(argv[6]);
  unsigned y0 = 0;
  unsigned y1 = p.height == 0 ? 0 : p.height - 1;
  if (argc == 9) {
    y0 = static_cast<unsigned>(std::max(0, std::atoi(argv[7])));
    y1 = std::min(y1, static_cast<unsigned>(std::max(0, std::atoi(argv[8]))));
  }
  long count = 0;
  double sumX = 0;
  double sumY = 0;
  for (unsigned y = y0; y <= y1 && y < p.height; y++) {
    for (unsigned x = 0; x < p.width; x++) {
      const unsigned char* px = p.At(x, y);
      bool match = true;
      for (int c = 0; c < 3; c++) match = match && std::abs(px[c] - want[c]) <= tolerance;
      if (!match) continue;
      count++;
      sumX += x;
      sumY += y;
    }
  }
  if (count == 0) {
    std::printf("0 -1 -1\n");
  } else {
    std::printf("%ld %.0f %.0f\n", count, sumX / count, sumY / count);
  }
  return 0;
}

int RowMedian(const Picture& p, int argc, char** argv) {
  if (argc != 4) return Usage();
  const int y = std::atoi(argv[3]);
  if (y < 0 || static_cast<unsigned>(y) >= p.height || p.width == 0) return Usage();
  int median[3];
  for (int c = 0; c < 3; c++) {
    std::vector<unsigned char> values;
    for (unsigned x = 0; x < p.width; x++) values.push_back(p.At(x, y)[c]);
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    median[c] = values[values.size() / 2];
  }
  std::printf("%d %d %d\n", median[0], median[1], median[2]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  Picture picture;
  if (!Load(argv[2], &picture)) return 2;
  if (std::strcmp(argv[1], "size") == 0) {
    std::printf("%u %u\n", picture.width, picture.height);
    return 0;
  }
  if (std::strcmp(argv[1], "colour") == 0) return Colour(picture, argc, argv);
  if (std::strcmp(argv[1], "rowmedian") == 0) return RowMedian(picture, argc, argv);
  return Usage();
}
