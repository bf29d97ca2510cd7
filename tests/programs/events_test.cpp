// Waiting for a key through SDL's real event queue: the harness pushes
// events into the queue right after given flips (HARNESS_QUEUE) and leaves
// every wait to SDL's own SDL_WaitEvent (HARNESS_EVENTS=real). The log then
// shows which events each wait consumed and where each picture was shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"

namespace {

using Log = std::vector<std::string>;

// A wait that wrongly ignores its queue blocks for ever: the timeout ends
// the run and the test fails on it.
ProgramRun run_with_queue(const std::string& program, const std::string& queue) {
  RunOptions options;
  options.events = "real";
  options.environment = {"HARNESS_QUEUE=" + queue};
  options.timeout_seconds = 60;
  return run_program(program, options);
}

// The flips and the events the waits consumed, without the pushes.
Log flips_and_waits(const ProgramRun& run) {
  Log lines;
  for (const std::string& line : run.log)
    if (!line.starts_with("push ")) lines.push_back(line);
  return lines;
}

void expect_clean_end(const ProgramRun& run, int pictures) {
  EXPECT_FALSE(run.timed_out) << "a wait never ended";
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error, "");
  EXPECT_EQ(run.flips, pictures);
  EXPECT_EQ(run.waits, pictures);
}

// A window made active again shows its picture again ("update"), and goes on waiting.
TEST(Events, MotionButtonsKeyReleasesAndWindowEventsDoNotEndAWait) {
  for (const char* program : {HARNESS_DEMO, "soddy_gasket"}) {
    SCOPED_TRACE(program);
    const ProgramRun run = run_with_queue(program, "1:motion,keyup,active,button,key;2:key");
    expect_clean_end(run, 2);
    EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event motion", "event keyup", "event active",
                                         "update 1", "event button", "event key", "flip 2", "event key"}));
  }
}

TEST(Events, KeysPressedWhileAPictureIsDrawnEndTheNextWaitsAtOnce) {
  // All four keys are queued before the second picture is drawn; each later
  // wait finds its key already there.
  const ProgramRun run = run_with_queue("two_circle_iteration", "1:key,key,key,key");
  expect_clean_end(run, 4);
  EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event key", "flip 2", "event key", "flip 3",
                                       "event key", "flip 4", "event key"}));

  // The pictures are the ones of a run answered by the harness itself.
  const ProgramRun scripted = run_program("two_circle_iteration");
  ASSERT_EQ(run.pictures.size(), 4u);
  ASSERT_EQ(scripted.pictures.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(same_picture(run.pictures[i], scripted.pictures[i])) << i;
}

TEST(Events, AKeyReleaseQueuedDuringDrawingIsPassedOverByTheNextWait) {
  // A real key press comes as a press and a release: the release of one
  // wait's key is still queued when the next wait starts.
  const ProgramRun run = run_with_queue("two_circle_iteration", "1:key,keyup;2:key,keyup;3:key,keyup;4:key,keyup");
  expect_clean_end(run, 4);
  EXPECT_EQ(flips_and_waits(run),
            (Log{"flip 1", "event key", "flip 2", "event keyup", "event key", "flip 3", "event keyup",
                 "event key", "flip 4", "event keyup", "event key"}));
}

TEST(Events, AQuitEventEndsOnlyTheCurrentWait) {
  // A quit at every wait: the program still shows every picture and ends 0.
  ProgramRun run = run_with_queue("two_circle_iteration", "1:quit;2:quit;3:quit;4:quit");
  expect_clean_end(run, 4);
  EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event quit", "flip 2", "event quit", "flip 3",
                                       "event quit", "flip 4", "event quit"}));

  // A quit queued while a picture is drawn ends the next wait, and only it.
  run = run_with_queue("two_circle_iteration", "1:key,quit;3:motion,quit,key");
  expect_clean_end(run, 4);
  EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event key", "flip 2", "event quit", "flip 3",
                                       "event motion", "event quit", "flip 4", "event key"}));

  run = run_with_queue("soddy_gasket", "1:quit;2:key");
  expect_clean_end(run, 2);
  EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event quit", "flip 2", "event key"}));
}

TEST(Events, AWaitWithNothingToEndItGoesOnWaiting) {
  // Only a mouse motion for the first wait: the program is still waiting
  // when it is stopped, with its first picture shown and no second drawn.
  RunOptions options;
  options.events = "real";
  options.environment = {"HARNESS_QUEUE=1:motion,keyup"};
  options.timeout_seconds = 3;
  const ProgramRun run = run_program(HARNESS_DEMO, options);
  EXPECT_TRUE(run.timed_out);
  EXPECT_EQ(flips_and_waits(run), (Log{"flip 1", "event motion", "event keyup"}));
}

}  // namespace
