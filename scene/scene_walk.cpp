#include "scene_walk.h"

#include <algorithm>

SceneWalkRun begin_scene_walk(const Scene& scene, const Layer& layer) {
  int index[max_scene_circles];
  const int n = chosen_circles(scene, layer.circles, index);
  float fx[max_scene_circles], fy[max_scene_circles];
  double x[max_scene_circles], y[max_scene_circles], radii_squared[max_scene_circles];
  for (int i = 0; i < n; ++i) {
    const Circle& c = scene.circles[index[i]];
    x[i] = c.x;
    y[i] = c.y;
    fx[i] = static_cast<float>(c.x);
    fy[i] = static_cast<float>(c.y);
    const float fr = static_cast<float>(c.r);
    // Float circles square their radius as a float product, widened.
    radii_squared[i] = scene.numbers == CircleNumbers::float_width ? fr * fr : c.r * c.r;
  }
  const SceneWalk& walk = layer.walk;
  SceneWalkRun run{};
  run.circles = scene.numbers == CircleNumbers::float_width ? walk_circles(fx, fy, radii_squared, n)
                                                             : walk_circles(x, y, radii_squared, n);
  run.state = {walk.start_x, walk.start_y, walk.previous};
  seed_random(run.random, walk.seed);
  run.skip = walk.skip;
  run.rules = {walk.pick, walk.inside, walk.point, 0, no_burn_in, walk.plot, layer.colour};
  run.burn_in = walk.burn_in;
  run.done = 0;
  run.total = walk.steps;
  return run;
}

bool zoomed_scene_walk(const Scene& scene, const Layer& layer, const WorldFrame& frame, int width,
                       int height, LimitSetRun& search, CoverWords& words) {
  // The cyclic rule picks by the step's place in a call, and the zoomed
  // walk takes one step a call.
  if (layer.walk.pick != PickRule::random) return false;
  int index[max_scene_circles];
  Circle circles[max_scene_circles];
  const int n = chosen_circles(scene, layer.circles, index);
  for (int i = 0; i < n; ++i) circles[i] = scene_circle(scene, index[i]);
  NestedDiscs discs;
  if (nested_discs(circles, n, discs).fault != NestFault::none) return false;
  // The rule: words as large as half the view, none of them one circle.
  cover_words(discs, frame, width, height, max_limit_depth, search, words, 0.5);
  if (words.count == 0 || words.dropped > 0) return false;
  for (int w = 0; w < words.count; ++w)
    if (words.start[w + 1] - words.start[w] < 2) return false;
  // The words drawn through: finer, unless they do not all fit.
  cover_words(discs, frame, width, height, max_limit_depth, search, words);
  if (words.dropped > 0)
    cover_words(discs, frame, width, height, max_limit_depth, search, words, 0.5);
  return true;
}

// The stretch of steps a continuation takes: whole rounds of the cyclic
// rule, at most what is left; sets the rules' steps and burn-in for it.
std::int64_t stretch_steps(const SceneWalkRun& run, std::int64_t done, std::int64_t steps) {
  const std::int64_t n = run.circles.n > 0 ? run.circles.n : 1;
  const std::int64_t rounds = (std::max<std::int64_t>(steps, 1) + n - 1) / n;
  return std::max<std::int64_t>(std::min(rounds * n, run.total - done), 0);
}

static std::int64_t stretch(SceneWalkRun& run, std::int64_t steps) {
  const std::int64_t s0 = run.done;
  const std::int64_t taken = stretch_steps(run, s0, steps);
  if (taken <= 0) return 0;
  run.rules.steps = static_cast<long>(taken);
  // Step s0 + s plots when it is past the burn-in: s >= burn_in - s0.
  run.rules.burn_in = static_cast<long>(std::clamp<std::int64_t>(run.burn_in - s0, no_burn_in, taken));
  return taken;
}

std::int64_t continue_zoomed_scene_walk(SceneWalkRun& run, const CoverWords& words,
                                        const Canvas& canvas, const WorldFrame& frame,
                                        std::int64_t steps) {
  const std::int64_t s0 = run.done, taken = stretch(run, steps);
  if (taken <= 0) return 0;
  const WalkCounts counts = zoomed_walk(canvas, run.circles, words, run.state, run.rules, frame, run.random);
  run.done = counts.stuck ? run.total : s0 + taken;
  return run.done - s0;
}

std::int64_t continue_scene_walk(SceneWalkRun& run, const Canvas& canvas, const WorldFrame& frame,
                                 std::int64_t steps) {
  const std::int64_t s0 = run.done, taken = stretch(run, steps);
  if (taken <= 0) return 0;
  const WalkCounts counts = inversion_walk(canvas, run.circles, run.state, run.rules, frame, run.random);
  run.done = counts.stuck ? run.total : s0 + taken;
  return run.done - s0;
}

std::int64_t record_scene_walk(SceneWalkRun& run, std::int64_t steps, WalkPoint* points,
                               long& recorded) {
  const std::int64_t s0 = run.done, taken = stretch(run, steps);
  recorded = 0;
  if (taken <= 0) return 0;
  const WalkCounts counts = inversion_walk_points(run.circles, run.state, run.rules, run.random, points);
  recorded = counts.plotted;
  run.done = counts.stuck ? run.total : s0 + taken;
  return run.done - s0;
}

bool record_scene_walk_picked(SceneWalkRun& run, std::int64_t steps, WalkPicks& picks,
                              WalkPoint* points, long& recorded) {
  const std::int64_t s0 = run.done, taken = stretch(run, steps);
  recorded = 0;
  if (taken != picks.count) return false;
  long given = 0;
  recorded = inversion_walk_picked(run.circles, run.state, run.rules, picks.k, points, given).plotted;
  if (given == taken) {
    run.random = picks.after;
    run.done = s0 + taken;
    return true;
  }
  // A refused pick: the generator as it stood before that step's draws,
  // and the walk's own picks from there to the stretch's end.
  RandomGenerator random = picks.before;
  int previous = picks.previous_before;
  draw_picks(random, previous, run.circles.n, picks.k, given);
  run.random = random;
  run.rules.steps = static_cast<long>(taken - given);
  run.rules.burn_in = std::max<long>(run.rules.burn_in - given, no_burn_in);
  const WalkCounts counts =
      inversion_walk_points(run.circles, run.state, run.rules, run.random, points + recorded);
  recorded += counts.plotted;
  run.done = counts.stuck ? run.total : s0 + taken;
  return false;
}

std::int64_t skip_scene_walk(SceneWalkRun& run, std::int64_t draws) {
  const std::int64_t n = std::clamp<std::int64_t>(draws, 0, run.skip);
  RandomGenerator random = run.random;  // a local copy stays in registers
  for (std::int64_t k = 0; k < n; ++k) next_random(random);
  run.random = random;
  run.skip -= n;
  return n;
}
