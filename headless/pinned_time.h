// time() as the preloaded test libraries answer it: HARNESS_TIME when set,
// so random pictures can be drawn again; the real clock otherwise.
#pragma once

#include <cstdlib>
#include <ctime>

inline time_t pinned_time(time_t* result) {
  time_t now;
  if (const char* pinned = std::getenv("HARNESS_TIME")) {
    now = static_cast<time_t>(std::strtoll(pinned, nullptr, 10));
  } else {
    timespec clock;
    clock_gettime(CLOCK_REALTIME, &clock);
    now = clock.tv_sec;
  }
  if (result) *result = now;
  return now;
}
