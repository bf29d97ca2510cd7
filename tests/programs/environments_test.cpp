// A program's surroundings: signals, its standard output closed or full, a
// window covered and uncovered. Each case runs four_circle_packing, whose
// output and cleared screen before its last wait make the faults visible.
#include <gtest/gtest.h>
#include <signal.h>

#include "run_program.h"

namespace {

struct Surroundings {
  const char* what;
  int signal;           // sent once the first picture is up, waits left to SDL
  const char* output;   // "" for a file, "closed", or a path
  const char* events;
  int status;
  int flips;
  const char* says;     // on standard error, "" for nothing
};

const Surroundings cases[] = {
    {"SIGTERM in a wait", SIGTERM, "", "real", 128 + SIGTERM, 1, ""},
    {"SIGINT in a wait", SIGINT, "", "real", 128 + SIGINT, 1, ""},
    {"SIGHUP in a wait", SIGHUP, "", "real", 128 + SIGHUP, 1, ""},
    {"SIGQUIT in a wait", SIGQUIT, "", "real", 128 + SIGQUIT, 1, ""},
    {"output to a full disk", 0, "/dev/full", "key", 1, 5,
     "four_circle_packing: cannot write the output: No space left on device"},
    {"output closed", 0, "closed", "key", 1, 5, "four_circle_packing: cannot write the output: Bad file descriptor"},
    {"covered and uncovered", 0, "", "key,key,key,hidden,expose,active,key,key", 0, 5, ""},
};

TEST(Environments, EveryCaseEndsAsAUserExpects) {
  for (const Surroundings& c : cases) {
    SCOPED_TRACE(c.what);
    RunOptions options;
    options.signal = c.signal;
    options.output = c.output;
    options.events = c.events;
    options.timeout_seconds = 60;
    options.environment = {"ASAN_OPTIONS=verify_asan_link_order=0:disable_coredump=1"};
    const ProgramRun run = run_program("four_circle_packing", options);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, c.status) << run.standard_error;
    EXPECT_EQ(run.flips, c.flips);
    if (*c.says == '\0')
      EXPECT_EQ(run.standard_error, "");
    else
      EXPECT_TRUE(run.standard_error.starts_with(c.says) && run.standard_error.find('\n') + 1 == run.standard_error.size())
          << run.standard_error;
  }
}

// In the fourth wait the surface is already cleared for the fifth picture;
// an expose and a restore must both put the fourth picture back, as flipped.
TEST(Environments, AnUncoveredWindowShowsThePictureOfItsWaitAgain) {
  RunOptions options;
  options.events = "key,key,key,expose,hidden,active,key,key";
  const ProgramRun run = run_program("four_circle_packing", options);
  ASSERT_EQ(run.pictures.size(), 5u);
  ASSERT_EQ(run.shown_again.size(), 2u);
  for (const Picture& again : run.shown_again) EXPECT_TRUE(same_picture(again, run.pictures[3]));
  EXPECT_TRUE(same_picture(run.pictures[4], run_program("four_circle_packing").pictures.at(4)))
      << "showing a picture again changed the next one";
}

}  // namespace
