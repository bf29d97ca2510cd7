#include "threaded_walk.h"

#ifdef __EMSCRIPTEN__
// The explorer's engine has no threads: the one-thread walk, the same pixels.
std::int64_t continue_scene_walk_threaded(SceneWalkRun& run, const Canvas& canvas,
                                          const WorldFrame& frame, std::int64_t steps, int) {
  return continue_scene_walk(run, canvas, frame, steps);
}
#else

#include <algorithm>
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
};

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
  std::barrier<> sync(bands + 1);
  std::vector<std::thread> drawers;
  int started = 0;
  try {
    for (; started < bands; ++started)
      drawers.emplace_back([&, first = band_row(started), end = band_row(started + 1)] {
        for (int phase = 0;; ++phase) {
          draw_band(h, run, canvas, frame, phase, first, end);
          sync.arrive_and_wait();
          if (h.last[phase % 2]) return;
        }
      });
  } catch (const std::system_error&) {
    // A band whose thread could not start is drawn by the chain's thread.
    for (int band = started; band < bands; ++band) sync.arrive_and_drop();
  }

  std::int64_t taken = 0;
  for (int phase = 0;; ++phase) {
    const int b = phase % 2;
    std::int64_t got = 0;
    h.count[b] = 0;
    if (taken < steps && run.done < run.total)
      got = record_scene_walk(run, std::min(threaded_block_steps, steps - taken), h.points[b].data(),
                              h.count[b]);
    taken += got;
    h.last[b] = got == 0;
    for (int band = started; band < bands; ++band)
      draw_band(h, run, canvas, frame, phase, band_row(band), band_row(band + 1));
    sync.arrive_and_wait();
    if (h.last[b]) break;
  }
  for (std::thread& t : drawers) t.join();
  return taken;
}
#endif
