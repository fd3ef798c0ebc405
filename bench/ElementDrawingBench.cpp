// Nine-slice composition speed: a dialog-sized element with a tiled centre,
// the most common shape the frame and control painters ask for.
#include <benchmark/benchmark.h>

#include "skin/draw/ElementDrawing.h"

namespace {

corvane::Surface StripOfFiveCells() {
  // Five 26 x 21 cells, like a push-button strip.
  corvane::Surface s(130, 21);
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      s.At(x, y) = 0xFF000000u | static_cast<corvane::Pixel>((x * 7 + y * 13) & 0xFFFFFF);
  return s;
}

void BM_BuildElementBitmapTiled(benchmark::State& state) {
  const corvane::Surface strip = StripOfFiveCells();
  const corvane::Rect target{0, 0, 531, 330};
  for (auto _ : state) {
    corvane::Surface built =
        corvane::BuildElementBitmap(target, strip, {4, 3, 4, 3}, false, true, 5, 2);
    benchmark::DoNotOptimize(built.Pixels().data());
  }
  state.counters["pixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * target.Width() * target.Height(),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildElementBitmapTiled);

void BM_BuildElementBitmapStretched(benchmark::State& state) {
  const corvane::Surface strip = StripOfFiveCells();
  const corvane::Rect target{0, 0, 531, 330};
  for (auto _ : state) {
    corvane::Surface built =
        corvane::BuildElementBitmap(target, strip, {4, 3, 4, 3}, false, false, 5, 2);
    benchmark::DoNotOptimize(built.Pixels().data());
  }
  state.counters["pixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * target.Width() * target.Height(),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildElementBitmapStretched);

}  // namespace
