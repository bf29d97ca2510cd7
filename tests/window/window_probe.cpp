// The window probe: preloaded (LD_PRELOAD) into a program that runs in a
// real window. Unlike the headless harness it leaves every event and every
// flip to SDL, so the program really waits on the X server; it only
//
//   pins time() to HARNESS_TIME, so random pictures match a headless run
//   with the same clock, and
//   tells WINDOW_PROBE_LOG what the program does, one line each:
//   "flip N" once SDL_Flip has returned (the picture is on the server),
//   "wait" when SDL_WaitEvent is entered, and "event T" when it returns
//   an event of SDL type T ("error" when it fails).
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "../../headless/pinned_time.h"

namespace {

int log_fd = -2;  // -2: not opened yet; -1: no log wanted
int flip_count = 0;

// One write per line, unbuffered, so a reader never sees half a line
// and a crash keeps everything before it.
void log_line(const char* text, int number) {
  if (log_fd == -2) {
    const char* path = std::getenv("WINDOW_PROBE_LOG");
    log_fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
  }
  if (log_fd < 0) return;
  char line[64];
  const int length = number < 0 ? std::snprintf(line, sizeof line, "%s\n", text)
                                 : std::snprintf(line, sizeof line, "%s %d\n", text, number);
  if (write(log_fd, line, static_cast<size_t>(length)) != length) _exit(4);
}

template <typename Function>
Function next_symbol(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "window probe: no %s to forward to\n", name);
    _exit(4);
  }
  return reinterpret_cast<Function>(symbol);
}

}  // namespace

extern "C" {

int SDL_Flip(SDL_Surface* surface) {
  static const auto real_flip = next_symbol<int (*)(SDL_Surface*)>("SDL_Flip");
  const int result = real_flip(surface);
  log_line("flip", ++flip_count);
  return result;
}

int SDL_WaitEvent(SDL_Event* event) {
  static const auto real_wait = next_symbol<int (*)(SDL_Event*)>("SDL_WaitEvent");
  log_line("wait", -1);
  const int result = real_wait(event);
  if (result == 1 && event) log_line("event", event->type);
  else if (result != 1) log_line("error", -1);
  return result;
}

time_t time(time_t* result) noexcept { return pinned_time(result); }

}  // extern "C"
