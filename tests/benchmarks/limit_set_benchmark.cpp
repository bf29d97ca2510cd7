// limit_set_benchmark: five_circle_limit's first configuration drawn word
// by word (limit_set.h, every word to the pixel, depth bound 512) against
// 10^8 steps of its walk, each on a canvas of 800 x 600 and of 7680 x 4320
// in the frame its scene has at that size (scale 5 times the size's factor
// over 800 x 600, the origin at the centre).
//
// Run by hand: limit_set_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "inversion_walk.h"
#include "limit_set.h"
#include "program_circles.h"
#include "random_generator.h"

namespace {

namespace p = five_circle_limit_circles;

struct View {
  std::vector<std::uint32_t> pixels;
  Canvas canvas;
  WorldFrame frame;
};

View view(int width, int height) {
  View v{std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0xFFFFFF), {}, {}};
  v.canvas = {v.pixels.data(), width, height, width};
  const double factor = std::min(width / 800.0, height / 600.0);
  v.frame = {p::frame.scale * factor, width / 2.0, height / 2.0, YAxis::up};
  return v;
}

Circle circle(int k) {
  return {p::configurations[0].x[k], p::configurations[0].y[k], p::configurations[0].r[k]};
}

void limit_set(benchmark::State& state, int width, int height) {
  View v = view(width, height);
  Circle circles[5];
  for (int k = 0; k < 5; ++k) circles[k] = circle(k);
  NestedDiscs discs;
  if (nested_discs(circles, 5, discs).fault != NestFault::none) state.SkipWithError("no nesting");
  auto run = std::make_unique<LimitSetRun>();
  const LimitRules rules{max_limit_depth, INT64_MAX, LimitPlot::pixel, false, 0, {}, 0, {}};
  for (auto _ : state) {
    begin_limit_set(*run, discs, rules, v.frame, width, height);
    continue_limit_set(*run, v.canvas, INT64_MAX);
    benchmark::DoNotOptimize(v.pixels.data());
  }
  state.counters["words"] = static_cast<double>(run->counts.words);
  state.counters["leaves"] = static_cast<double>(run->counts.plotted);
}

void walk(benchmark::State& state, int width, int height) {
  View v = view(width, height);
  double x[5], y[5], R2[5];
  for (int k = 0; k < 5; ++k) {
    x[k] = circle(k).x;
    y[k] = circle(k).y;
    R2[k] = circle(k).r * circle(k).r;
  }
  const WalkCircles circles = walk_circles(x, y, R2, 5);
  const WalkRules rules{PickRule::random_no_repeat, InsideRule::none, PointStorage::double_width,
                        100000000, no_burn_in, WalkPlot::pixel, 0};
  for (auto _ : state) {
    RandomGenerator random;
    seed_random(random, 1);
    WalkState walker{3.0, 3.0, no_previous};
    inversion_walk(v.canvas, circles, walker, rules, v.frame, random);
    benchmark::DoNotOptimize(v.pixels.data());
  }
}

BENCHMARK_CAPTURE(limit_set, 800x600, 800, 600)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(limit_set, 7680x4320, 7680, 4320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walk, 800x600_1e8_steps, 800, 600)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(walk, 7680x4320_1e8_steps, 7680, 4320)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
