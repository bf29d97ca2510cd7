// Every program in a real window on a private Xvfb server, driven as a person
// drives it: each picture it waits on must be exactly the picture a headless
// run with the same clock shows, a key press goes on, and so does a close
// request from the window manager, which only ends the current wait.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "run_program.h"
#include "x_session.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr long pinned_clock = 1700000000;
constexpr auto patience = std::chrono::seconds(120);  // for one picture on a busy machine

std::vector<std::string> program_names() {
  std::vector<std::string> names;
  std::istringstream list(WINDOW_PROGRAMS);
  for (std::string name; std::getline(list, name, ',');)
    if (!name.empty()) names.push_back(name);
  return names;
}

// The picture on screen during each wait of a headless run: the last one
// flipped before that wait was answered.
std::vector<const Picture*> pictures_at_waits(const ProgramRun& run) {
  std::vector<const Picture*> shown;
  int flips = 0;
  for (const std::string& line : run.log) {
    if (line.starts_with("flip ")) ++flips;
    if ((line == "event key" || line == "event quit") && flips > 0 &&
        flips <= static_cast<int>(run.pictures.size()))
      shown.push_back(&run.pictures[flips - 1]);
  }
  return shown;
}

std::vector<std::string> read_lines(const fs::path& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// Key presses (SDL_KEYDOWN, 2) and quit events (SDL_QUIT, 12) end a wait.
int ended_waits(const std::vector<std::string>& log) {
  int ended = 0;
  for (const std::string& line : log) ended += line == "event 2" || line == "event 12";
  return ended;
}

int flips_in(const std::vector<std::string>& log) {
  int flips = 0;
  for (const std::string& line : log) flips += line.starts_with("flip ");
  return flips;
}

std::string tail(const std::vector<std::string>& log) {
  std::string text;
  for (std::size_t i = log.size() > 8 ? log.size() - 8 : 0; i < log.size(); ++i) text += log[i] + " | ";
  return text;
}

std::size_t differing_pixels(const Picture& a, const Picture& b) {
  if (a.rgb.size() != b.rgb.size()) return std::max(a.rgb.size(), b.rgb.size());
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) count += a.rgb[i] != b.rgb[i];
  return count;
}

class RealWindow : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    scratch = scratch_folder("real-window");
    ASSERT_FALSE(scratch.empty());
    std::string error;
    ASSERT_TRUE(start_x_server(server, error)) << error;
  }

  void TearDown() override {
    if (program > 0) {
      kill(program, SIGKILL);
      waitpid(program, nullptr, 0);
    }
    stop_x_server(server);
    if (!scratch.empty()) fs::remove_all(scratch);
  }

  // Runs the program on our display with only the clock pinned; events and
  // flips go through SDL and the X server untouched.
  void start_program(const std::string& name) {
    std::vector<std::string> environment;
    const auto replaced = [](const std::string& assignment) {
      for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "LD_PRELOAD="})
        if (assignment.starts_with(name)) return true;
      return false;
    };
    for (char** variable = environ; *variable; ++variable)
      if (!replaced(*variable)) environment.emplace_back(*variable);
    environment.push_back("DISPLAY=:" + std::to_string(server.number));
    environment.push_back(preload_assignment(WINDOW_PROBE));
    environment.push_back("HARNESS_TIME=" + std::to_string(pinned_clock));
    environment.push_back("WINDOW_PROBE_LOG=" + (scratch / "log").string());

    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    // The benchmark points this at an optimised build without bounds checks.
    const char* other_build = std::getenv("WINDOW_TEST_PROGRAM_DIR");
    const std::string path = (other_build ? std::string(other_build) : std::string(PROGRAM_DIR)) + "/" + name;
    const std::string err = (scratch / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    const int failure = posix_spawn(&program, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) program = 0;
    ASSERT_EQ(failure, 0) << "cannot start " << path << ": " << std::strerror(failure);
  }

  // Waits until `ended` waits are over and the program sits in the next
  // one; false when it ends or takes too long first.
  bool await_wait(int ended) {
    const auto deadline = Clock::now() + patience;
    while (Clock::now() < deadline) {
      const std::vector<std::string> log = read_lines(scratch / "log");
      if (!log.empty() && log.back() == "wait" && ended_waits(log) == ended) return true;
      int status;
      if (waitpid(program, &status, WNOHANG) == program) {
        program = 0;
        exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  void await_exit() {
    const auto deadline = Clock::now() + patience;
    int status;
    while (program > 0 && waitpid(program, &status, WNOHANG) == 0) {
      if (Clock::now() >= deadline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (program > 0) exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    program = 0;
  }

  // The window's content, read until it matches `expected` or the patience
  // runs out: the server may still be taking in the last flip, slowly on a
  // busy machine.
  Picture settled_screenshot(Window window, const Picture& expected) {
    Picture shot;
    const auto deadline = Clock::now() + patience;
    do {
      if (grab_window(server.display, window, shot) && same_picture(shot, expected)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (Clock::now() < deadline);
    return shot;
  }

  fs::path scratch;
  XServer server;
  pid_t program = 0;
  int exit_status = -1;
};

TEST_P(RealWindow, PicturesKeysAndCloseRequests) {
  const std::string name = GetParam();
  RunOptions options;
  options.clock = pinned_clock;
  const ProgramRun headless = run_program(name, options);
  ASSERT_EQ(headless.exit_status, 0) << headless.standard_error;
  const std::vector<const Picture*> expected = pictures_at_waits(headless);
  ASSERT_FALSE(expected.empty());

  start_program(name);
  Window window = 0;
  const int waits = static_cast<int>(expected.size());
  for (int wait = 0; wait < waits; ++wait) {
    const auto shown = Clock::now();
    ASSERT_TRUE(await_wait(wait)) << name << " never waited on picture " << wait + 1 << "; exit status "
                                  << exit_status << "; probe log: " << tail(read_lines(scratch / "log"));
    if (wait > 0) {
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown);
      std::printf("timing: %s picture %d on screen %lld ms after the key\n", name.c_str(), wait + 1,
                  static_cast<long long>(took.count()));
    }
    if (wait == 0) {
      window = find_window(server.display, name);
      ASSERT_NE(window, 0u) << "no window titled " << name;
      XWindowAttributes attributes;
      ASSERT_TRUE(XGetWindowAttributes(server.display, window, &attributes));
      EXPECT_EQ(attributes.width, 800);
      EXPECT_EQ(attributes.height, 600);
      EXPECT_EQ(attributes.map_state, IsViewable);
    }
    const Picture shot = settled_screenshot(window, *expected[wait]);
    EXPECT_TRUE(same_picture(shot, *expected[wait]))
        << name << " picture " << wait + 1 << ": " << differing_pixels(shot, *expected[wait])
        << " pixels differ from the headless run";
    // A close request must only end this wait: with more pictures to come,
    // the first wait is ended that way and the rest by keys.
    if (wait == 0 && waits > 1)
      request_close(server.display, window);
    else
      press_key(server.display, window);
  }
  await_exit();
  EXPECT_EQ(program, 0) << name << " did not end after its last picture";
  EXPECT_EQ(exit_status, 0) << read_lines(scratch / "stderr").size() << " lines on standard error";
  const std::vector<std::string> log = read_lines(scratch / "log");
  EXPECT_EQ(flips_in(log), headless.flips);
  EXPECT_EQ(ended_waits(log), waits);
}

INSTANTIATE_TEST_SUITE_P(Programs, RealWindow, testing::ValuesIn(program_names()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
