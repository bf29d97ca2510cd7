#include "program_scenes.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "draw_scene.h"
#include "program_circles.h"
#include "program_counts.h"

namespace {

// An 800 x 600 scene whose view is the program's frame; a frame drawn y
// down is turned y up, its circles' y negated (exact, as every later
// product and sum is then the negation of the program's).
Scene program_base(const WorldFrame& frame, std::uint32_t background, CircleNumbers numbers) {
  Scene scene{};
  scene.width = 800;
  scene.height = 600;
  scene.background = background;
  scene.numbers = numbers;
  scene.view = {(400.0 - frame.origin_column) / frame.scale,
                (frame.origin_row - 300.0) / frame.scale, frame.scale};
  return scene;
}

void add_circle(Scene& scene, const WorldFrame& frame, double x, double y, double r) {
  scene.circles[scene.circle_count++] = {x, frame.y_axis == YAxis::down ? -y : y, r};
}

CircleChoice all_circles() { return {true, 0, {}}; }

CircleChoice circle_range(int first, int count) {
  CircleChoice choice{false, count, {}};
  for (int i = 0; i < count; ++i) choice.index[i] = first + i;
  return choice;
}

Layer& add_layer(Scene& scene, LayerKind kind, CircleChoice circles, std::uint32_t colour) {
  Layer& layer = scene.layers[scene.layer_count++];
  layer = Layer{};
  layer.kind = kind;
  layer.circles = circles;
  layer.colour = colour;
  return layer;
}

void add_generations(Scene& scene, std::initializer_list<std::uint32_t> colours) {
  Layer& layer = add_layer(scene, LayerKind::generations, all_circles(), 0);
  layer.style = GenerationStyle::discs;
  for (std::uint32_t colour : colours) layer.colours[layer.depth++] = colour;
}

// A walk whose program seeds the generator with the clock just before it.
Layer& add_walk(Scene& scene, CircleChoice circles, std::uint32_t colour, const SceneWalk& walk) {
  Layer& layer = add_layer(scene, LayerKind::walk, circles, colour);
  layer.walk = walk;
  return layer;
}

// The draws the generator made between seeding and `now`.
std::int64_t draws_since_seeding(std::uint32_t seed, const RandomGenerator& now) {
  RandomGenerator random;
  seed_random(random, seed);
  for (std::int64_t draws = 0; draws < max_walk_steps; ++draws) {
    if (random.next == now.next && std::memcmp(random.words, now.words, sizeof now.words) == 0)
      return draws;
    next_random(random);
  }
  return max_walk_steps;
}

// The walk of layer `next` goes on from where the walk of layer `last` ends.
void continue_walk(Scene& scene, int last, int next) {
  const WalkEnd end = walk_end(scene, last);
  SceneWalk& walk = scene.layers[next].walk;
  walk.previous = end.previous;
  walk.skip = draws_since_seeding(walk.seed, end.random);
}

constexpr std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0xFF0000, green = 0x00FA00,
                        blue = 0x0000FA;

void soddy_gasket(int frame, std::uint32_t clock, Scene& scene) {
  namespace p = soddy_gasket_circles;
  scene = program_base(p::frame, white, CircleNumbers::float_width);
  for (int k = 0; k < 3; ++k) add_circle(scene, p::frame, p::x[k], p::y[k], p::r[k]);
  if (frame == 1) {
    add_layer(scene, LayerKind::discs, all_circles(), blue);
    add_generations(scene, {black, red, green});
    return;
  }
  add_layer(scene, LayerKind::outlines, all_circles(), black);
  add_walk(scene, all_circles(), red,
           {PickRule::random, InsideRule::invert, PointStorage::double_width, p::walk_steps,
            p::burn_in, 10.0, 3.0, 0, clock, 0, WalkPlot::ring1});
}

void five_circle_limit(int frame, std::uint32_t clock, Scene& scene) {
  namespace p = five_circle_limit_circles;
  scene = program_base(p::frame, white, CircleNumbers::double_width);
  const std::uint32_t colours[3] = {black, green, red};
  const int walks = frame == 1 || frame == 2 ? 1 : frame == 3 ? 2 : 3;
  const int configurations = frame == 1 ? 1 : frame == 4 ? 3 : 2;
  int last_walk = -1;
  for (int c = 0; c < configurations; ++c) {
    for (int k = 0; k < 5; ++k)
      add_circle(scene, p::frame, p::configurations[c].x[k], p::configurations[c].y[k],
                 p::configurations[c].r[k]);
    add_layer(scene, LayerKind::outlines, circle_range(5 * c, 5), colours[c]);
    if (c >= walks) continue;
    add_walk(scene, circle_range(5 * c, 5), colours[c],
             {PickRule::random, InsideRule::invert, PointStorage::double_width,
              p::walk_steps, 0, 3.0, 3.0, no_previous, clock, 0, WalkPlot::pixel});
    if (last_walk >= 0) continue_walk(scene, last_walk, scene.layer_count - 1);
    last_walk = scene.layer_count - 1;
  }
}

void ring_zoom(std::uint32_t clock, Scene& scene) {
  namespace p = ring_zoom_circles;
  scene = program_base(p::frame, black, CircleNumbers::double_width);
  double x[15], y[15], r[15];
  p::first_stage(x, y, r);
  for (int k = 0; k < 15; ++k) add_circle(scene, p::frame, x[k], y[k], r[k]);
  add_layer(scene, LayerKind::outlines, all_circles(), white);
  add_walk(scene, all_circles(), red,
           {PickRule::random, InsideRule::invert, PointStorage::double_width,
            p::first_walk_steps, p::burn_in, 3.0, 3.0, no_previous, clock, 0,
            WalkPlot::ring1});
}

void four_circle_packing(int frame, std::uint32_t clock, Scene& scene) {
  namespace p = four_circle_packing_circles;
  scene = program_base(p::frame, white, CircleNumbers::float_width);
  for (int k = 0; k < 4; ++k) add_circle(scene, p::frame, p::x[k], p::y[k], p::r[k]);
  if (frame == 1) {
    add_layer(scene, LayerKind::discs, all_circles(), black);
  } else if (frame == 4) {
    add_generations(scene,
                    {no_colour, no_colour, black});  // the first two were shown, then cleared
  } else {
    // Frames 2 and 3 drew one random colour an image: 12 and 132 draws.
    const std::int64_t coloured = 4 * 3 + 12 * 11;
    add_walk(scene, all_circles(), black,
             // From (0, -5) in the program's y-down frame.
             {PickRule::random, InsideRule::invert, PointStorage::float_width,
              p::walk_steps, p::burn_in, 0.0, 5.0, 0, clock, coloured, WalkPlot::pixel});
  }
}

void two_circle_iteration(int frame, Scene& scene) {
  namespace p = two_circle_iteration_circles;
  scene = program_base(p::frame, white, CircleNumbers::float_width);
  for (int k = 0; k < 2; ++k) add_circle(scene, p::frame, p::x[k], p::y[k], p::r[k]);
  add_layer(scene, LayerKind::outlines, all_circles(), black);
  // Cyclic picks draw nothing; seed 1 is the generator the program never seeds.
  add_walk(scene, all_circles(), black,
           {PickRule::cyclic, InsideRule::invert, PointStorage::double_width, p::walk_steps,
            p::burn_in, 3.0, 3.0, no_previous, 1, 0, WalkPlot::ring2});
  if (frame == 1) return;
  add_layer(scene, LayerKind::discs, all_circles(), blue);
  const std::uint32_t colours[3] = {black, red, black};
  Layer& generations = add_layer(scene, LayerKind::generations, all_circles(), 0);
  for (int g = 0; g < frame - 1; ++g) generations.colours[generations.depth++] = colours[g];
}

void soddy_radius_sweep(int frame, std::uint32_t clock, Scene& scene) {
  namespace p = soddy_radius_sweep_circles;
  const int pass = (frame + 1) / 2;
  double t = p::first_t;
  int previous = 0;  // the first step never uses circle 0
  std::int64_t skip = 0;
  for (int k = 1;; ++k) {
    float x[4], y[4], r[4];
    p::store(t, x, y, r);
    scene = program_base(p::frame, white, CircleNumbers::float_width);
    for (int i = 0; i < 4; ++i) add_circle(scene, p::frame, x[i], y[i], r[i]);
    add_layer(scene, LayerKind::outlines, all_circles(), black);
    if (k == pass && frame % 2 == 1) return;
    add_walk(scene, all_circles(), red,
             {PickRule::random, InsideRule::refuse, PointStorage::double_width,
              p::walk_steps, p::burn_in, 10.0, 3.0, previous, clock, skip, WalkPlot::pixel});
    if (k == pass) return;
    const WalkEnd end = walk_end(scene, 1);
    previous = end.previous;
    skip = draws_since_seeding(clock, end.random);
    t = t + p::t_step;
  }
}

// The programs some of whose frames are one scene each.
constexpr const char* with_scenes[] = {"soddy_gasket",         "five_circle_limit",
                                       "ring_zoom",            "four_circle_packing",
                                       "two_circle_iteration", "soddy_radius_sweep"};

// The program's counts in programs.list, as the build read it; null when
// it is not listed.
const ProgramCounts* listed(std::string_view program) {
  for (const ProgramCounts& entry : program_counts)
    if (entry.name == program) return &entry;
  return nullptr;
}

// The frame picture K shows, for K within the list's count. A program
// waits after every flip, but for two: ring_zoom holds its first stage,
// then draws every other before its last wait; soddy_radius_sweep draws the
// circles, then the orbit, of each pass before it waits.
int last_frame(const ProgramCounts& program, int picture) {
  if (std::string_view(program.name) == "ring_zoom" && picture == program.pictures)
    return program.frames;
  if (std::string_view(program.name) == "soddy_radius_sweep") return 2 * picture;
  return picture;
}

// True of the programs that draw lines, points or pixel images, and of a
// name that is no program at all.
std::string without_scenes(const std::string& name) {
  std::string refusal = name + ": not a program with frames as scenes (";
  for (const char* with : with_scenes) refusal += std::string(with == with_scenes[0] ? "" : ", ") + with;
  return refusal + ")";
}

}  // namespace

