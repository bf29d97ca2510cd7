// What a user sees when the window cannot be shown: no display at all, a
// video driver SDL does not have, a display SDL cannot reach, a window SDL
// cannot open. Each time the program says so in one line of its own on
// standard error and exits with status 1 at once, instead of waiting for a
// key in a window nobody can see. The programs run as they stand, without
// the headless harness.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>

#include "run_program.h"

extern char** environ;

namespace {

struct Stop {
  std::string program;  // the name a program puts before its messages
  ProgramRun run;
};

Stop run_plain(const std::string& program, const std::vector<std::string>& environment) {
  RunOptions options;
  options.preload_harness = false;
  options.environment = environment;
  options.timeout_seconds = 30;
  const std::string name = program.substr(program.rfind('/') + 1);
  return {name, run_program(program, options)};
}

// The lines of standard error that the program wrote itself (SDL and the
// libraries under it may add their own).
std::vector<std::string> own_lines(const Stop& stop) {
  std::vector<std::string> lines;
  std::istringstream text(stop.run.standard_error);
  for (std::string line; std::getline(text, line);)
    if (line.starts_with(stop.program + ": ")) lines.push_back(line);
  return lines;
}

// Classic SDL 1.2 (1.2.15) has neither an offscreen nor a Wayland driver:
// without a usable display its SDL_Init already fails, in its own words.
bool classic_sdl() {
  const SDL_version* linked = SDL_Linked_Version();
  return linked->major == 1 && linked->minor == 2 && linked->patch < 50;
}

void expect_one_line_and_status_1(const Stop& stop, std::string saying) {
  SCOPED_TRACE(stop.program);
  EXPECT_FALSE(stop.run.timed_out) << "still waiting after 30 s";
  EXPECT_EQ(stop.run.exit_status, 1) << stop.run.standard_error;
  const std::vector<std::string> lines = own_lines(stop);
  ASSERT_EQ(lines.size(), 1u) << stop.run.standard_error;
  if (classic_sdl() && lines[0].find(saying) == std::string::npos) saying = ": cannot start SDL video: ";
  EXPECT_NE(lines[0].find(saying), std::string::npos) << lines[0];
}

std::vector<std::string> every_program() {
  std::vector<std::string> programs;
  for (const ListedProgram& listed : listed_programs()) programs.push_back(listed.name);
  programs.push_back(HARNESS_DEMO);
  return programs;
}

TEST(FailurePaths, WithNoDisplayEveryProgramSaysSoAndStops) {
  // SDL then falls back to a window that is never shown.
  for (const std::string& program : every_program())
    expect_one_line_and_status_1(run_plain(program, {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}),
                                 ": no display: ");
}

TEST(FailurePaths, DriversThatShowNothingAreRefusedEvenWhenAskedFor) {
  for (const char* driver : {"offscreen", "dummy"})
    for (const std::string& program : {std::string("ring_zoom"), std::string(HARNESS_DEMO)})
      expect_one_line_and_status_1(run_plain(program, {std::string("SDL_VIDEODRIVER=") + driver}),
                                   std::string(": SDL's \"") + driver + "\" video driver shows no window");
}

TEST(FailurePaths, AnUnknownVideoDriverStopsAtTheStartOfSDL) {
  for (const std::string& program : every_program())
    expect_one_line_and_status_1(run_plain(program, {"SDL_VIDEODRIVER=no_such_driver"}),
                                 ": cannot start SDL video: no_such_driver not available");
}

TEST(FailurePaths, AnXServerThatIsNotThereStopsAtTheStartOfSDL) {
  for (const std::string& program : {std::string("soddy_gasket"), std::string(HARNESS_DEMO)}) {
    expect_one_line_and_status_1(run_plain(program, {"SDL_VIDEODRIVER=x11", "DISPLAY=unix:64999"}),
                                 ": cannot start SDL video: x11 not available");
    expect_one_line_and_status_1(run_plain(program, {"SDL_VIDEODRIVER=", "DISPLAY=unix:64999"}),
                                 ": cannot open display \"unix:64999\": ");
  }
}

// A private X server for the cases that need SDL to start: Xvfb picks a free
// display number itself and writes it to a pipe (-displayfd).
class WithAnXServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int channel[2];
    if (pipe(channel) != 0) return;
    const std::string fd = std::to_string(channel[1]);
    std::vector<std::string> arguments = {"Xvfb", "-displayfd", fd, "-nolisten", "tcp", "-screen", "0",
                                          "1024x768x24"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const bool started = posix_spawnp(&server_, "Xvfb", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    if (!started) server_ = 0;
    std::string number;
    pollfd ready{channel[0], POLLIN, 0};
    char c;
    while (server_ && poll(&ready, 1, 20000) == 1 && read(channel[0], &c, 1) == 1 && c != '\n') number += c;
    close(channel[0]);
    if (!number.empty()) display_ = ":" + number;
  }

  static void TearDownTestSuite() {
    if (server_ == 0) return;
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
    server_ = 0;
  }

  void SetUp() override {
    if (display_.empty()) GTEST_SKIP() << "Xvfb is not installed or did not start (Debian: xvfb)";
  }

  static pid_t server_;
  static std::string display_;
};

pid_t WithAnXServer::server_ = 0;
std::string WithAnXServer::display_;

TEST_F(WithAnXServer, AWindowSDLCannotOpenStopsTheProgram) {
  // A window visual the server does not have: SDL_SetVideoMode fails
  // without a reason of its own. Classic SDL 1.2 takes no such request.
  if (classic_sdl()) GTEST_SKIP() << "classic SDL 1.2 cannot be asked for a missing visual";
  for (const std::string& program : {std::string("five_circle_limit"), std::string(HARNESS_DEMO)})
    expect_one_line_and_status_1(
        run_plain(program, {"SDL_VIDEODRIVER=x11", "DISPLAY=" + display_, "SDL_VIDEO_X11_WINDOW_VISUALID=0x7777"}),
        ": cannot open an 800 x 600 x 32 window: ");
}

// With standard output closed, the X connection would take descriptor 1 and
// the program's counts would be written into it; the counts are lost, and
// the program says so once its pictures were shown.
TEST_F(WithAnXServer, AProgramWithItsOutputClosedKeepsItsWindow) {
  RunOptions options;
  options.environment = {"SDL_VIDEODRIVER=x11", "DISPLAY=" + display_,
                         "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0"};
  options.output = "closed";
  options.timeout_seconds = 60;
  const ProgramRun run = run_program("four_circle_packing", options);
  EXPECT_EQ(run.exit_status, 1) << run.standard_error;
  EXPECT_EQ(run.standard_error, "four_circle_packing: cannot write the output: Bad file descriptor\n");
  EXPECT_EQ(run.flips, 5);
}

TEST_F(WithAnXServer, AReachableDisplayIsUsedAndNotRefused) {
  RunOptions options;  // the harness answers the waits; the window is real
  // In a sanitized build: Mesa's GL driver, which SDL loads for the window
  // and unloads at exit, leaves blocks LeakSanitizer can no longer trace to
  // it, so leak checking (only that) is off for this run.
  options.environment = {"SDL_VIDEODRIVER=x11", "DISPLAY=" + display_,
                         "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0"};
  options.timeout_seconds = 60;
  const ProgramRun run = run_program(HARNESS_DEMO, options);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.flips, 2);
  EXPECT_EQ(run.waits, 2);
  ASSERT_EQ(run.pictures.size(), 2u);
  EXPECT_TRUE(same_picture(run.pictures[1], run_program(HARNESS_DEMO).pictures.at(1)));
}

}  // namespace
