// poster_benchmark: the bare loop that ./suite render's poster is measured
// against. It takes the walk of a scene (five_circle_limit:1 at a clock)
// and runs it written out by hand on a canvas of the poster's size: pick,
// invert, clipped pixel plot, nothing else. It first checks, over the
// first million steps, that the bare loop draws what draw_scene draws, so
// the two do the same work; then prints the bare loop's CPU and wall time.
//
//   poster_benchmark WIDTH HEIGHT STEPS CLOCK
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "draw_scene.h"
#include "program_scenes.h"

namespace {

// Random picks without repeat, no inside rule, a double point, every step
// plotted as one pixel: the walk of five_circle_limit:1.
void bare_loop(const Scene& scene, const Canvas& canvas, long steps) {
  const Layer& layer = scene.layers[1];
  const int n = scene.circle_count;
  double cx[max_scene_circles], cy[max_scene_circles], R2[max_scene_circles];
  for (int k = 0; k < n; ++k) {
    cx[k] = scene.circles[k].x;
    cy[k] = scene.circles[k].y;
    R2[k] = scene.circles[k].r * scene.circles[k].r;
  }
  const WorldFrame frame = scene_frame(scene, canvas.width, canvas.height);
  const double scale = frame.scale, ox = frame.origin_column, oy = frame.origin_row;
  const unsigned width = static_cast<unsigned>(canvas.width),
                 height = static_cast<unsigned>(canvas.height);
  std::uint32_t* const pixels = canvas.pixels;
  const int stride = canvas.stride;
  const std::uint32_t colour = layer.colour;
  RandomGenerator random;
  seed_random(random, layer.walk.seed);
  double x = layer.walk.start_x, y = layer.walk.start_y;
  int previous = layer.walk.previous;
  for (long s = 0; s < steps; ++s) {
    int k;
    do k = next_random(random) % n;
    while (k == previous);
    const double dx = x - cx[k], dy = y - cy[k];
    const double d2 = dx * dx + dy * dy;
    x = cx[k] + dx * R2[k] / d2;
    y = cy[k] + dy * R2[k] / d2;
    previous = k;
    const double column = ox + x * scale, row = oy - y * scale;
    // Truncated toward zero, as the frame does: -0.5 is column 0. Far-off
    // points fail the test before any conversion could overflow.
    if (column > -1.0 && row > -1.0 && column < width && row < height)
      pixels[static_cast<long>(row) * stride + static_cast<long>(column)] = colour;
  }
}

double cpu_seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// The floor under any split of the walk: the same chain of inversions with
// its picks drawn ahead a block at a time (not timed) and nothing plotted.
// Returns the chain's CPU seconds.
double chain_alone(const Scene& scene, long steps) {
  const SceneWalk& walk = scene.layers[1].walk;
  const int n = scene.circle_count;
  RandomGenerator random;
  seed_random(random, walk.seed);
  double x = walk.start_x, y = walk.start_y, seconds = 0;
  int previous = walk.previous;
  static int picks[1 << 16];
  for (long done = 0; done < steps; done += 1 << 16) {
    const long block = std::min(steps - done, 1L << 16);
    for (long i = 0; i < block; ++i) {
      do picks[i] = next_random(random) % n;
      while (picks[i] == previous);
      previous = picks[i];
    }
    const double start = cpu_seconds();
    for (long i = 0; i < block; ++i) {
      const Circle& c = scene.circles[picks[i]];
      const double dx = x - c.x, dy = y - c.y, d2 = dx * dx + dy * dy, R2 = c.r * c.r;
      x = c.x + dx * R2 / d2;
      y = c.y + dy * R2 / d2;
    }
    seconds += cpu_seconds() - start;
  }
  volatile double kept = x + y;  // the chain's result, so it is computed
  (void)kept;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: poster_benchmark WIDTH HEIGHT STEPS CLOCK\n");
    return 2;
  }
  const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
  const long steps = std::atol(argv[3]);
  Scene scene;
  SceneErrors errors;
  if (!program_scene("five_circle_limit", 1, static_cast<std::uint32_t>(std::atol(argv[4])), scene,
                     errors)) {
    std::fprintf(stderr, "%s\n", error_line(errors).c_str());
    return 1;
  }
  scene = resized_scene(scene, width, height);
  std::vector<std::uint32_t> walked(static_cast<std::size_t>(width) * height, scene.background);
  std::vector<std::uint32_t> bare(walked.size(), scene.background);
  const Canvas walk_canvas{walked.data(), width, height, width};
  const Canvas bare_canvas{bare.data(), width, height, width};

  // The same work: the scene's walk alone (no outlines) against the bare loop.
  Scene walk_only = scene;
  walk_only.layers[0] = walk_only.layers[1];
  walk_only.layer_count = 1;
  walk_only.layers[0].walk.steps = 1000000;
  draw_scene(walk_only, walk_canvas);
  bare_loop(scene, bare_canvas, 1000000);
  if (walked != bare) {
    std::fprintf(stderr, "poster_benchmark: the bare loop does not draw what the walk draws\n");
    return 1;
  }

  const double cpu = cpu_seconds();
  const auto wall = std::chrono::steady_clock::now();
  bare_loop(scene, bare_canvas, steps);
  const double cpu_used = cpu_seconds() - cpu;
  const double wall_used =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
  std::printf("bare loop: %ld steps on %d x %d: %.2f s CPU, %.2f s wall\n", steps, width, height,
              cpu_used, wall_used);
  std::printf("the chain alone, its picks drawn ahead, nothing plotted: %.2f s CPU\n",
              chain_alone(scene, steps));
  return 0;
}
