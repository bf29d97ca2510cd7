// A random program's input is its clock: each one runs to its end, status 0,
// every picture shown, at many consecutive clocks, in the build whose every
// put_pixel is checked against the window.
#include <gtest/gtest.h>

#include "run_program.h"

namespace {

struct Sweep {
  const char* program;
  int clocks;
  int flips;
};

const Sweep sweeps[] = {
    {"soddy_gasket", 300, 2},       {"five_circle_limit", 300, 4},  {"four_circle_packing", 300, 5},
    {"soddy_radius_sweep", 100, 30}, {"ring_zoom", 5, 19},
};

TEST(ClockSweep, EveryRandomProgramEndsCleanlyAtConsecutiveClocks) {
  for (const Sweep& sweep : sweeps) {
    for (long clock = 1700000000; clock < 1700000000 + sweep.clocks; ++clock) {
      RunOptions options;
      options.clock = clock;
      options.save_pictures = false;
      const ProgramRun run = run_program(sweep.program, options);
      ASSERT_EQ(run.exit_status, 0) << sweep.program << " at clock " << clock << ": " << run.standard_error;
      ASSERT_EQ(run.flips, sweep.flips) << sweep.program << " at clock " << clock;
    }
  }
}

}  // namespace
