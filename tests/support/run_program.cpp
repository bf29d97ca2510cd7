// Runs a program headless in a scratch folder of its own and reads back
// its pictures, output and harness log.
#include "run_program.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
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

// Opens `path` as descriptor `fd` in the child; false on failure.
bool open_as(int fd, const char* path, int flags) {
  const int opened = open(path, flags, 0644);
  if (opened < 0) return false;
  if (opened == fd) return true;
  const bool moved = dup2(opened, fd) == fd;
  close(opened);
  return moved;
}

// Starts `path` with standard output and error going to files in `scratch`
// (files, not pipes, so neither stream can block the other); 0 on failure.
// The program dies with the thread that started it and cannot write a file
// larger than options.write_limit_bytes.
pid_t spawn(const std::string& path, const fs::path& scratch, std::vector<std::string> environment,
            const RunOptions& options) {
  const std::string out = options.output.empty() ? (scratch / "stdout").string() : options.output;
  const std::string err = (scratch / "stderr").string();
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  const rlimit file_size{static_cast<rlim_t>(options.write_limit_bytes),
                         static_cast<rlim_t>(options.write_limit_bytes)};

  // The child reports a failure before exec through a pipe that exec closes.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "cannot start " << path << ": " << std::strerror(errno);
    return 0;
  }
  const bool closed_output = options.output == "closed";
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {  // only system calls from here to exec: the test may run threads
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    if (setrlimit(RLIMIT_FSIZE, &file_size) == 0 && open_as(0, "/dev/null", O_RDONLY) &&
        (closed_output ? close(1) == 0 : open_as(1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC)) &&
        open_as(2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC))
      execve(path.c_str(), argv, envp.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t reported = write(report[1], &error, sizeof error);
    _exit(127);
  }
  const int fork_error = errno;
  close(report[1]);
  int error = 0;
  const bool failed = pid < 0 || read(report[0], &error, sizeof error) == sizeof error;
  close(report[0]);
  if (failed) {
    ADD_FAILURE() << "cannot start " << path << ": " << std::strerror(pid < 0 ? fork_error : error);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return 0;
  }
  return pid;
}

// The bytes of the files under `folder`, however deep.
long long bytes_under(const fs::path& folder) {
  long long bytes = 0;
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(folder, error); !error && entry != fs::end(entry);
       entry.increment(error)) {
    std::error_code gone;  // a file may go between listing and stat
    if (entry->is_regular_file(gone)) bytes += static_cast<long long>(entry->file_size(gone));
  }
  return bytes;
}

// Waits for `pid`, sending options.signal once its first picture is shown;
// kills it with SIGKILL once the timeout has passed or it has written more
// than its limit.
int wait_for_exit(pid_t pid, const fs::path& scratch, const RunOptions& options, ProgramRun& run) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeout_seconds);
  int status = 0;
  bool signalled = options.signal == 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (!signalled && read_file(scratch / "log").find("flip 1") != std::string::npos) {
      kill(pid, options.signal);
      signalled = true;
    }
    run.timed_out = std::chrono::steady_clock::now() >= deadline;
    run.over_limit = bytes_under(scratch) > options.write_limit_bytes;
    if (run.timed_out || run.over_limit) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
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
  load_pictures(scratch / "pictures", "frame", run.pictures);
  load_pictures(scratch / "pictures", "shown-again", run.shown_again);
}

// This process's folder under TEST_SCRATCH, named by its pid: a plain
// array, which no destructor clears before the exit handler reads it.
char process_folder[4096];

void remove_process_folder() {
  std::error_code error;
  fs::remove_all(process_folder, error);
}

// Makes this process's folder, first removing those of processes that are
// gone (killed before their exit handler could run).
bool make_process_folder() {
  const fs::path root = TEST_SCRATCH;
  std::error_code error;
  fs::create_directories(root, error);
  for (auto entry = fs::directory_iterator(root, error); !error && entry != fs::end(entry); entry.increment(error)) {
    const std::string name = entry->path().filename();
    char* end = nullptr;
    const long pid = std::strtol(name.c_str(), &end, 10);
    std::error_code ignored;
    if (pid > 0 && *end == '\0' && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      fs::remove_all(entry->path(), ignored);
  }
  const fs::path own = root / std::to_string(getpid());
  fs::remove_all(own, error);  // a gone process's of the same number
  if (!fs::create_directory(own, error) || own.string().size() >= sizeof process_folder) {
    ADD_FAILURE() << "cannot make the scratch folder " << own << ": " << error.message();
    return false;
  }
  std::snprintf(process_folder, sizeof process_folder, "%s", own.c_str());
  std::atexit(remove_process_folder);
  return true;
}

}  // namespace

fs::path scratch_folder(const char* stem) {
  static const bool made = make_process_folder();
  if (!made) return {};
  std::string name = std::string(process_folder) + "/" + stem + "-XXXXXX";
  if (mkdtemp(name.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a scratch folder in " << process_folder << ": " << std::strerror(errno);
    return {};
  }
  return name;
}

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
  const fs::path scratch = scratch_folder("run");
  if (scratch.empty()) return run;
  fs::create_directory(scratch / "pictures");

  if (const pid_t pid = spawn(path, scratch, program_environment(scratch, options), options)) {
    run.exit_status = wait_for_exit(pid, scratch, options, run);
    if (run.timed_out)
      run.standard_error = "run_program: killed after " + std::to_string(options.timeout_seconds) + " s\n";
    if (run.over_limit)  // its pictures are not worth reading
      run.standard_error = "run_program: killed after writing more than " +
                           std::to_string(options.write_limit_bytes) + " bytes\n";
    else
      collect(scratch, run);
  }
  std::error_code error;
  fs::remove_all(scratch, error);
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
    const std::vector<ListedProgram> list = read_program_list(PROGRAM_LIST);
    if (list.empty()) ADD_FAILURE() << "no programs in " << PROGRAM_LIST;
    return list;
  }();
  return programs;
}
