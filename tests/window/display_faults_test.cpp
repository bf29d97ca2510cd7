// What a program says when its display fails it, on a private Xvfb server:
// each row a fault, done once the program waits for a key (or met at its
// start), and the one line it must end with, status 1. How long a waiting
// program takes to end after its fault is printed ("timing:"), for ./suite
// bench to hold against its target; a busy machine only slows it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "x_session.h"

extern char** environ;

namespace {

struct DisplayFault {
  const char* what;
  const char* program;
  const char* fault;    // in the first wait: "end server", "kill client", "destroy window"; "" none
  const char* display;  // DISPLAY, "%d" the server's number; "" none (XDG_RUNTIME_DIR is never set)
  const char* driver;   // SDL_VIDEODRIVER, "" none
  const char* says;     // all of standard error, "%d" the server's number
};

const DisplayFault faults[] = {
    {"the X server ends", "ring_zoom", "end server", ":%d", "", "ring_zoom: lost the connection to the display \":%d\""},
    {"xdotool windowkill", "ring_zoom", "kill client", ":%d", "", "ring_zoom: lost the connection to the display \":%d\""},
    {"xdotool windowclose", "coaxal_pencil", "destroy window", ":%d", "",
     "coaxal_pencil: the window was closed by another program on the display \":%d\""},
    {"a screen the server lacks", "coaxal_pencil", "", ":%d.5", "",
     "coaxal_pencil: cannot open display \":%d.5\": the X server there has no such screen"},
    {"SDL 2's evdev driver", "coaxal_pencil", "", ":%d", "evdev",
     "coaxal_pencil: SDL's \"evdev\" video driver shows no window, so no key could end a wait"},
    {"no display, no XDG_RUNTIME_DIR", "coaxal_pencil", "", "", "",
     "coaxal_pencil: no display: neither DISPLAY nor WAYLAND_DISPLAY is set"},
};

// Set for each row, or left unset.
constexpr std::string_view replaced[] = {"LD_PRELOAD", "DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_RUNTIME_DIR"};

std::string with_number(std::string text, int number) {
  if (const auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, std::to_string(number));
  return text;
}

std::string read_text(const std::string& path) {
  std::ifstream file(path);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(DisplayFaults, EachEndsInOneLineAndStatus1) {
  for (const DisplayFault& row : faults) {
    SCOPED_TRACE(row.what);
    XServer server;
    std::string error;
    ASSERT_TRUE(start_x_server(server, error)) << error;
    const int number = server.number;
    const std::filesystem::path scratch = scratch_folder("display-fault");
    ASSERT_FALSE(scratch.empty());
    const std::string log = scratch / "log", err = scratch / "err";
    std::vector<std::string> environment = {
        preload_assignment(WINDOW_PROBE), "WINDOW_PROBE_LOG=" + log, "DISPLAY=" + with_number(row.display, number),
        std::string("SDL_VIDEODRIVER=") + row.driver, "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0"};
    for (char** variable = environ; *variable; ++variable) {
      const std::string_view name = std::string_view(*variable).substr(0, std::string_view(*variable).find('='));
      if (std::ranges::find(replaced, name) == std::end(replaced)) environment.emplace_back(*variable);
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string path = std::string(PROGRAM_DIR) + "/" + row.program;
    char* argv[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t program = 0;
    ASSERT_EQ(posix_spawn(&program, argv[0], &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

    auto since = std::chrono::steady_clock::now();
    int status = 0;
    bool ended = false, waiting = !*row.fault;
    while (!ended && std::chrono::steady_clock::now() - since < std::chrono::seconds(60)) {
      ended = waitpid(program, &status, WNOHANG) == program;
      if (!waiting && read_text(log).find("wait") != std::string::npos) {
        const Window window = find_window(server.display, row.program);
        if (std::string_view(row.fault) == "end server") {
          stop_x_server(server);
        } else {
          std::string_view(row.fault) == "kill client" ? XKillClient(server.display, window)
                                                        : XDestroyWindow(server.display, window);
          XSync(server.display, False);
        }
        since = std::chrono::steady_clock::now();
        waiting = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (*row.fault && ended) {
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since);
      std::printf("timing: %s, the program ended %lld ms after it\n", row.what, static_cast<long long>(took.count()));
    }
    if (!ended) {
      kill(program, SIGKILL);
      waitpid(program, &status, 0);
    }
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;
    EXPECT_EQ(read_text(err), with_number(row.says, number) + "\n");
    stop_x_server(server);
    std::filesystem::remove_all(scratch);
  }
}

}  // namespace
