// A scene's walk layer run a stretch at a time: begin_scene_walk sets up
// the circles, the point and the seeded generator as the layer states them,
// skip_scene_walk throws the layer's skip away in pieces, and each
// continue_scene_walk goes on from where the last one stopped, so any split
// of the skip and the steps plots what one run of them plots. The scene's
// drawing (scene_drawing.h) runs its walks this way.
//
// A stretch is a whole number of rounds of the cyclic rule (step s of the
// stretch picks the circle step done + s would), except the last. A walk
// that gets stuck (no circle takes the point) counts as done.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "inversion_walk.h"
#include "random_generator.h"
#include "scene.h"

struct SceneWalkRun {
  WalkCircles circles;
  WalkState state;
  RandomGenerator random;
  WalkRules rules;       // steps and burn_in are set per stretch
  std::int64_t skip;     // draws still to throw away before the first step
  std::int64_t burn_in;  // the layer's: steps before it are not plotted
  std::int64_t done;     // steps taken so far
  std::int64_t total;    // the layer's steps
};

SceneWalkRun begin_scene_walk(const Scene& scene, const Layer& layer);

// Throws away up to `draws` of the skip left; returns how many.
std::int64_t skip_scene_walk(SceneWalkRun& run, std::int64_t draws);

// Once the skip is done, takes about `steps` more steps (rounded up to whole rounds, at most what
// is left); returns the steps taken.
std::int64_t continue_scene_walk(SceneWalkRun& run, const Canvas& canvas, const WorldFrame& frame,
                                 std::int64_t steps);
