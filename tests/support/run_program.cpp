// Runs a program headless in a scratch directory of its own and reads back
// its pictures, output and harness log.
#include "run_program.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Sets NAME=value in `environment`, replacing an inherited NAME.
void set_variable(std::vector<std::string>& environment, const std::string& assignment) {
  const std::string name = assignment.substr(0, assignment.find('=') + 1);
  for (std::string& variable : environment) {
    if (variable.compare(0, name.size(), name) == 0) {
      variable = assignment;
      return;
    }
  }
  environment.push_back(assignment);
}

std::vector<std::string> program_environment(const fs::path& scratch, const RunOptions& options) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable) environment.emplace_back(*variable);
  set_variable(environment, "SDL_VIDEODRIVER=dummy");
  if (options.preload_harness) set_variable(environment, preload_assignment(HARNESS_LIBRARY));
  set_variable(environment, "HARNESS_TIME=" + std::to_string(options.clock));
  set_variable(environment, "HARNESS_EVENTS=" + options.events);
  set_variable(environment, "HARNESS_LOG=" + (scratch / "log").string());
  if (options.save_pictures) set_variable(environment, "HARNESS_PICTURES=" + (scratch / "pictures").string());
  for (const std::string& assignment : options.environment) set_variable(environment, assignment);
  return environment;
}

// Starts `path` with standard output and error going to files in `scratch`
// (files, not pipes, so neither stream can block the other); 0 on failure.
pid_t spawn(const std::string& path, const fs::path& scratch, std::vector<std::string> environment,
            const RunOptions& options) {
  const std::string out = options.output.empty() ? (scratch / "stdout").string() : options.output;
  const std::string err = (scratch / "stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (options.output == "closed")
    posix_spawn_file_actions_addclose(&actions, 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::string program = path;
  char* argv[] = {program.data(), nullptr};

  pid_t pid = 0;
  const int error = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    ADD_FAILURE() << "cannot start " << path << ": " << std::strerror(error);
    return 0;
  }
  return pid;
}

// Waits for `pid`, sending options.signal once its first picture is shown;
// kills it with SIGKILL once the timeout has passed.
int wait_for_exit(pid_t pid, const fs::path& scratch, const RunOptions& options, bool& timed_out) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeout_seconds);
  int status = 0;
  bool signalled = options.signal == 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (!signalled && read_file(scratch / "log").find("flip 1") != std::string::npos) {
      kill(pid, options.signal);
      signalled = true;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// The raw pixel value at (x, y) of a loaded picture of any depth.
Uint32 pixel_value(const SDL_Surface* surface, int x, int y) {
  const int bytes = surface->format->BytesPerPixel;
  const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
  if (bytes == 3) {
    return SDL_BYTEORDER == SDL_LIL_ENDIAN ? p[0] | p[1] << 8 | p[2] << 16
                                           : p[0] << 16 | p[1] << 8 | p[2];
  }
  if (bytes == 1) return *p;
  if (bytes == 2) {
    Uint16 value;
    std::memcpy(&value, p, sizeof value);
    return value;
  }
  Uint32 value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

bool load_picture(const fs::path& path, Picture& picture) {
  SDL_Surface* surface = SDL_LoadBMP(path.c_str());
  if (surface == nullptr) return false;
  picture.width = surface->w;
  picture.height = surface->h;
  picture.rgb.resize(static_cast<std::size_t>(surface->w) * surface->h);
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      Uint8 r, g, b;
      SDL_GetRGB(pixel_value(surface, x, y), surface->format, &r, &g, &b);
      picture.rgb[static_cast<std::size_t>(y) * surface->w + x] =
          static_cast<std::uint32_t>(r) << 16 | g << 8 | b;
    }
  }
  SDL_FreeSurface(surface);
  return true;
}

// Reads folder/<stem>-001.bmp onwards, up to the first missing number.
void load_pictures(const fs::path& folder, const char* stem, std::vector<Picture>& pictures) {
  for (int n = 1;; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%03d.bmp", stem, n);
    const fs::path path = folder / name;
    if (!fs::exists(path)) break;
    Picture picture;
    if (!load_picture(path, picture)) {
      ADD_FAILURE() << "cannot read " << path << ": " << SDL_GetError();
      break;
    }
    pictures.push_back(std::move(picture));
  }
}

void collect(const fs::path& scratch, ProgramRun& run) {
  run.standard_output = read_file(scratch / "stdout");
  run.standard_error += read_file(scratch / "stderr");
  std::ifstream log(scratch / "log");
  for (std::string line; std::getline(log, line);) {
    if (line.starts_with("flip ")) ++run.flips;
    if (line == "event key" || line == "event quit") ++run.waits;
    run.log.push_back(line);
  }
  load_pictures(scratch / "pictures", "picture", run.pictures);
  load_pictures(scratch / "pictures", "shown-again", run.shown_again);
}

}  // namespace

// The dynamic loader splits LD_PRELOAD at spaces and colons, so a library
// under a path that holds one is preloaded through an inherited descriptor.
// Programs may be run from several threads at once.
std::string preload_assignment(const char* library) {
  static std::mutex guard;
  const std::lock_guard<std::mutex> lock(guard);
  static std::map<std::string, int> opened;
  auto [found, first] = opened.emplace(library, -1);
  if (first) found->second = open(library, O_RDONLY);  // no O_CLOEXEC: the program inherits it
  const int fd = found->second;
  if (fd < 0) ADD_FAILURE() << "cannot open " << library << ": " << std::strerror(errno);
  return "LD_PRELOAD=/proc/self/fd/" + std::to_string(fd);
}

ProgramRun run_program(const std::string& name, const RunOptions& options) {
  ProgramRun run;
  const std::string path = name.find('/') == std::string::npos ? PROGRAM_DIR "/" + name : name;
  char scratch_template[] = "/tmp/program-run-XXXXXX";
  if (mkdtemp(scratch_template) == nullptr) {
    ADD_FAILURE() << "cannot make a scratch directory: " << std::strerror(errno);
    return run;
  }
  const fs::path scratch = scratch_template;
  fs::create_directory(scratch / "pictures");

  if (const pid_t pid = spawn(path, scratch, program_environment(scratch, options), options)) {
    run.exit_status = wait_for_exit(pid, scratch, options, run.timed_out);
    if (run.timed_out)
      run.standard_error = "run_program: killed after " + std::to_string(options.timeout_seconds) + " s\n";
    collect(scratch, run);
  }
  fs::remove_all(scratch);
  return run;
}

std::vector<std::pair<int, int>> pixels_of(const Picture& picture, std::uint32_t colour) {
  std::vector<std::pair<int, int>> found;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (picture.at(x, y) == colour) found.emplace_back(x, y);
  return found;
}

bool same_picture(const Picture& a, const Picture& b) {
  return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

const std::vector<ListedProgram>& listed_programs() {
  static const std::vector<ListedProgram> programs = [] {
    std::vector<ListedProgram> list;
    std::ifstream file(PROGRAM_LIST);
    for (std::string line; std::getline(file, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      ListedProgram program;
      std::string waits, flips;
      std::getline(fields, program.name, '\t');
      std::getline(fields, waits, '\t');
      std::getline(fields, flips, '\t');
      std::getline(fields, program.about);
      program.waits = std::stoi(waits);
      program.flips = std::stoi(flips);
      list.push_back(program);
    }
    if (list.empty()) ADD_FAILURE() << "no programs in " << PROGRAM_LIST;
    return list;
  }();
  return programs;
}
