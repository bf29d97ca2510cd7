#include "threaded_walk.h"

#ifdef __EMSCRIPTEN__
// The explorer's engine has no threads: the one-thread walk, the same pixels.
std::int64_t continue_scene_walk_threaded(SceneWalkRun& run, const Canvas& canvas,
                                          const WorldFrame& frame, std::int64_t steps, int) {
  return continue_scene_walk(run, canvas, frame, steps);
}
#else

#include <algorithm>
#include <atomic>
#include <barrier>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// What the chain hands the bands, block by block, in two alternating
// halves: while the chain fills one, the bands read the other.
struct Handover {
  std::vector<WalkPoint> points[2];
  long count[2] = {0, 0};
  bool last[2] = {false, false};  // the chain had nothing more this phase
  // The picks of the block the chain follows and of the next; false once
  // the chain has stopped using them (a refused pick).
  std::vector<int> k[2];
  WalkPicks picks[2];
  std::atomic<bool> picking = false;
};

// Draws the picks of the next block (phase + 1), which start where those
// of this one end.
void draw_next_picks(Handover& h, const SceneWalkRun& run, int phase) {
  if (!h.picking.load(std::memory_order_relaxed)) return;
  const WalkPicks& now = h.picks[phase % 2];
  WalkPicks& next = h.picks[(phase + 1) % 2];
  next.before = next.after = now.after;
  next.previous_before = next.previous_after = now.previous_after;
  draw_picks(next.after, next.previous_after, run.circles.n, next.k, next.count);
}

void draw_band(const Handover& h, const SceneWalkRun& run, const Canvas& canvas,
               const WorldFrame& frame, int phase, int first_row, int end_row) {
  if (phase == 0) return;  // nothing computed yet
  const int b = (phase - 1) % 2;
  plot_walk_points(canvas, frame, h.points[b].data(), h.count[b], run.rules.plot, run.rules.colour,
                   first_row, end_row);
}

}  // namespace

std::int64_t continue_scene_walk_threaded(SceneWalkRun& run, const Canvas& canvas,
                                          const WorldFrame& frame, std::int64_t steps,
                                          int threads) {
  if (threads < 2) return continue_scene_walk(run, canvas, frame, steps);
  const int bands = std::min(threads, max_threads) - 1;
  Handover h;
  for (auto& half : h.points) half.resize(threaded_block_steps + max_walk_circles);
  const auto band_row = [&](int band) {
    return static_cast<int>(static_cast<std::int64_t>(canvas.height) * band / bands);
  };
  // The steps of the block that starts `ahead` steps after the next one.
  std::int64_t taken = 0;
  const auto block_after = [&](std::int64_t ahead) {
    const std::int64_t from = taken + ahead, done = run.done + ahead;
    return from < steps ? stretch_steps(run, done, std::min(threaded_block_steps, steps - from)) : 0;
  };
  // A random walk under the invert rule has its picks drawn ahead: the
  // first block's here, each next one's by the first band while the chain
  // follows the one before.
  bool picking = run.rules.pick == PickRule::random && run.rules.inside == InsideRule::invert &&
                 run.circles.n >= 2;
  h.picking = picking;
  for (int b : {0, 1}) {
    h.k[b].resize(threaded_block_steps + max_walk_circles);
    h.picks[b] = {h.k[b].data(), 0, run.random, run.state.previous, run.random, run.state.previous};
  }
  if (picking) {
    h.picks[0].count = block_after(0);
    draw_next_picks(h, run, 1);  // after a block of none
    h.picks[1].count = block_after(h.picks[0].count);
  }

  std::barrier<> sync(bands + 1);
  std::vector<std::thread> drawers;
  int started = 0;
  try {
    for (; started < bands; ++started)
      drawers.emplace_back([&, first = band_row(started), end = band_row(started + 1), band = started] {
        for (int phase = 0;; ++phase) {
          if (band == 0) draw_next_picks(h, run, phase);
          draw_band(h, run, canvas, frame, phase, first, end);
          sync.arrive_and_wait();
          if (h.last[phase % 2]) return;
        }
      });
  } catch (const std::system_error&) {
    // A band whose thread could not start is drawn by the chain's thread.
    for (int band = started; band < bands; ++band) sync.arrive_and_drop();
  }

  for (int phase = 0;; ++phase) {
    const int b = phase % 2;
    h.count[b] = 0;
    const std::int64_t request = std::min(threaded_block_steps, steps - taken), before = run.done;
    if (taken < steps && run.done < run.total) {
      if (picking)
        picking = record_scene_walk_picked(run, request, h.picks[b], h.points[b].data(), h.count[b]);
      if (run.done == before) record_scene_walk(run, request, h.points[b].data(), h.count[b]);
    }
    taken += run.done - before;
    h.last[b] = run.done == before;
    if (picking) {
      // The block after the next, whose picks go where this block's were.
      h.picks[b].count = block_after(h.picks[1 - b].count);
    } else {
      h.picking = false;
    }
    if (started == 0) draw_next_picks(h, run, phase);
    for (int band = started; band < bands; ++band)
      draw_band(h, run, canvas, frame, phase, band_row(band), band_row(band + 1));
    sync.arrive_and_wait();
    if (h.last[b]) break;
  }
  for (std::thread& t : drawers) t.join();
  return taken;
}
#endif
