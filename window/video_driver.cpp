// The video driver chosen from the environment, and checked once started.
#include "video_driver.h"

#include <SDL.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "program_failure.h"
#include "display_connection.h"

const char* video_driver() {
  static char driver[32];
  if (SDL_VideoDriverName(driver, sizeof driver) == nullptr) driver[0] = '\0';
  return driver;
}

#ifdef __EMSCRIPTEN__

bool choose_video_driver() { return false; }
bool video_shows_a_window() { return true; }  // the page's canvas
void chosen_display_unreachable() { display_failure("cannot start SDL video"); }

#else

static bool is_set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

static bool on_a_console() {
  const char* terminal = isatty(0) ? ttyname(0) : nullptr;
  return terminal != nullptr && std::strncmp(terminal, "/dev/tty", 8) == 0 && terminal[8] >= '0' &&
         terminal[8] <= '9';
}

bool choose_video_driver() {
  if (is_set("SDL_VIDEODRIVER")) return false;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (is_set("DISPLAY")) {
    setenv("SDL_VIDEODRIVER", "x11", 1);
  } else if (!is_set("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "%s: no display: neither DISPLAY nor WAYLAND_DISPLAY is set\n", program_name);
    std::exit(1);
  } else if (wayland[0] != '/' && !is_set("XDG_RUNTIME_DIR")) {
    // Wayland's library finds a display name in XDG_RUNTIME_DIR only.
    std::fprintf(stderr, "%s: cannot open the Wayland display \"%s\": XDG_RUNTIME_DIR is not set\n",
                 program_name, wayland);
    std::exit(1);
  } else {
    setenv("SDL_VIDEODRIVER", "wayland", 1);
  }
  return true;
}

bool video_shows_a_window() {
  static const char* const shown[] = {"x11", "wayland", "dga"};
  static const char* const whole_screen[] = {"fbcon", "kmsdrm", "directfb", "svgalib"};
  for (const char* driver : shown)
    if (strcasecmp(video_driver(), driver) == 0) return true;
  for (const char* driver : whole_screen)
    if (strcasecmp(video_driver(), driver) == 0) return on_a_console();
  return false;
}

void chosen_display_unreachable() {
  const char* display = std::getenv("DISPLAY");
  if (std::strcmp(std::getenv("SDL_VIDEODRIVER"), "wayland") == 0)
    std::fprintf(stderr, "%s: cannot open the Wayland display \"%s\": %s\n", program_name,
                 std::getenv("WAYLAND_DISPLAY"), *SDL_GetError() ? SDL_GetError() : "SDL gives no reason");
  else if (only_the_screen_is_missing(display))
    std::fprintf(stderr, "%s: cannot open display \"%s\": the X server there has no such screen\n",
                 program_name, display);
  else
    std::fprintf(stderr, "%s: cannot open display \"%s\": no X server answers there\n", program_name, display);
  std::exit(1);
}

#endif
