// circle_benchmark: what one draw_circle and one fill_disc cost when the
// radius is 10^9 and the circle crosses an 800 x 600 canvas, through its
// flat top and through its steep side, against one of radius 300 wholly
// inside; and one of radius 10^12 crossing it at 45 degrees, given in
// doubles as a world frame gives it (draw_pixel_circle, fill_pixel_disc).
// Run by hand: circle_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "draw_circle.h"
#include "fill_disc.h"
#include "pixel_circle.h"

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

using PixelRoutine = void (*)(const Canvas&, const PixelCircle&, std::uint32_t);

// Radius r, its centre down and to the left, so the circle crosses the
// canvas's centre at 45 degrees.
void diagonal(benchmark::State& state, PixelRoutine routine, double r) {
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  const Canvas canvas{pixels.data(), width, height, width};
  const PixelCircle c{width / 2 - r * 0.7071067811865476, height / 2 + r * 0.7071067811865476, r};
  std::uint32_t colour = 0;
  for (auto _ : state) {
    routine(canvas, c, ++colour);
    benchmark::DoNotOptimize(pixels.data());
  }
}

}  // namespace

BENCHMARK_CAPTURE(outline, r1e9_top_crossing, width / 2, height / 2 + huge, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(outline, r1e9_side_crossing, width / 2 - huge, height / 2, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(outline, r300_inside, width / 2, height / 2, 299)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(disc, r1e9_top_crossing, width / 2, height / 2 + huge, huge)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(disc, r300_inside, width / 2, height / 2, 299)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(diagonal, outline_r1e12_diagonal_crossing, draw_pixel_circle, 1e12)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(diagonal, disc_r1e12_diagonal_crossing, fill_pixel_disc, 1e12)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
