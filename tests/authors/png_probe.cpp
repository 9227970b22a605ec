// Pixel probe for the shell-driven tests of this folder: reads a PNG file
// and prints plain numbers that a script compares.
//   png_probe size FILE                      -> "W H"
//   png_probe colour FILE R G B TOL [Y0 Y1]  -> "COUNT CX CY": pixels whose every
//        channel lies within TOL of (R, G, B), optionally only rows Y0..Y1,
//        and their centroid (-1 -1 when there are none)
//   png_probe rowmedian FILE Y               -> "R G B": per-channel median of row Y
//   png_probe mean FILE X Y W H              -> "R G B": per-channel mean of the
//        W x H pixels from (X, Y), which must lie inside the picture
// Exits 2 on bad usage or an unreadable file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/Png.h"

namespace {

using vftest::Picture;

int Usage() {
  std::fprintf(stderr,
               "usage: png_probe size FILE | colour FILE R G B TOL [Y0 Y1] | rowmedian FILE Y"
               " | mean FILE X Y W H\n");
  return 2;
}

int Colour(const Picture& p, int argc, char** argv) {
  if (argc != 7 && argc != 9) return Usage();
  const int want[3] = {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
  const int tolerance = std::atoi(argv[6]);
  int y0 = 0;
  int y1 = p.height == 0 ? 0 : p.height - 1;
  if (argc == 9) {
    y0 = std::max(0, std::atoi(argv[7]));
    y1 = std::min(y1, std::max(0, std::atoi(argv[8])));
  }
  long count = 0;
  double sumX = 0;
  double sumY = 0;
  for (int y = y0; y <= y1 && y < p.height; y++) {
    for (int x = 0; x < p.width; x++) {
      const vftest::Rgba px = p.At(x, y);
      const int got[3] = {px.r, px.g, px.b};
      bool match = true;
      for (int c = 0; c < 3; c++) match = match && std::abs(got[c] - want[c]) <= tolerance;
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
  if (y < 0 || y >= p.height || p.width == 0) return Usage();
  int median[3];
  for (int c = 0; c < 3; c++) {
    std::vector<unsigned char> values;
    for (int x = 0; x < p.width; x++) {
      const vftest::Rgba px = p.At(x, y);
      values.push_back(c == 0 ? px.r : c == 1 ? px.g : px.b);
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    median[c] = values[values.size() / 2];
  }
  std::printf("%d %d %d\n", median[0], median[1], median[2]);
  return 0;
}

int Mean(const Picture& p, int argc, char** argv) {
  if (argc != 7) return Usage();
  const long x0 = std::atol(argv[3]), y0 = std::atol(argv[4]);
  const long w = std::atol(argv[5]), h = std::atol(argv[6]);
  if (x0 < 0 || y0 < 0 || w < 1 || h < 1 || x0 + w > long(p.width) || y0 + h > long(p.height)) {
    return Usage();
  }
  double sum[3] = {0, 0, 0};
  for (long y = y0; y < y0 + h; y++) {
    for (long x = x0; x < x0 + w; x++) {
      const vftest::Rgba px = p.At(int(x), int(y));
      sum[0] += px.r;
      sum[1] += px.g;
      sum[2] += px.b;
    }
  }
  const double n = double(w) * double(h);
  std::printf("%.1f %.1f %.1f\n", sum[0] / n, sum[1] / n, sum[2] / n);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  Picture picture;
  if (!vftest::LoadPng(argv[2], &picture)) {
    std::fprintf(stderr, "png_probe: cannot read %s as a PNG file\n", argv[2]);
    return 2;
  }
  if (std::strcmp(argv[1], "size") == 0) {
    std::printf("%d %d\n", picture.width, picture.height);
    return 0;
  }
  if (std::strcmp(argv[1], "colour") == 0) return Colour(picture, argc, argv);
  if (std::strcmp(argv[1], "rowmedian") == 0) return RowMedian(picture, argc, argv);
  if (std::strcmp(argv[1], "mean") == 0) return Mean(picture, argc, argv);
  return Usage();
}
