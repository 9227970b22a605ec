// Cost of one busy update step on the recording side: 10,000 sprite records
// (the benchmark game's largest scene) and the hand-over that copies them to
// the render side; and the same step while the session is recorded to a file.
// No window is needed; the view globals are set as a render step of an
// 800 x 600 window publishes them.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "VeskFrame.h"
#include "frame/Session.h"
#include "graphics/Records.h"

namespace {

class BenchGame : public VeskCore {};
BenchGame Game;

constexpr int kSprites = 10000;

void PrepareView() {
  ASys.TargetScale = 800.0f;
  ViewScale = 2.0f / ASys.TargetScale;
  rw2 = 400;
  rh2 = 300;
  ASys.DrawTo = 0;
  ASys.DrawDropped = 0;
}

// One update step per iteration: ResetDraw, `record` (kSprites commands),
// then the hand-over as BufferGame makes it.
template <typename Record>
void UpdateSteps(benchmark::State& state, Record record) {
  PrepareView();
  for (auto _ : state) {
    Game.ResetDraw();
    record();
    HandOverRecords();
    benchmark::DoNotOptimize(DrawR[0]);
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}

// 10,000 DrawImg calls.
void BM_RecordSpritesAndHandOver(benchmark::State& state) {
  UpdateSteps(state, [] {
    for (int i = 0; i < kSprites; i++) {
      Game.DrawImg(0, static_cast<float>(i % 800), static_cast<float>(i % 600), i & 15);
    }
  });
}
BENCHMARK(BM_RecordSpritesAndHandOver)->Unit(benchmark::kMicrosecond);

// The benchmark game's busiest update step: positions and frames drawn with
// Rnd and Rand (three draws per sprite) after a reseed, as its sprite tests do.
void RandomSprites() {
  Game.SeedRnd(1);
  for (int i = 0; i < kSprites; i++) {
    const int x = static_cast<int>(Game.Rnd(0, 800));
    const int y = static_cast<int>(Game.Rnd(0, 600));
    const int frame = Game.Rand(0, 3);
    Game.DrawImg(0, static_cast<float>(x), static_cast<float>(y), frame);
  }
}

void BM_RecordRandomSpritesAndHandOver(benchmark::State& state) {
  UpdateSteps(state, RandomSprites);
}
BENCHMARK(BM_RecordRandomSpritesAndHandOver)->Unit(benchmark::kMicrosecond);

// The same step with rectangles, whose records also carry scaled sizes.
void BM_RecordRectsAndHandOver(benchmark::State& state) {
  UpdateSteps(state, [] {
    for (int i = 0; i < kSprites; i++) {
      Game.Rect(static_cast<float>(i % 800), static_cast<float>(i % 600), 8);
    }
  });
}
BENCHMARK(BM_RecordRectsAndHandOver)->Unit(benchmark::kMicrosecond);

// A line of text of 40 characters: layout plus one record per character.
void BM_RecordTextLine(benchmark::State& state) {
  PrepareView();
  for (auto _ : state) {
    Game.ResetDraw();
    Game.Text(8, 300, "Update 60fps - Render 60fps - Polys 20000", 0);
    ASys.DrawTo = 0;
    benchmark::DoNotOptimize(ASys.Draw[0]);
  }
}
BENCHMARK(BM_RecordTextLine);

// The desync checksum of the busiest step's 10,000 handed-over records,
// which a recording or a replay takes once per step, at the render pass
// that follows the step.
void BM_HandedOverChecksum(benchmark::State& state) {
  PrepareView();
  Game.ResetDraw();
  RandomSprites();
  HandOverRecords();
  for (auto _ : state) benchmark::DoNotOptimize(HandedOverChecksum());
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_HandedOverChecksum)->Unit(benchmark::kMicrosecond);

// What recording adds to an update step, measured alone (against the busiest
// step above): the hooks of the poll and the end of the step, a clock
// reading, the input block compared and the previous step's entry written
// and flushed. Defined last: once a recording has started it stays on for
// the rest of the process.
void BM_RecordingPerStep(benchmark::State& state) {
  const char* file = "record_bench.vfr";
  static bool recording = false;  // the case runs several times
  if (!recording) Game.Record(file);
  recording = true;
  for (auto _ : state) {
    SessionStepBegins(Game);
    SessionInputPolled();
    benchmark::DoNotOptimize(Game.Mills());
    SessionStepEnds(Game);
  }
  std::remove(file);
}
BENCHMARK(BM_RecordingPerStep);

}  // namespace

BENCHMARK_MAIN();
