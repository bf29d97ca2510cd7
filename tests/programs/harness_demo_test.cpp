// The headless harness and the program runner, checked on harness_demo,
// whose two pictures are known pixel for pixel.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "run_program.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Pixels = std::vector<std::pair<int, int>>;

const std::vector<std::string> two_key_waits = {"flip 1", "event key", "flip 2", "event key"};

ProgramRun run_demo(const RunOptions& options = {}) { return run_program(HARNESS_DEMO, options); }

TEST(HeadlessHarness, ShowsEachPictureAndAnswersEachWait) {
  const ProgramRun run = run_demo();
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.standard_error, "");
  EXPECT_EQ(run.flips, 2);
  EXPECT_EQ(run.waits, 2);
  EXPECT_EQ(run.log, two_key_waits);
  ASSERT_EQ(run.pictures.size(), 2u);
  for (const Picture& picture : run.pictures) {
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
  }
}

TEST(HeadlessHarness, SavesTheExactPixelsOfEachRasteriser) {
  const ProgramRun run = run_demo();
  ASSERT_EQ(run.pictures.size(), 2u);
  const Picture& first = run.pictures[0];

  // Line (100, 100) to (110, 103): the row changes at x = 104, 107 and 110.
  const Pixels line = {{100, 100}, {101, 100}, {102, 100}, {103, 100}, {104, 101}, {105, 101},
                       {106, 101}, {107, 102}, {108, 102}, {109, 102}, {110, 103}};
  EXPECT_EQ(pixels_of(first, rgb_red), line);

  // Outline of radius 50 at (300, 300): 8r pixels, the centre untouched.
  EXPECT_EQ(pixels_of(first, rgb_blue).size(), 400u);
  for (auto [x, y] : Pixels{{350, 300}, {250, 300}, {300, 250}, {300, 350}})
    EXPECT_EQ(first.at(x, y), rgb_blue) << x << ", " << y;
  EXPECT_EQ(first.at(300, 300), rgb_white);

  // Disc of radius 40 at (500, 300): the centre row spans exactly 460..540.
  EXPECT_EQ(first.at(500, 300), rgb_green);
  for (auto [x, y] : Pixels{{460, 300}, {540, 300}, {500, 260}, {500, 340}})
    EXPECT_EQ(first.at(x, y), rgb_green) << x << ", " << y;
  for (auto [x, y] : Pixels{{459, 300}, {541, 300}, {500, 259}, {500, 341}})
    EXPECT_EQ(first.at(x, y), rgb_white) << x << ", " << y;

  EXPECT_EQ(pixels_of(first, rgb_white).size() + line.size() + 400u + pixels_of(first, rgb_green).size(),
            800u * 600u);
}

TEST(HeadlessHarness, SecondPictureKeepsTheFirstAndAddsTheNewDrawing) {
  const ProgramRun run = run_demo();
  ASSERT_EQ(run.pictures.size(), 2u);
  const Picture& first = run.pictures[0];
  const Picture& second = run.pictures[1];

  EXPECT_TRUE(pixels_of(first, rgb_black).empty());
  EXPECT_TRUE(pixels_of(first, rgb_yellow).empty());
  EXPECT_EQ(pixels_of(second, rgb_black).size(), 240u);  // outline of radius 30
  EXPECT_EQ(second.at(150, 450), rgb_yellow);
  EXPECT_EQ(second.at(170, 450), rgb_yellow);
  EXPECT_EQ(second.at(171, 450), rgb_white);

  int changed = 0;
  for (std::size_t i = 0; i < first.rgb.size(); ++i) {
    if (first.rgb[i] == second.rgb[i]) continue;
    ++changed;
    EXPECT_EQ(first.rgb[i], rgb_white) << "pixel " << i << " of picture 1 was painted over";
    EXPECT_TRUE(second.rgb[i] == rgb_black || second.rgb[i] == rgb_yellow) << "pixel " << i;
  }
  EXPECT_EQ(static_cast<std::size_t>(changed), 240u + pixels_of(second, rgb_yellow).size());
}

TEST(HeadlessHarness, PinsTheClock) {
  RunOptions options;
  options.clock = 1234567;
  EXPECT_EQ(run_demo(options).standard_output, "1234567\n");
  options.clock = 42;
  EXPECT_EQ(run_demo(options).standard_output, "42\n");
  // Extra environment comes last and wins over the runner's own settings.
  options.environment = {"HARNESS_TIME=77"};
  EXPECT_EQ(run_demo(options).standard_output, "77\n");
}

TEST(HeadlessHarness, QuitEventEndsAWaitLikeAKey) {
  RunOptions options;
  options.events = "quit";
  const ProgramRun run = run_demo(options);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.pictures.size(), 2u);
  EXPECT_EQ(run.waits, 2);
  EXPECT_EQ(run.log, (std::vector<std::string>{"flip 1", "event quit", "flip 2", "event quit"}));
}

