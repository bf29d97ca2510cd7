// What a program says when its display fails it, on a private Xvfb server:
// each row is a fault, done to the program once it waits for a key (or
// met at its start), and the one line it must end with, status 1, within
// a second of the fault.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "x_session.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct DisplayFault {
  const char* what;
  const char* program;
  const char* fault;    // done in the first wait: "end server", "kill client", "destroy window"; "" none
  const char* display;  // DISPLAY, "%d" the server's number; "" unset (so is XDG_RUNTIME_DIR)
  const char* driver;   // SDL_VIDEODRIVER, "" unset
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

std::string with_number(const char* text, int number) {
  std::string out = text;
  if (const auto at = out.find("%d"); at != std::string::npos) out.replace(at, 2, std::to_string(number));
  return out;
}

std::string read_text(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

pid_t start(const DisplayFault& row, int number, const std::filesystem::path& scratch) {
  const auto replaced = [](const std::string& assignment) {
    for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "LD_PRELOAD=", "XDG_RUNTIME_DIR="})
      if (assignment.starts_with(name)) return true;
    return false;
  };
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable)
    if (!replaced(*variable)) environment.emplace_back(*variable);
  if (*row.display) environment.push_back("DISPLAY=" + with_number(row.display, number));
  if (*row.driver) environment.push_back(std::string("SDL_VIDEODRIVER=") + row.driver);
  environment.push_back(preload_assignment(WINDOW_PROBE));
  environment.push_back("WINDOW_PROBE_LOG=" + (scratch / "log").string());
  environment.push_back("ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0");
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  const std::string path = std::string(PROGRAM_DIR) + "/" + row.program;
  const std::string err = (scratch / "stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void do_fault(const std::string& fault, XServer& server, const char* program) {
  if (fault == "end server") {
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
    server.pid = 0;
    server.display = nullptr;  // dead; closing it would end this test
    return;
  }
  const Window window = find_window(server.display, program);
  ASSERT_NE(window, 0u);
  if (fault == "kill client") XKillClient(server.display, window);
  if (fault == "destroy window") XDestroyWindow(server.display, window);
  XSync(server.display, False);
}

TEST(DisplayFaults, EachEndsInOneLineAndStatus1WithinASecond) {
  for (const DisplayFault& row : faults) {
    SCOPED_TRACE(row.what);
    XServer server;
    std::string error;
    ASSERT_TRUE(start_x_server(server, error)) << error;
    char scratch_template[] = "/tmp/display-fault-XXXXXX";
    ASSERT_NE(mkdtemp(scratch_template), nullptr);
    const std::filesystem::path scratch = scratch_template;
    const pid_t program = start(row, server.number, scratch);
    ASSERT_NE(program, 0);
    auto since = Clock::now();
    int status = 0;
    bool ended = false;
    for (bool waiting = !*row.fault; Clock::now() - since < std::chrono::seconds(waiting ? 5 : 60);) {
      if (waitpid(program, &status, WNOHANG) == program) {
        ended = true;
        break;
      }
      if (!waiting && read_text(scratch / "log").find("wait") != std::string::npos) {
        do_fault(row.fault, server, row.program);
        since = Clock::now();
        waiting = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const auto took = Clock::now() - since;
    if (!ended) {
      kill(program, SIGKILL);
      waitpid(program, &status, 0);
    }
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;
    EXPECT_LE(took, std::chrono::seconds(1));
    EXPECT_EQ(read_text(scratch / "stderr"), with_number(row.says, server.number) + "\n");
    stop_x_server(server);
    std::filesystem::remove_all(scratch);
  }
}

}  // namespace
