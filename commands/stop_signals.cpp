#include "stop_signals.h"

#include <sys/wait.h>

#include <csignal>
#include <initializer_list>
#include <cstdlib>

namespace {

sigset_t held_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) sigaddset(&set, signal);
  return set;
}

}  // namespace

void hold_stop_signals() {
  const sigset_t set = held_signals();
  sigprocmask(SIG_BLOCK, &set, nullptr);
}

void release_stop_signals() {
  const sigset_t set = held_signals();
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

int next_event(pid_t& child, int& status) {
  const sigset_t set = held_signals();
  for (;;) {
    int raw = 0;
    child = waitpid(-1, &raw, WNOHANG);
    if (child > 0) {
      status = WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
      return 0;
    }
    siginfo_t info;
    const int signal = sigwaitinfo(&set, &info);
    if (signal > 0 && signal != SIGCHLD) return signal;
  }
}

int pending_stop_signal() {
  sigset_t pending;
  sigpending(&pending);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
    if (sigismember(&pending, signal)) return signal;
  return 0;
}

[[noreturn]] void end_by_signal(int signal) {
  std::signal(signal, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);  // only it: no other pending one comes first
  raise(signal);
  std::_Exit(128 + signal);  // not reached unless the signal is ignored from outside
}
