// A child run with its output read as it comes and signals passed on.
#include "run_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace {

constexpr int terminating[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The pipe can outlive the child (a process it started may hold it); once
// the child is gone, what is left is read for this long at most.
constexpr int drain_milliseconds = 200;

pid_t spawn_child(char* const argv[], int output, const sigset_t& mask, int& error) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output, 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : terminating) sigaddset(&defaults, signal);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &mask);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  error = posix_spawn(&pid, argv[0], &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : 0;
}

// False at the end of the output.
bool hand_over(int output, OutputHandler on_output, void* context) {
  char bytes[4096];
  const ssize_t n = read(output, bytes, sizeof bytes);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  if (n <= 0) return false;
  on_output(bytes, static_cast<std::size_t>(n), context);
  return true;
}

}  // namespace

ChildEnd run_child(char* const argv[], OutputHandler on_output, void* context) {
  ChildEnd end;
  sigset_t watched, previous;
  sigemptyset(&watched);
  for (int signal : terminating) sigaddset(&watched, signal);
  sigaddset(&watched, SIGCHLD);
  sigprocmask(SIG_BLOCK, &watched, &previous);
  const int signals = signalfd(-1, &watched, SFD_CLOEXEC);
  int pipe_ends[2];
  if (signals < 0 || pipe2(pipe_ends, O_CLOEXEC) != 0) {
    end.start_error = errno;
    if (signals >= 0) close(signals);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return end;
  }
  const pid_t child = spawn_child(argv, pipe_ends[1], previous, end.start_error);
  close(pipe_ends[1]);
  int output = pipe_ends[0];
  bool running = child != 0;
  while (running || output >= 0) {
    pollfd ready[2] = {{signals, POLLIN, 0}, {output, POLLIN, 0}};
    const int count = poll(ready, output >= 0 ? 2 : 1, running ? -1 : drain_milliseconds);
    if (count == 0) break;  // the child is gone and nothing more came
    if (output >= 0 && ready[1].revents != 0 && !hand_over(output, on_output, context)) {
      close(output);
      output = -1;
    }
    signalfd_siginfo received;
    if ((ready[0].revents & POLLIN) == 0 || read(signals, &received, sizeof received) != sizeof received) continue;
    const int signal = static_cast<int>(received.ssi_signo);
    if (signal != SIGCHLD) {
      if (end.passed_on == 0) end.passed_on = signal;
      if (running) kill(child, signal);
      continue;
    }
    int status;
    if (running && waitpid(child, &status, WNOHANG) == child) {
      running = false;
      if (WIFSIGNALED(status)) end.killed_by = WTERMSIG(status);
      else end.exit_status = WEXITSTATUS(status);
    }
  }
  if (output >= 0) close(output);
  close(signals);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return end;
}
