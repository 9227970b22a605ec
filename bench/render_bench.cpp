// Cost of one render pass on the real GL driver (run it on a display, e.g.
// scripts/with-display.sh): the benchmark game's heaviest frame, 10,000
// sprites of one sheet with a 512 x 512 texture in an 800 x 600 window, and
// the worst case for batching, sprites of two images drawn alternately.
// The sheets are written into a fresh temporary folder, which becomes the
// working directory and is removed at the end. Times are wall-clock: the software rasteriser draws
// on threads of its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "frame/Window.h"
#include "support/Png.h"
#include "support/Scene.h"

namespace {

class BenchGame : public VeskCore {};
BenchGame Game;

constexpr int kGame = 1;
constexpr int kSheet = 0;
constexpr int kSecondSheet = 1;
constexpr int kFrame = 32;
constexpr int kSheetWidth = 256;  // 8 frames of 32 + 8 texels: 320, raised to 512
constexpr int kSheetHeight = 64;
constexpr int kHeaviestSprites = 10000;
constexpr int kAlternatingSprites = 1000;

bool started = false;
std::string folder;
float viewWidth = 0.0f;
float viewHeight = 0.0f;

bool WriteSheet(const char* name) {
  vftest::Picture sheet(kSheetWidth, kSheetHeight);
  for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
    sheet.rgba[i] = static_cast<unsigned char>(i * 7);
    sheet.rgba[i + 1] = static_cast<unsigned char>(i * 13);
    sheet.rgba[i + 2] = static_cast<unsigned char>(i * 29);
    sheet.rgba[i + 3] = (i / 4) % 5 == 0 ? 0 : 255;
  }
  return vftest::WritePng(std::string("Data/1/") + name + ".png", sheet);
}

// Opens the window once per process, in a temporary working directory.
bool Start() {
  if (started) return window != nullptr;
  started = true;
  char name[] = "/tmp/vf-render-bench-XXXXXX";
  if (mkdtemp(name) == nullptr || chdir(name) != 0) return false;
  folder = name;
  if (!WriteSheet("sheet") || !WriteSheet("other")) return false;
  const bool opened = vftest::OpenScene(
      Game, kGame, "render bench",
      [] {
        Game.LoadImg(kSheet, "sheet", kFrame);
        Game.LoadImg(kSecondSheet, "other", kFrame);
      },
      &viewWidth, &viewHeight);
  return opened && iSize[kSheet] == 512;
}

// Records one frame as the benchmark game's busiest test does and hands it
// over: random positions in the view, frames 0 to 3.
void RecordSprites(int count, bool alternate) {
  Game.ResetDraw();
  Game.SeedRnd(1);
  for (int i = 0; i < count; i++) {
    const int x = static_cast<int>(Game.Rnd(0, viewWidth));
    const int y = static_cast<int>(Game.Rnd(0, viewHeight));
    const int frame = Game.Rand(0, 3);
    Game.DrawImg(alternate && i % 2 == 1 ? kSecondSheet : kSheet, static_cast<float>(x),
                 static_cast<float>(y), frame);
  }
  Game.BufferGame();
}

void RenderPasses(benchmark::State& state) {
  for (auto _ : state) {
    Game.RenderGame(viewWidth, viewHeight);
  }
  state.counters["triangles"] = ASys.PolyCount;
}

void BM_RenderHeaviestFrame(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no window or no sheet");
    return;
  }
  RecordSprites(kHeaviestSprites, false);
  RenderPasses(state);
}
BENCHMARK(BM_RenderHeaviestFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_RenderAlternatingImages(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no window or no sheet");
    return;
  }
  RecordSprites(kAlternatingSprites, true);
  RenderPasses(state);
}
BENCHMARK(BM_RenderAlternatingImages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  if (window != nullptr) Game.Terminate();
  if (!folder.empty()) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }
  return 0;
}
