// A scene: a configuration of circles and what to draw from it, as one
// plain value that is read and checked once (scene_json.h, from a file or
// a link) and then drawn at any size (draw_scene.h).
//
// The picture is width x height pixels on a background colour. The view
// puts the world point (x, y) at the picture's centre with `scale` pixels a
// world unit at that size, y up. Layers are drawn in order, each over a
// choice of the circles (all of them, or a list of their indices, in that
// order): their outlines, their filled discs, generations of their images
// under inversion in one another, a random walk of inversions in them, or
// their limit set drawn word by word for the view (limit_set.h), which
// takes only circles whose discs nest (nested_discs.h).
//
// Everything a program's arithmetic needs to come out exactly is stated:
// `numbers` says whether the circles are used as 32-bit floats (the value
// rounded, radii squared as float products) or as doubles; a walk states its
// pick and inside rules, the width its point is stored at, the generator's
// seed and how many draws to throw away after seeding, the circle used
// before the first step, and how many steps are not plotted at the start.
// Generations are always stored as floats, as the programs' routine does.
//
// Colours are 0xRRGGBB; no_colour (generations only) computes a generation
// without drawing it.
#pragma once

#include <cstdint>

#include "circle.h"
#include "inversion_walk.h"
#include "limit_set.h"

constexpr int max_scene_circles = max_walk_circles;
constexpr int max_scene_layers = 16;
constexpr int max_generation_depth = 8;
constexpr int max_scene_side = 16384;
constexpr std::int64_t max_walk_steps = 100000000000;  // 10^11
// A walk's skip is drawn one draw at a time before its first step, with no
// progress to show: 10^10 draws take about ten seconds (10^9 took 0.96 s).
constexpr std::int64_t max_walk_skip = 10000000000;  // 10^10
// Images of a generations layer's deepest generation, the largest it stores.
constexpr std::int64_t max_generation_images = 2000000;
constexpr std::uint32_t no_colour = 0xFF000000;

enum class CircleNumbers { double_width, float_width };
enum class LayerKind { outlines, discs, generations, walk, limit_set };
enum class GenerationStyle { discs, outlines };

struct Viewport {
  double x;  // the world point at the picture's centre
  double y;
  double scale;  // pixels a world unit at the scene's own size
};

struct CircleChoice {
  bool all;  // every circle of the scene, in order; else the list
  int count;
  int index[max_scene_circles];
  bool operator==(const CircleChoice&) const = default;
};

struct SceneWalk {
  PickRule pick;
  InsideRule inside;
  PointStorage point;
  std::int64_t steps;
  std::int64_t burn_in;  // the first burn_in steps are not plotted
  double start_x;
  double start_y;
  int previous;  // position in the layer's choice of the circle used last, or no_previous
  std::uint32_t seed;
  std::int64_t skip;  // draws thrown away after seeding, before the first step
  WalkPlot plot;
};

// A limit set layer's words end at `depth` letters, taken down to what the
// stack holds for the layer's count of circles (limit_set.h: 2730 for three,
// 512 for 16); unstated, as deep as it holds, which a zoom into a point of
// contact needs. A frame also ends after limit_set_words words.
constexpr int default_limit_depth = max_limit_depth;
constexpr std::int64_t limit_set_words = 2000000000;
// Colours by first circle, unstated: one for each chosen circle in order.
constexpr std::uint32_t limit_set_palette[max_scene_circles] = {
    0xFF0000, 0x0000FA, 0x00FA00, 0xFF8C00, 0x8B00FF, 0x00BFBF, 0xFF1493, 0x808000,
    0x8B4513, 0x000080, 0x008000, 0x800000, 0x4682B4, 0xDAA520, 0x2F4F4F, 0x9ACD32};

struct SceneLimitSet {
  bool by_first_circle;  // colours[i] for words that start with the i-th chosen circle; else colour
  std::uint32_t colours[max_scene_circles];
  LimitPlot plot;
  int depth;
};

struct Layer {
  LayerKind kind;
  CircleChoice circles;
  std::uint32_t colour;  // outlines, discs, walk
  int depth;             // generations: how many, one colour each
  std::uint32_t colours[max_generation_depth];
  GenerationStyle style;
  SceneWalk walk;
  SceneLimitSet limit;
};

struct Scene {
  int width;
  int height;
  std::uint32_t background;
  Viewport view;
  CircleNumbers numbers;
  int circle_count;
  Circle circles[max_scene_circles];
  int layer_count;
  Layer layers[max_scene_layers];
};

// Equal field by field, numbers bit for bit (so -0 differs from 0).
bool operator==(const Scene& a, const Scene& b);

// Circle k as the scene's numbers use it: rounded to floats, or as it is.
Circle scene_circle(const Scene& scene, int k);

// The indices of the circles a layer takes, in its order; returns the count.
int chosen_circles(const Scene& scene, const CircleChoice& choice, int* index);

// The scene drawn at width x height pixels: the view's scale multiplied by
// min(width / scene.width, height / scene.height), the view's centre kept at
// the picture's centre. At the scene's own size the factor is exactly 1.
WorldFrame scene_frame(const Scene& scene, int width, int height);

// The same scene made width x height, showing what scene_frame shows there.
Scene resized_scene(const Scene& scene, int width, int height);
