// One headless run per program and clock, shared by every test in the
// binary: a whole run costs the program's full time, so checks that look at
// the same run should not pay for it again.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "run_program.h"

inline const ProgramRun& shared_run(const std::string& name, long clock = RunOptions{}.clock) {
  static std::map<std::pair<std::string, long>, ProgramRun> runs;
  const auto key = std::make_pair(name, clock);
  auto found = runs.find(key);
  if (found == runs.end()) {
    RunOptions options;
    options.clock = clock;
    found = runs.emplace(key, run_program(name, options)).first;
  }
  return found->second;
}

// A run whose every wait is answered by a quit event instead of a key.
inline ProgramRun quit_run(const std::string& name, long clock = RunOptions{}.clock) {
  RunOptions options;
  options.clock = clock;
  options.events = "quit";
  return run_program(name, options);
}