TEST(HeadlessHarness, OtherEventsAreConsumedWithoutEndingTheWait) {
  RunOptions options;
  options.events = "motion,keyup,key";
  ProgramRun run = run_demo(options);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.waits, 2);
  EXPECT_EQ(run.log, (std::vector<std::string>{"flip 1", "event motion", "event keyup", "event key",
                                               "flip 2", "event motion", "event keyup", "event key"}));

  options.events = "button,active,quit,key";  // the script carries on across waits
  run = run_demo(options);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.log, (std::vector<std::string>{"flip 1", "event button", "event active", "update 1", "event quit",
                                               "flip 2", "event key"}));
}

TEST(HeadlessHarness, PicturesAreIdenticalAcrossRuns) {
  const ProgramRun a = run_demo();
  const ProgramRun b = run_demo();
  ASSERT_EQ(a.pictures.size(), 2u);
  ASSERT_EQ(b.pictures.size(), 2u);
  EXPECT_TRUE(same_picture(a.pictures[0], b.pictures[0]));
  EXPECT_TRUE(same_picture(a.pictures[1], b.pictures[1]));
  EXPECT_FALSE(same_picture(a.pictures[0], a.pictures[1]));
}

TEST(HeadlessHarness, StopsAProgramThatNeverGetsAKey) {
  RunOptions options;
  options.events = "motion,keyup,button,hidden";
  const ProgramRun run = run_demo(options);
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_NE(run.standard_error.find("headless harness"), std::string::npos) << run.standard_error;
  EXPECT_EQ(run.flips, 1);
  EXPECT_EQ(run.waits, 0);
  EXPECT_EQ(run.log.size(), 100001u);  // the first flip and 100000 events
}

TEST(HeadlessHarness, RejectsAnUnknownEventName) {
  RunOptions options;
  options.events = "key,typo";
  const ProgramRun run = run_demo(options);
  EXPECT_NE(run.exit_status, 0);
  EXPECT_NE(run.standard_error.find("typo"), std::string::npos) << run.standard_error;
}

TEST(ProgramRunner, KillsAProgramAtItsTimeout) {
  RunOptions options;
  options.events = "real";  // SDL's own wait, which nothing ends
  options.timeout_seconds = 2;
  const ProgramRun run = run_demo(options);
  EXPECT_TRUE(run.timed_out);
  EXPECT_EQ(run.exit_status, 128 + 9);
  EXPECT_EQ(run.log, std::vector<std::string>{"flip 1"});
}

// What one run may write is capped: pictures without end (every wait
// answered by an expose shows the picture again, saved each time) and one
// endless file. Nothing of the run is left behind.
TEST(ProgramRunner, KillsAProgramThatWritesMoreThanItsLimit) {
  const struct {
    const char* program;
    const char* events;
    long long limit;
    bool over_limit;
    int exit_status;
  } rows[] = {
      {HARNESS_DEMO, "expose", 16 << 20, true, 128 + SIGKILL},
      {"/usr/bin/yes", "key", 1 << 20, false, 128 + SIGXFSZ},
  };
  for (const auto& row : rows) {
    RunOptions options;
    options.events = row.events;
    options.write_limit_bytes = row.limit;
    const ProgramRun run = run_program(row.program, options);
    EXPECT_EQ(run.over_limit, row.over_limit) << row.program;
    EXPECT_EQ(run.exit_status, row.exit_status) << row.program << ": " << run.standard_error;
    EXPECT_LE(static_cast<long long>(run.standard_output.size()), row.limit) << row.program;
  }
  const fs::path process = scratch_folder("probe").parent_path();
  for (const auto& entry : fs::directory_iterator(process))
    EXPECT_FALSE(entry.path().filename().string().starts_with("run-")) << entry.path() << " was left behind";
}

// A test process killed in a run cannot remove its scratch folder, nor end
// the program it started; the program dies with it, and the next test
// process removes the folder.
TEST(ProgramRunner, WhatAKilledTestLeavesGoesWithTheNextTest) {
  const fs::path root = scratch_folder("probe").parent_path().parent_path();
  const auto start_self = [](const char* filter) {
    std::string self = "/proc/self/exe", option = std::string("--gtest_filter=") + filter;
    char* argv[] = {self.data(), option.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  };

  const pid_t killed = start_self("ProgramRunner.KillsAProgramAtItsTimeout");
  ASSERT_GT(killed, 0);
  const fs::path left = root / std::to_string(killed);
  const auto running = [&] {  // its program has shown its first picture
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(left, error))
      if (std::ifstream(entry.path() / "log").peek() != EOF) return true;
    return false;
  };
  for (int tries = 0; tries < 1000 && !running(); ++tries) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  kill(killed, SIGKILL);
  waitpid(killed, nullptr, 0);
  ASSERT_TRUE(fs::exists(left)) << "the killed test made no scratch folder";

  const pid_t next = start_self("HeadlessHarness.PinsTheClock");
  ASSERT_GT(next, 0);
  int status = -1;
  waitpid(next, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(fs::exists(left)) << left << " was left behind";
}

TEST(ProgramRunner, FailsTheTestWhenTheProgramCannotStart) {
  EXPECT_NONFATAL_FAILURE(run_program("no_such_program_in_the_suite"), "cannot start");
}

}  // namespace