bool picture_frame(std::string_view program, std::int64_t picture, PictureFrame& found,
                   SceneErrors& errors) {
  const ProgramCounts* entry = listed(program);
  std::string refusal;
  if (entry == nullptr)
    refusal = without_scenes(std::string(program));
  else if (picture < 1 || picture > entry->pictures)
    refusal = std::string(entry->name) + " has pictures 1 to " + std::to_string(entry->pictures) + ", not " +
              std::to_string(picture);
  if (!refusal.empty()) {
    errors.push_back({"", refusal});
    return false;
  }
  found = {last_frame(*entry, static_cast<int>(picture)), entry->frames};
  return true;
}

bool program_scene(std::string_view program, std::int64_t frame, std::uint32_t clock,
                   Scene& scene, SceneErrors& errors) {
  const std::string name(program);
  const ProgramCounts* entry = listed(program);
  const std::string label = name + "@" + std::to_string(frame);
  std::string refusal;
  if (entry == nullptr || std::find(std::begin(with_scenes), std::end(with_scenes), name) ==
                              std::end(with_scenes))
    refusal = without_scenes(name);
  else if (frame < 1 || frame > entry->frames)
    refusal = name + " has frames 1 to " + std::to_string(entry->frames) + ", not " +
              std::to_string(frame);
  else if (name == "ring_zoom" && frame > 1)
    refusal = label + ": not one scene: it overlays " + std::to_string(frame) +
              " stages of 15 circles, more than a scene's " + std::to_string(max_scene_circles);
  else if (name == "four_circle_packing" && (frame == 2 || frame == 3))
    refusal = label + ": not one scene: each image takes a colour drawn at random";
  if (!refusal.empty()) {
    errors.push_back({"", refusal});
    return false;
  }
  const int k = static_cast<int>(frame);
  if (name == "soddy_gasket") soddy_gasket(k, clock, scene);
  if (name == "five_circle_limit") five_circle_limit(k, clock, scene);
  if (name == "ring_zoom") ring_zoom(clock, scene);
  if (name == "four_circle_packing") four_circle_packing(k, clock, scene);
  if (name == "two_circle_iteration") two_circle_iteration(k, scene);
  if (name == "soddy_radius_sweep") soddy_radius_sweep(k, clock, scene);
  return true;
}
