// A scene drawn in pieces: begin_scene_drawing only sets up (clears the
// canvas to the background), and each continue_scene_drawing goes on for
// about a budget of work and returns, so a caller can report progress or
// stop between pieces. Pieces of any size, one unit or all of it, draw
// what one run draws, pixel for pixel; draw_scene (draw_scene.h) is that
// one run.
//
// Work is counted in units of about equal cost, so that every long part
// is cut: a walk step, skip_draws_a_unit draws of a walk's skip,
// image_units for an image of a generation. An outlines or discs layer
// (16 circles at most) counts as none and is drawn whole, so a scene of
// circles and walks counts its walk steps alone. A generation is grown
// image by image in pair order, as the programs' routine grows it, and a
// piece also pays for the pixels its images fill, so large discs end it
// sooner (done and total still count image_units an image). A walk that
// gets stuck counts as done. A limit set layer's work (a unit an image
// disc, limit_set.h) is known only once it is drawn: it counts as
// limit_set_units, its progress held short of them until it ends.
//
// The drawing refers to the scene and the canvas given; both must outlive
// it. A generations layer allocates its two stores when it starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "canvas.h"
#include "circle_generation.h"
#include "scene.h"
#include "scene_walk.h"

constexpr std::int64_t skip_draws_a_unit = 8;
constexpr std::int64_t image_units = 4;
constexpr std::int64_t limit_set_units = 4000000;

// visit(generation, stored circle) for every image of a generations layer,
// instead of drawing it (the SVG writer draws them as vector circles).
using GenerationVisit = void (*)(void* context, int generation, const Circle& stored);

struct SceneDrawing {
  const Scene* scene;
  Canvas canvas;
  WorldFrame frame;
  int layer;          // the layer in progress; `end` once complete
  int end;            // one past the last layer to draw
  bool started;       // the layer in progress has been set up
  std::int64_t done;  // units of work so far
  std::int64_t total;
  std::int64_t layer_end;  // `done` once the layer in progress is complete
  SceneWalkRun walk;
  // A generations layer's current and next stores, left uninitialised:
  // zeroing megabytes would be one long unbudgeted step.
  std::unique_ptr<float[]> store;
  std::size_t store_size = 0;
  CircleGeneration generation;
  int depth;           // the generation being grown
  std::int64_t grown;  // its images so far
  std::unique_ptr<LimitSetRun> limit;  // a limit set layer's stack, or a walk's cover search
  std::unique_ptr<CoverWords> cover;   // a zoomed walk's cover words (scene_walk.h)
  bool zoomed;                         // the walk in progress is zoomed
  GenerationVisit visit;  // null: draw the generations
  void* visit_context;
  std::uint32_t spare_pixel;  // the canvas of work that is not drawn
  int threads = 1;  // a walk's plots drawn on threads - 1 more (threaded_walk.h); same pixels
};

// The units of work of layer k.
std::int64_t layer_work(const Scene& scene, int k);

// Clears the canvas and sets up the drawing of every layer.
void begin_scene_drawing(SceneDrawing& drawing, const Scene& scene, const Canvas& canvas);

// Sets up layers first .. end - 1 alone, over what the canvas holds.
void begin_scene_layers(SceneDrawing& drawing, const Scene& scene, const Canvas& canvas, int first,
                        int end);

// Goes on for about `budget` units (at least one); returns the units done.
std::int64_t continue_scene_drawing(SceneDrawing& drawing, std::int64_t budget);

inline bool scene_drawing_complete(const SceneDrawing& drawing) {
  return drawing.layer >= drawing.end;
}

// Draws on `canvas` the layers after the one in progress that take little
// work (outlines, discs, generations of at most preview_images images;
// walks are left until they are reached), so a partial picture shows the
// circles to come.
constexpr std::int64_t preview_images = 20000;
void draw_layers_to_come(const SceneDrawing& drawing, const Canvas& canvas);
