// The signals that stop a command (SIGINT, SIGTERM, SIGHUP, SIGQUIT), held
// back while it runs so that each arrives when the command looks for it:
// the export passes it on to what it started, waits for all of it to end,
// and only then ends itself by the same signal (status 128 + it); a render
// looks between pieces of its work and removes what it had begun first.
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

// A stop signal that came while they were held and waits, or 0; it stays
// pending (end_by_signal then ends by it).
int pending_stop_signal();

// Ends this process by `signal`, as a shell expects of a command that the
// signal stopped (status 128 + signal), whether it was held or not.
[[noreturn]] void end_by_signal(int signal);
