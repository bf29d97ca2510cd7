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
//
// A walk zoomed far into its limit set is drawn through the cover words of
// the view (zoomed_walk.h), so it stays as full as at 1 x for the same
// steps. The rule is exact: a random walk over circles whose discs nest
// is zoomed when the view's cover words no larger than half the view
// (found with words of up to max_limit_depth letters, taken down to what
// the stack holds) are all kept, at least one, and none is a single
// circle: the view is then smaller than every circle's disc it meets. It
// is drawn through the finer cover (a sixteenth of the view) where that
// fits in max_cover_words, else through the coarse one. Where a single circle covers
// part of the view, as at every program's own view, the walk is the plain
// walk, pixel for pixel. A zoomed walk plots a pixel a point.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "inversion_walk.h"
#include "random_generator.h"
#include "scene.h"
#include "zoomed_walk.h"

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

// The same stretch with its plots recorded in `points` (room for `steps`
// plus a round, max_walk_circles) instead of drawn; `recorded` gets how
// many (inversion_walk_points).
std::int64_t record_scene_walk(SceneWalkRun& run, std::int64_t steps, WalkPoint* points,
                               long& recorded);

// The steps a stretch of about `steps` from step `done` takes.
std::int64_t stretch_steps(const SceneWalkRun& run, std::int64_t done, std::int64_t steps);

// The picks of a stretch drawn ahead (draw_picks): count of them in k, and
// the generator and the last pick as they stood before and after them.
struct WalkPicks {
  int* k;
  std::int64_t count;
  RandomGenerator before;
  int previous_before;
  RandomGenerator after;
  int previous_after;
};

// record_scene_walk of a random walk under the invert rule with its picks
// drawn ahead (inversion_walk_picked), for a stretch of picks.count steps.
// At a refused pick it goes on with the walk's own draws from the
// generator as it stood there, and returns false: the picks after it are
// not the walk's. False too, taking no step, when the stretch is not
// picks.count steps.
bool record_scene_walk_picked(SceneWalkRun& run, std::int64_t steps, WalkPicks& picks,
                              WalkPoint* points, long& recorded);

// Whether the layer's walk is zoomed for the view (the canvas of
// width x height through `frame`); fills `words` with its cover words.
// `search` is the cover's stack, any state on entry.
bool zoomed_scene_walk(const Scene& scene, const Layer& layer, const WorldFrame& frame, int width,
                       int height, LimitSetRun& search, CoverWords& words);

// The units of work of a zoomed step: one, and one for every n letters of
// the cover words (about the inversions that carry a point through them).
inline std::int64_t zoomed_step_units(const CoverWords& words, int n) {
  return 1 + words.start[words.count] / (n > 0 ? n : 1);
}

// As continue_scene_walk, each point carried by the cover words.
std::int64_t continue_zoomed_scene_walk(SceneWalkRun& run, const CoverWords& words,
                                        const Canvas& canvas, const WorldFrame& frame,
                                        std::int64_t steps);
