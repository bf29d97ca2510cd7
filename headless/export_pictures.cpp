// export_pictures: the picture export behind ./suite export, which checks
// the arguments, builds the tree and hands over to it:
//
//   export_pictures BUILD OUT CLOCK still|animate all|named NAME=FRAMES...
//
// Each program BUILD/bin/NAME runs headless with BUILD's runner preloaded
// (SDL's dummy video driver; every wait answered by a key press; time()
// pinned to CLOCK), side by side, one on each core, and must draw FRAMES
// frames. They go to OUT/NAME/frame-001.png onwards, and what a program
// prints to OUT/NAME/output.txt (kept only when not empty); with animate
// the pictures also become OUT/NAME.webp (for every program when they are
// named, else for those with more than one picture). Then one line a
// program, and on success the command that draws the same pictures again.
//
// CLOCK is digits (scripts/export.sh checks the form); its range, 1 to
// largest_clock (whole_number.h), is checked here, before anything is made:
// one line and status 2, as the script's own refusals.
//
// The export holds OUT while it runs (a second export into it waits), and
// reaches every file in it through a directory descriptor, never through a
// link; pictures and animations appear only when whole. A stop signal is
// passed on to the programs; once they have ended the export says it was
// interrupted and ends by that signal. Status 1 when any program failed.
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "animation_writer.h"
#include "frame_times.h"
#include "output_folder.h"
#include "rgb_image.h"
#include "stop_signals.h"
#include "shell_word.h"
#include "standard_output.h"
#include "whole_file.h"
#include "whole_number.h"

extern char** environ;

namespace {

struct Export {
  std::string build;
  std::string clock;
  bool animate = false;
  bool named = false;
  int output = -1;  // the folder OUT
  std::string shown;  // its path
  int runner = -1;  // the runner, inherited by the programs
};

struct Program {
  std::string name;
  int frames = 0;  // it must draw, one a flip
  int folder = -1;
  pid_t running = 0;  // the program, or its animation
  bool animating = false;
  bool failed = false;
  std::string report;  // its lines of the summary
};

int usage() {
  std::fprintf(stderr, "usage: export_pictures BUILD OUT CLOCK still|animate all|named NAME=FRAMES...\n");
  return 2;
}

// The environment of a program: this one's, without any preloading or
// runner settings of its own, plus the export's.
std::vector<std::string> program_environment(const Export& job, int folder) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    if (entry.starts_with("HARNESS_") || entry.starts_with("LD_PRELOAD=") || entry.starts_with("SDL_VIDEODRIVER="))
      continue;
    environment.push_back(entry);
  }
  // The runner goes in through a descriptor: the loader splits LD_PRELOAD at
  // spaces, which a build path may hold.
  environment.push_back("LD_PRELOAD=/proc/self/fd/" + std::to_string(job.runner));
  environment.push_back("SDL_VIDEODRIVER=dummy");
  environment.push_back("HARNESS_TIME=" + job.clock);
  environment.push_back("HARNESS_EVENTS=key");
  environment.push_back("HARNESS_PICTURE_FORMAT=png");
  environment.push_back("HARNESS_PICTURES_FD=" + std::to_string(folder));
  return environment;
}

void fail(Program& program, const std::string& why) {
  program.failed = true;
  program.report += program.name + ": FAILED: " + why + "\n";
}

