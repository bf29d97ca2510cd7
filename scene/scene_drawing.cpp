#include "scene_drawing.h"

#include <algorithm>
#include <cmath>

#include "pixel_circle.h"
#include "threaded_walk.h"

namespace {

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

std::int64_t generation_images(const Scene& scene, const Layer& layer) {
  int index[max_scene_circles];
  std::int64_t n = chosen_circles(scene, layer.circles, index), images = 0;
  for (int g = 0; g < layer.depth; ++g) {
    n = n * (n - 1);
    images += n;
  }
  return images;
}

// The current store holds the circles and every generation but the last,
// the next store every generation; the chosen circles go into the current.
void begin_generations(SceneDrawing& d, const Layer& layer) {
  int index[max_scene_circles];
  const int n0 = chosen_circles(*d.scene, layer.circles, index);
  std::int64_t n = n0, current_capacity = n0, next_capacity = 0;
  for (int g = 0; g < layer.depth; ++g) {
    n = n * (n - 1);
    next_capacity = std::max(next_capacity, n);
    if (g + 1 < layer.depth) current_capacity = std::max(current_capacity, n);
  }
  const std::size_t size = 3 * static_cast<std::size_t>(current_capacity + next_capacity);
  if (d.store == nullptr || d.store_size < size) {
    d.store.reset(new float[size]);
    d.store_size = size;
  }
  float* p = d.store.get();
  const int cc = static_cast<int>(current_capacity), nc = static_cast<int>(next_capacity);
  const CircleSlots current{p, p + cc, p + 2 * cc, cc};
  const CircleSlots next{p + 3 * cc, p + 3 * cc + nc, p + 3 * cc + 2 * nc, nc};
  for (int i = 0; i < n0; ++i) {
    const Circle& c = d.scene->circles[index[i]];
    set_circle(current, i, static_cast<float>(c.x), static_cast<float>(c.y),
               static_cast<float>(c.r));
  }
  d.generation = {current, n0, next, 0};
  d.depth = 0;
  d.grown = 0;
}

// What drawing a stored image cost beyond its image_units: a disc's pixels,
// an outline's rows and columns, on the part of the canvas it covers, a
// unit for every pixels_a_unit of them. A generation of large discs thus
// takes more pieces than one of small ones.
constexpr std::int64_t pixels_a_unit = 4;
std::int64_t drawing_cost(const SceneDrawing& d, const Circle& c, bool disc) {
  if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.r)) return 0;
  const PixelCircle p = frame_circle(d.frame, c.x, c.y, c.r);
  const double x = p.cx, y = p.cy, r = p.r;
  const double w = std::clamp(x + r + 1, 0.0, double(d.canvas.width)) - std::clamp(x - r, 0.0, double(d.canvas.width));
  const double h = std::clamp(y + r + 1, 0.0, double(d.canvas.height)) - std::clamp(y - r, 0.0, double(d.canvas.height));
  return static_cast<std::int64_t>((disc ? w * h : 2 * (w + h)) / pixels_a_unit);
}

