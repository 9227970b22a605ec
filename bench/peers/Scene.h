// The scene that every comparison program draws, so that their figures can
// stand side by side: N textured, tinted, alpha-blended sprites of 40 x 40
// drawing units, cut from one 512 x 512 RGBA texture, at positions and frames
// taken from one fixed sequence, in a view 800 units wide (an 800 x 600
// window, or the full screen scaled up). Also the command line all of them
// read and the one result line each prints. bench/peers/love/main.lua repeats
// the sequence and the texture in Lua.
#ifndef VESKFRAME_BENCH_SCENE_H
#define VESKFRAME_BENCH_SCENE_H

#include <sys/resource.h>  // Required for: getrusage, the process's CPU time

#include <chrono>   // Required for: steady_clock, the frame timer
#include <cstdint>  // Required for: uint32_t, uint64_t
#include <cstdio>   // Required for: printf, fprintf
#include <cstdlib>  // Required for: atoi
#include <cstring>  // Required for: strcmp
#include <vector>

namespace scene {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr float kViewWidth = 800.0f;  // drawing units across the view
constexpr int kTextureSide = 512;
constexpr int kFrameSide = 32;                   // texels of one sprite frame
constexpr int kMargin = 4;                       // transparent texels around each frame
constexpr int kCell = kFrameSide + 2 * kMargin;  // 40: the sprite's size in drawing units
constexpr int kFrames = 4;                       // frames 0..3 of the first row are drawn
constexpr int kSheetFrames = 8;                  // frames per row of the sheet
constexpr int kBlendBlock = 500;                 // "alt": a blend change before every 500
constexpr int kWarmupFrames = 5;
constexpr int kTimedFrames = 60;
// The tint: every texel is multiplied by this colour.
constexpr unsigned char kTintRed = 255, kTintGreen = 224, kTintBlue = 192, kTintAlpha = 230;
// The background, dark green, in 0..255 as the framework's SetCLS takes it.
constexpr unsigned char kClearRed = 0, kClearGreen = 110, kClearBlue = 0;

// The three kinds of frame: in the 800 x 600 window; full screen; in the
// window with the blend function changed before each block of 500 sprites,
// to mode 0 (none), 1 (alpha) and 2 (additive), which cuts the batch each time.
enum class Mode { kWindow, kFull, kAlternating };

struct Sprite {
  int x, y;   // centre, in drawing units from the view's top-left corner
  int frame;  // 0..kFrames-1
};

// The minimal standard generator (multiplier 48271, modulus 2^31 - 1): its
// products stay exact in double arithmetic, so the Lua program repeats it.
class Sequence {
 public:
  uint32_t Next() {
    state_ = static_cast<uint32_t>(static_cast<uint64_t>(state_) * 48271u % 2147483647u);
    return state_;
  }

 private:
  uint32_t state_ = 1;
};

// x in 0..799, y in 0..viewHeight-1, frame in 0..3, drawn in that order.
inline std::vector<Sprite> MakeSprites(int count, int viewHeight) {
  std::vector<Sprite> sprites(static_cast<size_t>(count));
  Sequence sequence;
  const uint32_t width = static_cast<uint32_t>(kViewWidth);
  const uint32_t height = static_cast<uint32_t>(viewHeight > 0 ? viewHeight : 1);
  for (Sprite& s : sprites) {
    s.x = static_cast<int>(sequence.Next() % width);
    s.y = static_cast<int>(sequence.Next() % height);
    s.frame = static_cast<int>(sequence.Next() % kFrames);
  }
  return sprites;
}

// Texel (x, y) of frame `frame`, RGBA: a colour ramp with every seventh
// texel transparent, so blending has real work everywhere.
inline void FrameTexel(int frame, int x, int y, unsigned char* rgba) {
  const int i = y * kFrameSide + x;
  rgba[0] = static_cast<unsigned char>(x * 8);
  rgba[1] = static_cast<unsigned char>(y * 8);
  rgba[2] = static_cast<unsigned char>(64 * frame + 32);
  rgba[3] = i % 7 == 0 ? 0 : 255;
}

// The 512 x 512 texture: frame k in the cell at (40k, 0), inside its margin.
inline std::vector<unsigned char> MakeTexture() {
  std::vector<unsigned char> rgba(static_cast<size_t>(kTextureSide) * kTextureSide * 4, 0);
  for (int frame = 0; frame < kSheetFrames; frame++) {
    for (int y = 0; y < kFrameSide; y++) {
      for (int x = 0; x < kFrameSide; x++) {
        const int tx = frame * kCell + kMargin + x;
        const int ty = kMargin + y;
        FrameTexel(frame, x, y, &rgba[(static_cast<size_t>(ty) * kTextureSide + tx) * 4]);
      }
    }
  }
  return rgba;
}

// Command line: SPRITES [window|full|alt], or the modes a program names.
struct Args {
  int sprites = 0;
  const char* mode = "window";
  bool ok = false;
};

inline Args ReadArgs(int argc, char** argv, const std::vector<const char*>& modes) {
  Args args;
  if (argc >= 2) args.sprites = std::atoi(argv[1]);
  if (argc >= 3) args.mode = argv[2];
  bool known = false;
  for (const char* m : modes) known = known || std::strcmp(m, args.mode) == 0;
  args.ok = args.sprites > 0 && known;
  if (!args.ok) {
    std::fprintf(stderr, "usage: %s SPRITES [", argc > 0 ? argv[0] : "scene");
    for (size_t i = 0; i < modes.size(); i++) std::fprintf(stderr, "%s%s", i ? "|" : "", modes[i]);
    std::fprintf(stderr, "]\n");
  }
  return args;
}

inline Mode ModeOf(const Args& args) {
  if (std::strcmp(args.mode, "full") == 0) return Mode::kFull;
  if (std::strcmp(args.mode, "alt") == 0) return Mode::kAlternating;
  return Mode::kWindow;
}

// CPU time of the whole process (every thread, the rasteriser's too), in ms.
inline double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs kWarmupFrames untimed frames, then kTimedFrames timed ones, and
// prints "result PROGRAM MODE SPRITES WALL_MS_PER_FRAME CPU_MS_PER_FRAME".
// The CPU figure counts the process's own threads: other load on the
// machine stretches the wall time but hardly the CPU time.
template <typename DrawFrame>
void TimeFrames(const char* program, const Args& args, DrawFrame drawFrame) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point start;
  double cpuStart = 0.0;
  for (int f = 0; f < kWarmupFrames + kTimedFrames; f++) {
    if (f == kWarmupFrames) {
      start = Clock::now();
      cpuStart = ProcessCpuMs();
    }
    drawFrame();
  }
  const std::chrono::duration<double, std::milli> spent = Clock::now() - start;
  const double cpu = ProcessCpuMs() - cpuStart;
  std::printf("result %s %s %d %.2f %.2f\n", program, args.mode, args.sprites,
              spent.count() / kTimedFrames, cpu / kTimedFrames);
  std::fflush(stdout);
}

}  // namespace scene

#endif  // VESKFRAME_BENCH_SCENE_H
