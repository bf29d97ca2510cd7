// Checks shared by the whole-program tests of the one-picture programs: a run
// that shows its pictures and ends cleanly, and circle outlines recognised by
// their four axis points.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "run_program.h"

using PixelPosition = std::pair<int, int>;

inline bool in_picture(const Picture& picture, int x, int y) {
  return x >= 0 && x < picture.width && y >= 0 && y < picture.height;
}

// draw_circle always plots (cx +- r, cy) and (cx, cy +- r). Each of them that
// lies in the picture must have `colour`, except the positions in `covered`,
// which a figure drawn later lies over. Returns how many points were checked.
inline int expect_outline(const Picture& picture, int cx, int cy, int r, std::uint32_t colour,
                          std::initializer_list<PixelPosition> covered = {}) {
  const PixelPosition points[] = {{cx + r, cy}, {cx - r, cy}, {cx, cy + r}, {cx, cy - r}};
  int checked = 0;
  for (const PixelPosition& point : points) {
    const auto [x, y] = point;
    if (!in_picture(picture, x, y)) continue;
    if (std::find(covered.begin(), covered.end(), point) != covered.end()) continue;
    EXPECT_EQ(picture.at(x, y), colour)
        << "circle (" << cx << ", " << cy << ") r " << r << " at (" << x << ", " << y << ")";
    ++checked;
  }
  return checked;
}

// Exit 0, no output, and each picture shown (flipped) before the wait that
// holds it.
inline void expect_clean_run(const ProgramRun& run, int pictures) {
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_output, "");
  EXPECT_EQ(run.standard_error, "");
  EXPECT_EQ(run.flips, pictures);
  EXPECT_EQ(run.waits, pictures);
  ASSERT_EQ(static_cast<int>(run.pictures.size()), pictures);
  for (const Picture& picture : run.pictures) {
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
  }
  int flips_seen = 0, waits_seen = 0;
  for (const std::string& line : run.log) {
    if (line.rfind("flip", 0) == 0) ++flips_seen;
    if (line == "event key" || line == "event quit") {
      EXPECT_EQ(flips_seen, ++waits_seen) << "wait " << waits_seen << " before its picture";
    }
  }
}

// The same pictures under another clock and with quit events answering the
// waits: nothing random is drawn, and a quit only ends the wait.
inline void expect_fixed_pictures(const char* name, const ProgramRun& first) {
  RunOptions other_clock;
  other_clock.clock = 86400;
  RunOptions quitting;
  quitting.events = "quit";
  for (const RunOptions& options : {other_clock, quitting}) {
    const ProgramRun again = run_program(name, options);
    expect_clean_run(again, static_cast<int>(first.pictures.size()));
    ASSERT_EQ(again.pictures.size(), first.pictures.size());
    for (std::size_t i = 0; i < first.pictures.size(); ++i)
      EXPECT_TRUE(same_picture(again.pictures[i], first.pictures[i])) << "picture " << i + 1;
  }
}