// Grows images until `spent` reaches `limit` (at least one image);
// returns true once the layer is grown. Discs are drawn by the routine
// itself; a generation drawn as outlines, or not at all, is grown on the
// spare canvas and its new images outlined or visited after it (the
// routine draws nothing there, so the order of what reaches the canvas is
// one run's).
bool grow_generations(SceneDrawing& d, const Layer& layer, std::int64_t limit, std::int64_t& spent) {
  CircleGeneration& generation = d.generation;
  while (d.depth < layer.depth) {
    const std::uint32_t colour = layer.colours[d.depth];
    const bool drawn = d.visit == nullptr && colour != no_colour;
    const bool discs = drawn && layer.style == GenerationStyle::discs;
    const std::int64_t all = static_cast<std::int64_t>(generation.n) * (generation.n - 1);
    // One image at a time: one large disc may be a piece's whole budget.
    const std::int64_t count = std::min<std::int64_t>(1, all - d.grown);
    const int from = generation.n_next;
    const Canvas spare{&d.spare_pixel, 1, 1, 1};
    grow_generation_part(discs ? d.canvas : spare, generation, d.frame, colour, d.grown, count);
    spent += count * image_units;
    for (int k = from; k < generation.n_next; ++k) {
      const Circle stored{generation.next.x[k], generation.next.y[k], generation.next.r[k]};
      if (d.visit != nullptr)
        d.visit(d.visit_context, d.depth, stored);
      else if (drawn && layer.style == GenerationStyle::outlines)
        draw_outline(d.canvas, d.frame, stored, colour);
      if (drawn) spent += drawing_cost(d, stored, discs);
    }
    d.grown += count;
    d.done += count * image_units;
    if (d.grown == all) {
      if (d.depth + 1 < layer.depth) promote_generation(generation);
      ++d.depth;
      d.grown = 0;
      generation.n_next = 0;
    }
    if (spent >= limit && d.depth < layer.depth) return false;
  }
  return true;
}

void begin_walking(SceneDrawing& d, const Layer& layer) {
  d.walk = begin_scene_walk(*d.scene, layer);
  if (d.limit == nullptr) d.limit.reset(new LimitSetRun);
  if (d.cover == nullptr) d.cover.reset(new CoverWords);
  d.zoomed = zoomed_scene_walk(*d.scene, layer, d.frame, d.canvas.width, d.canvas.height, *d.limit,
                               *d.cover);
}

// Throws the skip away, then walks; returns true once the walk is done.
bool go_on_walking(SceneDrawing& d, std::int64_t budget, std::int64_t& spent) {
  SceneWalkRun& run = d.walk;
  const std::int64_t start = d.done;
  if (run.skip > 0) {
    const std::int64_t units = std::min(budget, (run.skip + skip_draws_a_unit - 1) / skip_draws_a_unit);
    skip_scene_walk(run, units * skip_draws_a_unit);
    d.done += units;
    budget -= units;
    if (run.skip > 0 || budget <= 0) {
      spent += units;
      return false;
    }
  }
  const std::int64_t before = run.done;
  if (d.zoomed) {
    // A zoomed step costs its inversions through the cover words: done
    // counts steps, the piece pays for the work.
    const std::int64_t units = zoomed_step_units(*d.cover, run.circles.n);
    continue_zoomed_scene_walk(run, *d.cover, d.canvas, d.frame, std::max<std::int64_t>(budget / units, 1));
    d.done += run.done - before;
    spent += d.done - start + (run.done - before) * (units - 1);
    return run.done >= run.total;
  }
  continue_scene_walk_threaded(run, d.canvas, d.frame, budget, d.threads);
  d.done += run.done - before;
  spent += d.done - start;
  return run.done >= run.total;
}

void begin_scene_limit_set(SceneDrawing& d, const Layer& layer) {
  int index[max_scene_circles];
  Circle circles[max_scene_circles];
  const int n = chosen_circles(*d.scene, layer.circles, index);
  for (int i = 0; i < n; ++i) circles[i] = scene_circle(*d.scene, index[i]);
  NestedDiscs discs;
  nested_discs(circles, n, discs);  // the reader refused circles that do not nest
  LimitRules rules{layer.limit.depth, limit_set_words, layer.limit.plot,
                   layer.limit.by_first_circle, layer.colour, {}, 0, {}};
  std::copy(layer.limit.colours, layer.limit.colours + max_scene_circles, rules.colours);
  if (d.limit == nullptr) d.limit.reset(new LimitSetRun);
  begin_limit_set(*d.limit, discs, rules, d.frame, d.canvas.width, d.canvas.height);
}