// Prepares the program's folder and starts the program in it.
void start_program(const Export& job, Program& program) {
  const std::string shown = job.shown + "/" + program.name;
  std::string error;
  unlinkat(job.output, (program.name + ".webp").c_str(), 0);  // another run's animation
  program.folder = open_program_folder(job.output, program.name, shown, error);
  if (program.folder < 0) return fail(program, error);
  const int output = openat(program.folder, "output.txt", O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (output < 0) return fail(program, "cannot create " + shown + "/output.txt: " + std::strerror(errno));

  const std::string path = job.build + "/bin/" + program.name;
  std::vector<std::string> environment = program_environment(job, program.folder);
  std::vector<char*> variables;
  for (std::string& variable : environment) variables.push_back(variable.data());
  variables.push_back(nullptr);
  char* arguments[] = {const_cast<char*>(path.c_str()), nullptr};
  program.running = fork();
  if (program.running == 0) {
    release_stop_signals();
    if (dup2(output, 1) < 0 || fcntl(program.folder, F_SETFD, 0) != 0) _exit(126);
    execve(path.c_str(), arguments, variables.data());
    std::fprintf(stderr, "%s: cannot start %s: %s\n", program.name.c_str(), path.c_str(), std::strerror(errno));
    _exit(127);
  }
  close(output);
  if (program.running < 0) fail(program, std::string("cannot start it: ") + std::strerror(errno));
}

// In a child of its own: the program's pictures as OUT/NAME.webp. Says why
// it failed in one line.
[[noreturn]] void write_animation(const Export& job, const Program& program, int count) {
  release_stop_signals();
  const std::string name = program.name + ".webp";
  std::vector<RgbImage> pictures(static_cast<std::size_t>(count));
  std::string error;
  for (int i = 0; i < count; ++i) {
    char picture[32];
    std::snprintf(picture, sizeof picture, "frame-%03d.png", i + 1);
    const int fd = openat(program.folder, picture, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    std::FILE* file = fd >= 0 ? fdopen(fd, "rb") : nullptr;
    const bool read = file != nullptr && read_png_rgb(file, pictures[i], error);
    if (file == nullptr) error = std::strerror(errno);
    if (file != nullptr) std::fclose(file);
    if (!read) {
      std::fprintf(stderr, "%s: cannot read %s/%s/%s: %s\n", program.name.c_str(), job.shown.c_str(),
                   program.name.c_str(), picture, error.c_str());
      _exit(1);
    }
  }
  WholeFile animation;
  bool written = begin_whole_file(job.output, name.c_str(), animation);
  if (!written) error = std::strerror(errno);
  written = written && write_webp_animation(pictures, frame_times_ms(pictures.size()), animation.fd, error);
  if (written && !name_whole_file(animation, job.output, name.c_str())) {
    written = false;
    error = std::strerror(errno);
  }
  if (animation.fd >= 0 && close(animation.fd) != 0 && written) {
    written = false;
    error = std::strerror(errno);
  }
  if (written) _exit(0);
  if (animation.fd >= 0) abandon_whole_file(animation, job.output, name.c_str());
  std::fprintf(stderr, "%s: cannot write %s/%s: %s\n", program.name.c_str(), job.shown.c_str(), name.c_str(),
               error.c_str());
  _exit(1);
}

// After the program (or its animation) ended with `status`: its lines of
// the summary, and its animation started when one is due.
void program_ended(const Export& job, Program& program, int status, bool interrupted) {
  program.running = 0;
  const std::string shown = job.shown + "/" + program.name;
  if (program.animating) {
    if (status == 0) program.report += program.name + ": motion in " + job.shown + "/" + program.name + ".webp\n";
    else fail(program, "no motion in " + job.shown + "/" + program.name + ".webp");
    return;
  }
  struct stat output;
  if (fstatat(program.folder, "output.txt", &output, AT_SYMLINK_NOFOLLOW) == 0 && output.st_size == 0)
    unlinkat(program.folder, "output.txt", 0);
  const int count = count_frames(program.folder);
  if (status != 0 || count != program.frames)
    return fail(program, "status " + std::to_string(status) + " after " + std::to_string(count) + " of " +
                             std::to_string(program.frames) + " frame(s)");
  program.report = program.name + ": " + std::to_string(count) + " frame(s) in " + shown + "\n";
  if (!job.animate || interrupted || !(job.named || count > 1)) return;
  program.animating = true;
  program.running = fork();
  if (program.running == 0) write_animation(job, program, count);
  if (program.running < 0) fail(program, std::string("cannot start its animation: ") + std::strerror(errno));
}

// Runs the programs, one on each core, and their animations; returns the
// stop signal that interrupted them, or 0. A stop signal is passed on to
// everything running, and nothing new starts after it.
int run_side_by_side(const Export& job, std::vector<Program>& programs) {
  cpu_set_t set;
  const int cores = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
  int interrupted = 0;
  std::size_t next = 0;
  for (int running = 0;;) {
    while (!interrupted && running < cores && next < programs.size()) {
      Program& program = programs[next++];
      start_program(job, program);
      running += program.running > 0;
    }
    if (running == 0) return interrupted;
    pid_t child = 0;
    int status = 0;
    if (const int signal = next_event(child, status)) {
      interrupted = signal;
      for (const Program& program : programs)
        if (program.running > 0) kill(program.running, signal);
      continue;
    }
    for (Program& program : programs) {
      if (program.running != child) continue;
      program_ended(job, program, status, interrupted != 0);
      running -= program.running <= 0;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  guard_standard_descriptors();
  if (argc < 7) return usage();
  Export job;
  job.build = argv[1];
  // The clock's range is checked here, its form by scripts/export.sh.
  std::uint32_t clock = 0;
  if (!clock_number(argv[3], clock)) {
    std::fprintf(stderr, "--clock wants whole seconds from 1 to %lld, not '%s'\n",
                 static_cast<long long>(largest_clock), argv[3]);
    return 2;
  }
  job.clock = std::to_string(clock);
  job.animate = std::strcmp(argv[4], "animate") == 0;
  job.named = std::strcmp(argv[5], "named") == 0;
  std::vector<Program> programs;
  for (int i = 6; i < argc; ++i) {
    const char* equals = std::strchr(argv[i], '=');
    if (equals == nullptr) return usage();
    Program program;
    program.name.assign(argv[i], static_cast<std::size_t>(equals - argv[i]));
    program.frames = std::atoi(equals + 1);
    programs.push_back(program);
  }

  const std::string runner = job.build + "/headless/libheadless_runner.so";
  job.runner = open(runner.c_str(), O_RDONLY);  // inherited: the programs load it from here
  if (job.runner < 0) {
    std::fprintf(stderr, "no headless runner at %s: %s\n", runner.c_str(), std::strerror(errno));
    return 1;
  }
  std::string error;
  job.output = open_output_folder(argv[2], error);
  if (job.output < 0) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  job.shown = folder_path(job.output);
  hold_folder(job.output, job.shown);

  hold_stop_signals();
  const int interrupted = run_side_by_side(job, programs);
  if (interrupted) {
    std::fprintf(stderr, "The export was interrupted by SIG%s: its programs were stopped, and %s is incomplete.\n",
                 sigabbrev_np(interrupted), job.shown.c_str());
    end_by_signal(interrupted);
  }

  bool failed = false;
  for (const Program& program : programs) {
    std::fputs(program.report.c_str(), stdout);
    failed = failed || program.failed;
  }
  if (failed) {
    standard_output_written("export");
    return 1;
  }
  std::string again = "./suite export";
  if (job.named)
    for (const Program& program : programs) again += " " + program.name;
  again += " --clock " + job.clock + " --out " + shell_word(job.shown) + (job.animate ? " --motion" : "");
  const std::string line = "Clock " + job.clock + "; to draw these pictures again: " + again;
  std::printf("%s\n", line.c_str());
  return standard_output_written("export", line) ? 0 : 1;
}
