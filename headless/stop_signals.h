// The signals that stop an export (SIGINT, SIGTERM, SIGHUP, SIGQUIT), held
// back while it runs so that each arrives as an event beside its children's
// ends: the export passes it on to what it started, waits for all of it to
// end, and only then ends itself by the same signal (status 128 + it).
#pragma once

#include <sys/types.h>

// Blocks the stop signals and SIGCHLD in this process.
void hold_stop_signals();

// In a child before it runs: the signals unblocked again.
void release_stop_signals();

// Waits for the next event: a child that ended (returns 0, with its id in
// `child` and its status as a shell gives it, exit code or 128 + signal,
// in `status`), or a stop signal (returns its number). Only while children
// run.
int next_event(pid_t& child, int& status);

// Ends this process by `signal`, as if it had never been held.
[[noreturn]] void end_by_signal(int signal);