// Follows words for the budget; true once the layer is drawn.
bool go_on_limit_set(SceneDrawing& d, std::int64_t budget, std::int64_t& spent) {
  const std::int64_t units = continue_limit_set(*d.limit, d.canvas, budget);
  spent += units;
  d.done = std::min(d.done + units, d.layer_end - 1);
  return limit_set_done(*d.limit);
}

// Goes on with the layer in progress for up to `budget` units, adding the
// units spent to `spent`; true once the layer is complete.
bool go_on(SceneDrawing& d, std::int64_t budget, std::int64_t& spent) {
  const Layer& layer = d.scene->layers[d.layer];
  if (!d.started) {
    d.started = true;
    d.layer_end = d.done + layer_work(*d.scene, d.layer);
    if (layer.kind == LayerKind::generations) begin_generations(d, layer);
    if (layer.kind == LayerKind::walk) begin_walking(d, layer);
    if (layer.kind == LayerKind::limit_set) begin_scene_limit_set(d, layer);
  }
  switch (layer.kind) {
    case LayerKind::outlines:
    case LayerKind::discs:
      if (d.visit == nullptr) circles_layer(*d.scene, layer, d.canvas, d.frame);
      return true;
    case LayerKind::generations:
      return grow_generations(d, layer, spent + budget, spent);
    case LayerKind::walk:
      return go_on_walking(d, budget, spent);
    case LayerKind::limit_set:
      if (d.visit != nullptr) return true;  // nothing of it is a generation
      return go_on_limit_set(d, budget, spent);
  }
  return true;
}

}  // namespace

std::int64_t layer_work(const Scene& scene, int k) {
  const Layer& layer = scene.layers[k];
  switch (layer.kind) {
    case LayerKind::outlines:
    case LayerKind::discs:
      return 0;
    case LayerKind::generations:
      return generation_images(scene, layer) * image_units;
    case LayerKind::walk:
      return (layer.walk.skip + skip_draws_a_unit - 1) / skip_draws_a_unit + layer.walk.steps;
    case LayerKind::limit_set:
      return limit_set_units;
  }
  return 0;
}

void begin_scene_layers(SceneDrawing& d, const Scene& scene, const Canvas& canvas, int first,
                        int end) {
  d.scene = &scene;
  d.canvas = canvas;
  d.frame = scene_frame(scene, canvas.width, canvas.height);
  d.layer = first;
  d.end = end;
  d.started = false;
  d.done = 0;
  d.total = 0;
  for (int k = first; k < end; ++k) d.total += layer_work(scene, k);
  d.layer_end = 0;
  d.visit = nullptr;
  d.visit_context = nullptr;
  d.threads = 1;
}

void begin_scene_drawing(SceneDrawing& d, const Scene& scene, const Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y)
    std::fill_n(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride, canvas.width,
                scene.background);
  begin_scene_layers(d, scene, canvas, 0, scene.layer_count);
}

std::int64_t continue_scene_drawing(SceneDrawing& d, std::int64_t budget) {
  const std::int64_t start = d.done;
  budget = std::max<std::int64_t>(budget, 1);
  std::int64_t spent = 0;
  while (d.layer < d.end && spent < budget) {
    if (!go_on(d, budget - spent, spent)) continue;
    d.done = d.layer_end;  // a stuck walk's steps count as done
    ++d.layer;
    d.started = false;
  }
  return d.done - start;
}

void draw_layers_to_come(const SceneDrawing& d, const Canvas& canvas) {
  for (int k = d.layer + (d.started ? 1 : 0); k < d.end; ++k) {
    const Layer& layer = d.scene->layers[k];
    if (layer.kind == LayerKind::walk || layer.kind == LayerKind::limit_set ||
        (layer.kind == LayerKind::generations &&
         generation_images(*d.scene, layer) > preview_images))
      continue;
    SceneDrawing one;
    begin_scene_layers(one, *d.scene, canvas, k, k + 1);
    while (!scene_drawing_complete(one)) continue_scene_drawing(one, one.total);
  }
}
