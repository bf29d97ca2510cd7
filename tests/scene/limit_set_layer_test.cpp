// The limit set layer against the walk (an independent answer) on the
// programs' own walk scenes: the same scene with its walk replaced by a
// limit_set layer over the same circles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_scenes.h"
#include "scene_drawing.h"
#include "scene_walk.h"
#include "walk_configurations.h"

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

// Of a's drawn pixels, how many have none of b's within a pixel; `drawn` is how many it has.
long far_of(const Pixels& a, const Pixels& b, const Scene& s, long& drawn) {
  const FarPixels count = ::far_from(a, b, s.width, s.height, s.background);
  drawn = count.all;
  return count.far;
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
        const long missed = far_of(walk, limit, scene, walk_pixels);
        const long unreached = far_of(limit, walk, scene, limit_pixels);
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

// Rows: four disjoint circles and five_circle_limit:1, zoomed 10^3, 10^6 and
// 10^9 times into a point of their limit set (where a walk is after 10^4
// steps), the walk keeping its steps. The walk layer's pixels come within
// a pixel of at least 90 % of the limit_set layer's, and at least 99 % of
// them lie within a pixel of the layer's.
TEST(LimitSetLayer, AZoomedWalkStaysFull) {
  Scene four{};
  SceneErrors errors;
  ASSERT_TRUE(read_scene_json(R"({"view": {"x": 0, "y": 0, "scale": 100}, "circles": [
    {"x": 1.5, "y": 1.5, "r": 1.4}, {"x": -1.5, "y": 1.5, "r": 1.4},
    {"x": -1.5, "y": -1.5, "r": 1.4}, {"x": 1.5, "y": -1.5, "r": 1.4}],
    "layers": [{"draw": "walk", "steps": 1000000, "burn_in": 1000, "seed": 1,
                "start": {"x": 3, "y": 3}}]})",
                              four, errors))
      << error_line(errors);
  Scene gasket{};
  ASSERT_TRUE(program_scene("five_circle_limit", 1, 1700000000, gasket, errors)) << error_line(errors);
  for (Scene* scene : {&four, &gasket}) {
    const int k = scene->layer_count - 1;
    Layer& layer = scene->layers[k];
    layer.walk.plot = WalkPlot::pixel;
    SceneWalkRun at = begin_scene_walk(*scene, layer);
    at.total = 10000;
    std::uint32_t spare = 0;
    continue_scene_walk(at, {&spare, 1, 1, 1}, {1, 0, 0, YAxis::up}, at.total);
    const Viewport home = scene->view;
    for (const double zoom : {1e3, 1e6, 1e9}) {
      SCOPED_TRACE(testing::Message() << (scene == &four ? "four circles" : "five_circle_limit:1")
                                      << " at " << zoom << " x");
      scene->view = {at.state.x, at.state.y, home.scale * zoom};
      layer.kind = LayerKind::walk;
      const Pixels walk = layer_alone(*scene, k);
      layer.kind = LayerKind::limit_set;
      layer.limit = {false, {}, LimitPlot::pixel, default_limit_depth};
      const Pixels limit = layer_alone(*scene, k);
      long walk_pixels = 0, limit_pixels = 0;
      const long stray = far_of(walk, limit, *scene, walk_pixels);
      const long hidden = far_of(limit, walk, *scene, limit_pixels);
      EXPECT_GE(limit_pixels, 100);
      EXPECT_GE((limit_pixels - hidden) * 10, limit_pixels * 9)
          << hidden << " of the layer's " << limit_pixels << " far from the walk";
      EXPECT_LE(stray * 100, walk_pixels) << stray << " of the walk's " << walk_pixels;
    }
    layer.kind = LayerKind::walk;
  }
}
