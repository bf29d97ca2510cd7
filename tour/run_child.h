// One child process, its output handed over as it is written, and the
// terminating signals sent to this process passed on to it.
//
// run_child(argv, on_output, context) starts argv[0] with standard output
// into a pipe and calls on_output with every piece read from it. While the
// child runs, SIGINT, SIGTERM, SIGHUP and SIGQUIT sent to this process are
// not acted on here but sent on to the child; run_child returns once the
// child has ended, saying which signal, if any, was passed on, so that the
// caller can end on it too (end_by_signal, stop_signals.h). The child starts with those
// signals at their defaults and unblocked, whatever this process does.
#pragma once

#include <cstddef>

struct ChildEnd {
  int start_error = 0;  // errno when the child could not be started
  int exit_status = 0;  // when it exited
  int killed_by = 0;    // the signal that ended it, 0 when it exited
  int passed_on = 0;    // the first terminating signal this process received
};

using OutputHandler = void (*)(const char* bytes, std::size_t size, void* context);

ChildEnd run_child(char* const argv[], OutputHandler on_output, void* context);
