// Runs one of the suite's programs headless and collects what it showed.
//
// The program runs with SDL's dummy video driver and the headless harness
// preloaded: every wait is answered from an event script, every SDL_Flip
// saves the surface, and time() returns a pinned clock, so random pictures
// are reproducible. What a run may write is capped, and it dies with the
// test that started it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "program_list.h"

// One saved picture, each pixel as 0xRRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;

  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

constexpr std::uint32_t rgb_white = 0xFFFFFF;
constexpr std::uint32_t rgb_black = 0x000000;
constexpr std::uint32_t rgb_red = 0xFF0000;
constexpr std::uint32_t rgb_green = 0x00FA00;
constexpr std::uint32_t rgb_blue = 0x0000FA;
constexpr std::uint32_t rgb_yellow = 0xFFFF00;

struct RunOptions {
  long clock = 1700000000;  // what time() returns inside the program
  // Events answering the waits, in order, repeated when used up; one of
  // key, keyup, quit, motion, button, active, hidden, expose. The default
  // presses a key.
  std::string events = "key";
  // Extra environment for the program, NAME=value.
  std::vector<std::string> environment;
  bool preload_harness = true;  // false: run the program as it stands
  bool save_pictures = true;    // false: only the log, output and status
  int timeout_seconds = 300;
  int signal = 0;       // sent once the first picture is shown
  std::string output;   // where standard output goes: a file of the run's
                        // own when empty, "closed", or a path (/dev/full)
  // The most the run may write into its scratch folder (pictures, log,
  // output), and so into any one file: past it the program is killed.
  long long write_limit_bytes = 256ll << 20;
};

struct ProgramRun {
  int exit_status = -1;  // exit code, or 128 + signal
  std::string standard_output;
  std::string standard_error;
  std::vector<Picture> pictures;  // one per SDL_Flip, in order
  std::vector<Picture> shown_again;  // one per picture put up again in a wait
  std::vector<std::string> log;   // "flip N" and "event NAME" lines, in order
  int flips = 0;
  int waits = 0;  // waits ended by a key press or a quit event
  bool timed_out = false;  // killed after timeout_seconds
  bool over_limit = false;  // killed for writing more than write_limit_bytes
};

ProgramRun run_program(const std::string& name, const RunOptions& options = {});

// The suite's programs in the order of the list.
const std::vector<ListedProgram>& listed_programs();

// A new empty folder for a test's files, inside the test process's own
// folder under the build tree's test-scratch/. That folder goes however the
// process ends: at its exit, or, when it was killed, at the start of the
// next test process.
std::filesystem::path scratch_folder(const char* stem);

// "LD_PRELOAD=..." that loads `library` whatever its path holds (spaces too).
std::string preload_assignment(const char* library);

// The pixels of `picture` equal to `colour`, as (x, y) pairs in row order.
std::vector<std::pair<int, int>> pixels_of(const Picture& picture, std::uint32_t colour);

bool same_picture(const Picture& a, const Picture& b);
