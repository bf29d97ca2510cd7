// circle_benchmark: what one draw_circle and one fill_disc cost when the
// radius is 10^9 and the circle crosses an 800 x 600 canvas, through its
// flat top and through its steep side, against one of radius 300 wholly
// inside. Run by hand: circle_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "draw_circle.h"
#include "fill_disc.h"

namespace {

constexpr int width = 800, height = 600;
constexpr int huge = 1000000000;

using Routine = void (*)(const Canvas&, int, int, int, std::uint32_t);

void circle(benchmark::State& state, Routine routine, int cx, int cy, int r) {
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  const Canvas canvas{pixels.data(), width, height, width};
  std::uint32_t colour = 0;
  for (auto _ : state) {
    routine(canvas, cx, cy, r, ++colour);
    benchmark::DoNotOptimize(pixels.data());
  }
}

void outline(benchmark::State& state, int cx, int cy, int r) { circle(state, draw_circle, cx, cy, r); }
void disc(benchmark::State& state, int cx, int cy, int r) { circle(state, fill_disc, cx, cy, r); }

}  // namespace

BENCHMARK_CAPTURE(outline, r1e9_top_crossing, width / 2, height / 2 + huge, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(outline, r1e9_side_crossing, width / 2 - huge, height / 2, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(outline, r300_inside, width / 2, height / 2, 299)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(disc, r1e9_top_crossing, width / 2, height / 2 + huge, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(disc, r300_inside, width / 2, height / 2, 299)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
