#include "scene.h"

#include <algorithm>
#include <cstring>

static bool same(double a, double b) {
  // memcpy, not std::bit_cast, which emscripten's libc++ lacks.
  std::uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

static bool same_walk(const SceneWalk& a, const SceneWalk& b) {
  return a.pick == b.pick && a.inside == b.inside && a.point == b.point && a.steps == b.steps &&
         a.burn_in == b.burn_in && same(a.start_x, b.start_x) && same(a.start_y, b.start_y) &&
         a.previous == b.previous && a.seed == b.seed && a.skip == b.skip && a.plot == b.plot;
}

static bool same_limit(const SceneLimitSet& a, const SceneLimitSet& b) {
  return a.by_first_circle == b.by_first_circle &&
         std::equal(a.colours, a.colours + max_scene_circles, b.colours) && a.plot == b.plot &&
         a.depth == b.depth;
}

static bool same_layer(const Layer& a, const Layer& b) {
  return a.kind == b.kind && a.circles == b.circles && a.colour == b.colour && a.depth == b.depth &&
         std::equal(a.colours, a.colours + max_generation_depth, b.colours) && a.style == b.style &&
         same_walk(a.walk, b.walk) && same_limit(a.limit, b.limit);
}

bool operator==(const Scene& a, const Scene& b) {
  if (a.width != b.width || a.height != b.height || a.background != b.background ||
      !same(a.view.x, b.view.x) || !same(a.view.y, b.view.y) || !same(a.view.scale, b.view.scale) ||
      a.numbers != b.numbers || a.circle_count != b.circle_count || a.layer_count != b.layer_count)
    return false;
  for (int k = 0; k < a.circle_count; ++k)
    if (!same(a.circles[k].x, b.circles[k].x) || !same(a.circles[k].y, b.circles[k].y) ||
        !same(a.circles[k].r, b.circles[k].r))
      return false;
  for (int k = 0; k < a.layer_count; ++k)
    if (!same_layer(a.layers[k], b.layers[k])) return false;
  return true;
}

Circle scene_circle(const Scene& scene, int k) {
  const Circle& c = scene.circles[k];
  if (scene.numbers == CircleNumbers::double_width) return c;
  return {static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.r)};
}

int chosen_circles(const Scene& scene, const CircleChoice& choice, int* index) {
  if (choice.all) {
    for (int k = 0; k < scene.circle_count; ++k) index[k] = k;
    return scene.circle_count;
  }
  std::copy(choice.index, choice.index + choice.count, index);
  return choice.count;
}

WorldFrame scene_frame(const Scene& scene, int width, int height) {
  const double factor = std::min(static_cast<double>(width) / scene.width,
                                 static_cast<double>(height) / scene.height);
  const double scale = scene.view.scale * factor;
  return {scale, width / 2.0 - scene.view.x * scale, height / 2.0 + scene.view.y * scale,
          YAxis::up};
}

Scene resized_scene(const Scene& scene, int width, int height) {
  Scene resized = scene;
  resized.width = width;
  resized.height = height;
  resized.view.scale = scene_frame(scene, width, height).scale;
  return resized;
}
