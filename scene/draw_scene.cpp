#include "draw_scene.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "circle_generation.h"
#include "pixel_circle.h"
#include "random_generator.h"
#include "scene_walk.h"

namespace {

// The share of the walk steps done so far, for the progress report.
struct StepCount {
  const SceneProgress* progress;
  std::int64_t done;
  std::int64_t total;

  void add(std::int64_t steps) {
    done += steps;
    if (progress != nullptr && total > 0)
      progress->report(progress->context, static_cast<double>(done) / static_cast<double>(total));
  }
};

void draw_outline(const Canvas& canvas, const WorldFrame& frame, const Circle& c,
                  std::uint32_t colour) {
  if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.r)) return;
  draw_pixel_circle(canvas, frame_circle(frame, c.x, c.y, c.r), colour);
}

void circles_layer(const Scene& scene, const Layer& layer, const Canvas& canvas,
                   const WorldFrame& frame) {
  int index[max_scene_circles];
  const int n = chosen_circles(scene, layer.circles, index);
  for (int i = 0; i < n; ++i) {
    const Circle c = scene_circle(scene, index[i]);
    if (layer.kind == LayerKind::outlines)
      draw_outline(canvas, frame, c, layer.colour);
    else
      fill_pixel_disc(canvas, frame_circle(frame, c.x, c.y, c.r), layer.colour);
  }
}

// Grows the layer's generations with the programs' routine. Discs are
// drawn by the routine itself; a generation drawn as outlines, or not at
// all, is grown on a one-pixel canvas and its stored circles outlined or
// visited afterwards.
void generations_layer(const Scene& scene, const Layer& layer, const Canvas& canvas,
                       const WorldFrame& frame, GenerationVisit visit, void* context) {
  int index[max_scene_circles];
  const int n0 = chosen_circles(scene, layer.circles, index);
  // The current store holds the circles and every generation but the last,
  // the next store every generation.
  std::int64_t n = n0, current_capacity = n0, next_capacity = 0;
  for (int g = 0; g < layer.depth; ++g) {
    n = n * (n - 1);
    next_capacity = std::max(next_capacity, n);
    if (g + 1 < layer.depth) current_capacity = std::max(current_capacity, n);
  }
  std::vector<float> store(3 * static_cast<std::size_t>(current_capacity + next_capacity));
  float* p = store.data();
  const int cc = static_cast<int>(current_capacity), nc = static_cast<int>(next_capacity);
  const CircleSlots current{p, p + cc, p + 2 * cc, cc};
  const CircleSlots next{p + 3 * cc, p + 3 * cc + nc, p + 3 * cc + 2 * nc, nc};
  for (int i = 0; i < n0; ++i) {
    const Circle& c = scene.circles[index[i]];
    set_circle(current, i, static_cast<float>(c.x), static_cast<float>(c.y),
               static_cast<float>(c.r));
  }
  CircleGeneration generation{current, n0, next, 0};
  std::uint32_t spare_pixel = 0;
  const Canvas spare{&spare_pixel, 1, 1, 1};
  for (int g = 0; g < layer.depth; ++g) {
    const std::uint32_t colour = layer.colours[g];
    const bool discs =
        visit == nullptr && colour != no_colour && layer.style == GenerationStyle::discs;
    generation.n_next = 0;
    grow_generation(discs ? canvas : spare, generation, frame, colour);
    for (int k = 0; k < generation.n_next; ++k) {
      const Circle stored{next.x[k], next.y[k], next.r[k]};
      if (visit != nullptr)
        visit(context, g, stored);
      else if (colour != no_colour && layer.style == GenerationStyle::outlines)
        draw_outline(canvas, frame, stored, colour);
    }
    if (g + 1 < layer.depth) promote_generation(generation);
  }
}

// Stretches of a few million steps, for the progress report.
WalkEnd walk_layer(const Scene& scene, const Layer& layer, const Canvas& canvas, const WorldFrame& frame,
                   StepCount& count) {
  SceneWalkRun run = begin_scene_walk(scene, layer);
  while (run.done < run.total) count.add(continue_scene_walk(run, canvas, frame, std::int64_t{1} << 22));
  return {run.state.previous, run.random};
}

void draw(const Scene& scene, const Layer& layer, const Canvas& canvas, const WorldFrame& frame,
          StepCount& count) {
  switch (layer.kind) {
    case LayerKind::outlines:
    case LayerKind::discs:
      circles_layer(scene, layer, canvas, frame);
      break;
    case LayerKind::generations:
      generations_layer(scene, layer, canvas, frame, nullptr, nullptr);
      break;
    case LayerKind::walk:
      walk_layer(scene, layer, canvas, frame, count);
      break;
  }
}

}  // namespace

void draw_scene(const Scene& scene, const Canvas& canvas, const SceneProgress* progress) {
  for (int y = 0; y < canvas.height; ++y)
    std::fill_n(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride, canvas.width,
                scene.background);
  const WorldFrame frame = scene_frame(scene, canvas.width, canvas.height);
  StepCount count{progress, 0, 0};
  for (int k = 0; k < scene.layer_count; ++k)
    if (scene.layers[k].kind == LayerKind::walk) count.total += scene.layers[k].walk.steps;
  for (int k = 0; k < scene.layer_count; ++k) draw(scene, scene.layers[k], canvas, frame, count);
}

void draw_layer(const Scene& scene, int layer, const Canvas& canvas,
                const SceneProgress* progress) {
  StepCount count{progress, 0,
                  scene.layers[layer].kind == LayerKind::walk ? scene.layers[layer].walk.steps : 0};
  draw(scene, scene.layers[layer], canvas, scene_frame(scene, canvas.width, canvas.height), count);
}

WalkEnd walk_end(const Scene& scene, int layer) {
  std::uint32_t spare_pixel = 0;
  StepCount count{nullptr, 0, 0};
  return walk_layer(scene, scene.layers[layer], Canvas{&spare_pixel, 1, 1, 1},
                    scene_frame(scene, 1, 1), count);
}

void visit_generations(const Scene& scene, int layer, const WorldFrame& frame,
                       GenerationVisit visit, void* context) {
  std::uint32_t spare_pixel = 0;
  generations_layer(scene, scene.layers[layer], Canvas{&spare_pixel, 1, 1, 1}, frame, visit,
                    context);
}
