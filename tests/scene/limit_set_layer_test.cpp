// The limit set layer against the walk (an independent answer) on the
// programs' own walk scenes: the same scene with its walk replaced by a
// limit_set layer over the same circles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_scenes.h"
#include "scene_drawing.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// Layer k of the scene alone on its background, at the scene's size.
Pixels layer_alone(const Scene& scene, int k) {
  Pixels pixels(static_cast<std::size_t>(scene.width) * scene.height, scene.background);
  SceneDrawing drawing;
  begin_scene_layers(drawing, scene, {pixels.data(), scene.width, scene.height, scene.width}, k,
                     k + 1);
  while (!scene_drawing_complete(drawing)) continue_scene_drawing(drawing, 1 << 24);
  return pixels;
}

// Of a's drawn pixels, how many have none of b's in their 3 x 3 block.
long far_from(const Pixels& a, const Pixels& b, const Scene& s, long& drawn) {
  long far = 0;
  drawn = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      if (a[y * s.width + x] == s.background) continue;
      bool near = false;
      for (int v = std::max(y - 1, 0); v <= std::min(y + 1, s.height - 1); ++v)
        for (int u = std::max(x - 1, 0); u <= std::min(x + 1, s.width - 1); ++u)
          near = near || b[v * s.width + u] != s.background;
      far += !near;
      ++drawn;
    }
  return far;
}

bool nests(const Scene& scene, const Layer& layer) {
  int index[max_scene_circles];
  Circle circles[max_scene_circles];
  const int n = chosen_circles(scene, layer.circles, index);
  for (int i = 0; i < n; ++i) circles[i] = scene_circle(scene, index[i]);
  NestedDiscs discs;
  return nested_discs(circles, n, discs).fault == NestFault::none;
}

}  // namespace

// Rows: each walk of the programs' pictures whose circles nest, at
// 800 x 600. At least 99 % of the walk's pixels after 10^7 steps lie
// within a pixel of the layer's; the layer does not paint discs whole, so
// at least half of its pixels lie near the walk's.
TEST(LimitSetLayer, AgreesWithTheWalkOnTheProgramsScenes) {
  const std::pair<const char*, int> programs[] = {
      {"soddy_gasket", 2},         {"five_circle_limit", 4},    {"ring_zoom", 1},
      {"four_circle_packing", 5}, {"two_circle_iteration", 4}, {"soddy_radius_sweep", 15}};
  int rows = 0;
  for (const auto& [program, pictures] : programs)
    for (int picture = 1; picture <= pictures; ++picture) {
      Scene scene{};
      SceneErrors errors;
      if (!program_scene(program, picture, 1700000000, scene, errors)) continue;
      for (int k = 0; k < scene.layer_count; ++k) {
        Layer& layer = scene.layers[k];
        if (layer.kind != LayerKind::walk || !nests(scene, layer)) continue;
        SCOPED_TRACE(testing::Message() << program << ":" << picture << " layer " << k);
        ++rows;
        layer.walk.steps = 10000000;
        layer.walk.plot = WalkPlot::pixel;  // two_circle_iteration rings its two points
        const Pixels walk = layer_alone(scene, k);
        layer.kind = LayerKind::limit_set;
        layer.limit = {false, {}, LimitPlot::pixel, default_limit_depth};
        const Pixels limit = layer_alone(scene, k);
        long walk_pixels = 0, limit_pixels = 0;
        const long missed = far_from(walk, limit, scene, walk_pixels);
        const long unreached = far_from(limit, walk, scene, limit_pixels);
        EXPECT_GT(walk_pixels, 0);
        EXPECT_LE(missed * 100, walk_pixels) << missed << " of the walk's " << walk_pixels;
        EXPECT_LE(unreached * 2, limit_pixels) << unreached << " of the layer's " << limit_pixels;
        layer.kind = LayerKind::walk;
      }
    }
  // soddy_gasket, five_circle_limit's three, ring_zoom's first stage,
  // two_circle_iteration's walks and soddy_radius_sweep's first passes.
  EXPECT_GE(rows, 12);
}
