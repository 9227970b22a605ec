// Build step of the tests: writes the WAV pieces the audio tests stream and
// encodes each with oggenc, once per build, into the folder given as the
// argument. Exits non-zero, naming the piece, when a file cannot be made.
//   vf_make_fixtures FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/Files.h"
#include "support/Wav.h"

namespace {

constexpr int kRate = 44100;
constexpr double kAmplitude = 0.5;

struct Piece {
  const char* name;
  int channels;
  double hz;
  int frames;
};

// mono: one second at 660 Hz; stereo: half a second at 880 Hz; short: an
// eighth of a second at 660 Hz, small enough to mutate byte by byte.
const Piece kPieces[] = {
    {"mono", 1, 660, kRate}, {"stereo", 2, 880, kRate / 2}, {"short", 1, 660, kRate / 8}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vf_make_fixtures FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (const Piece& p : kPieces) {
    const std::string wav = folder + "/" + p.name + ".wav";
    const std::string ogg = folder + "/" + p.name + ".ogg";
    const std::string samples = vftest::Sine16(p.channels, kRate, p.hz, p.frames, kAmplitude);
    const std::string encode = "oggenc -Q -q 6 -o '" + ogg + "' '" + wav + "'";
    if (!vftest::WriteFile(wav, vftest::SimpleWav(p.channels, kRate, samples)) ||
        std::system(encode.c_str()) != 0) {
      std::fprintf(stderr, "vf_make_fixtures: cannot make %s (is oggenc installed?)\n",
                   ogg.c_str());
      return 1;
    }
  }
  return 0;
}
