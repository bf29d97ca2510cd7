// limit_set_benchmark: five_circle_limit's first picture as a scene with its
// walk layer replaced by a limit_set layer (every default: word by word to
// the pixel), against the scene's walk of 10^8 steps, each drawn through
// the scene's drawing on a canvas of 800 x 600 and of 7680 x 4320 (the
// scene resized: the same region of the plane).
//
// Run by hand or by scripts/bench.sh: limit_set_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <vector>

#include "draw_scene.h"
#include "program_scenes.h"

namespace {

// Layer `walk` of the scene at width x height, as a walk of 10^8 steps or
// as the limit set of its circles.
void layer(benchmark::State& state, int width, int height, bool limit_set) {
  Scene scene{};
  SceneErrors errors;
  if (!program_scene("five_circle_limit", 1, 1700000000, scene, errors)) {
    state.SkipWithError(error_line(errors).c_str());
    return;
  }
  int k = 0;
  while (k < scene.layer_count && scene.layers[k].kind != LayerKind::walk) ++k;
  if (k == scene.layer_count) {
    state.SkipWithError("no walk");
    return;
  }
  scene.layers[k].walk.steps = 100000000;
  if (limit_set) {
    scene.layers[k].kind = LayerKind::limit_set;
    scene.layers[k].limit = {false, {}, LimitPlot::pixel, default_limit_depth};
  }
  const Scene sized = resized_scene(scene, width, height);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, sized.background);
  const Canvas canvas{pixels.data(), width, height, width};
  for (auto _ : state) {
    draw_layer(sized, k, canvas);
    benchmark::DoNotOptimize(pixels.data());
  }
}

BENCHMARK_CAPTURE(layer, limit_set_800x600, 800, 600, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layer, limit_set_7680x4320, 7680, 4320, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layer, walk_1e8_steps_800x600, 800, 600, false)
    ->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(layer, walk_1e8_steps_7680x4320, 7680, 4320, false)
    ->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
