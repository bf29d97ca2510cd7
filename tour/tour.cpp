// The tour: shows the programs one after another in a window.
//   tour BIN [PROGRAM...]
// BIN holds the built programs; without names, every program of
// programs/programs.list, in its order. Any key in the window shows the
// next picture; closing the window only skips to the next picture, as the
// programs do. What a program prints is shown as it is written, on a line
// of its own that names the program.
//
// A terminating signal sent to the tour (Ctrl-C, kill, a closed terminal's
// SIGHUP) is passed on to the running program, whose window then closes;
// the tour says it stopped and ends on that signal (status 128 + signal).
// A program that cannot start, fails or is killed ends the tour with one
// line saying so.
#include <string.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "program_list.h"
#include "run_child.h"
#include "stop_signals.h"

namespace {

// Shows a program's output, the first piece after a line that names it.
struct Shown {
  const char* name;
  bool started = false;
};

void show_output(const char* bytes, std::size_t size, void* context) {
  Shown& shown = *static_cast<Shown*>(context);
  if (!shown.started) std::printf("    %s printed: ", shown.name);
  shown.started = true;
  std::fwrite(bytes, 1, size, stdout);
  std::fflush(stdout);
}

// One line on how the program ended, when that ends the tour; the
// program's own line on standard error, if any, came before it.
bool ended_well(const std::string& name, const std::string& path, const ChildEnd& end) {
  if (end.start_error != 0)
    std::fprintf(stderr, "%s cannot be started: %s (%s); the tour ends here\n", name.c_str(),
                 std::strerror(end.start_error), path.c_str());
  else if (end.killed_by != 0)
    std::fprintf(stderr, "%s was ended by the signal SIG%s (%s); the tour ends here\n", name.c_str(),
                 sigabbrev_np(end.killed_by), strsignal(end.killed_by));
  else if (end.exit_status != 0)
    std::fprintf(stderr, "%s ended with status %d; the tour ends here ('./suite export' writes the pictures "
                 "as PNG files where no window can be shown)\n", name.c_str(), end.exit_status);
  return end.start_error == 0 && end.killed_by == 0 && end.exit_status == 0;
}

int status_of(const ChildEnd& end) {
  if (end.start_error != 0) return 1;
  return end.killed_by != 0 ? 128 + end.killed_by : end.exit_status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tour BIN [PROGRAM...]\n");
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);  // a closed terminal must not end the tour before the program
  const std::vector<ListedProgram> list = read_program_list(PROGRAM_LIST);
  std::vector<const ListedProgram*> tour;
  for (int i = 2; i < argc; ++i) {
    const ListedProgram* found = nullptr;
    for (const ListedProgram& listed : list)
      if (listed.name == argv[i]) found = &listed;
    if (found == nullptr) {
      std::string names;
      for (const ListedProgram& listed : list) names += (names.empty() ? "" : " ") + listed.name;
      std::fprintf(stderr, "no program called '%s'; the programs are: %s\n", argv[i], names.c_str());
      return 2;
    }
    tour.push_back(found);
  }
  if (tour.empty())
    for (const ListedProgram& listed : list) tour.push_back(&listed);

  const int count = static_cast<int>(tour.size());
  if (count > 1)
    std::printf("A tour of %d programs. In each window any key shows the next picture;\n"
                "closing the window only skips to the next one. Ctrl-C here ends the tour.\n", count);
  for (int place = 1; place <= count; ++place) {
    const ListedProgram& program = *tour[place - 1];
    std::printf("[%d/%d] %s: %s (%d picture%s; any key goes on)\n", place, count, program.name.c_str(),
                program.about.c_str(), program.pictures, program.pictures == 1 ? "" : "s");
    std::fflush(stdout);
    std::string path = std::string(argv[1]) + "/" + program.name;
    char* child_argv[] = {path.data(), nullptr};
    Shown shown{program.name.c_str()};
    const ChildEnd end = run_child(child_argv, show_output, &shown);
    if (shown.started) std::printf("\n");
    if (end.passed_on != 0) {
      std::printf("\nTour stopped.\n");
      std::fflush(stdout);
      end_by_signal(end.passed_on);
    }
    std::fflush(stdout);
    if (!ended_well(program.name, path, end)) return status_of(end);
  }
  return 0;
}
