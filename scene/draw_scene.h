// Drawing a scene on a canvas of any size: the background, then each layer
// in order, with the frame scene_frame gives for the canvas's size. The
// layers use the programs' own routines (draw_circle, fill_disc, the
// generations' grow and promote, inversion_walk), so a program's picture
// stated as a scene comes out pixel for pixel.
//
// Each is one run of the scene's drawing (scene_drawing.h) in pieces of a
// few million units of work; `progress`, when given, is told the share of
// all the work done after each piece (a walk's skip and steps, the
// generations' images).
#pragma once

#include "canvas.h"
#include "random_generator.h"
#include "scene.h"
#include "scene_drawing.h"

struct SceneProgress {
  void (*report)(void* context, double done);  // done: 0 to 1
  void* context;
};

void draw_scene(const Scene& scene, const Canvas& canvas, const SceneProgress* progress = nullptr);

// One layer alone, as draw_scene draws it (no background), reporting its
// own share done.
void draw_layer(const Scene& scene, int layer, const Canvas& canvas,
                const SceneProgress* progress = nullptr);

// Where a walk layer leaves off: the circle it used last (a position in its
// choice) and its generator. The walk runs on a one-pixel canvas.
struct WalkEnd {
  int previous;
  RandomGenerator random;
};
WalkEnd walk_end(const Scene& scene, int layer);

// The circles a generations layer stores, generation by generation:
// visit(generation, stored circle) for every image, whether drawn or not.
void visit_generations(const Scene& scene, int layer, const WorldFrame& frame,
                       GenerationVisit visit, void* context,
                       const SceneProgress* progress = nullptr);
