// Opening, clearing and presenting the window surface.
#include "display.h"
#include "display_connection.h"
#include "pixels.h"
#include "standard_streams.h"

#include <dlfcn.h>
#include <strings.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SDL_Surface* screen = nullptr;
const char* program_name = "inversion";

Uint32 colour_white;
Uint32 colour_black;
Uint32 colour_red;
Uint32 colour_green;
Uint32 colour_blue;
Uint32 colour_yellow;

// Drawing writes straight into pixel memory, which some surfaces only allow
// while locked; SDL_FillRect and SDL_Flip need the surface unlocked.
static void lock_screen() {
  if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
}

static void unlock_screen() {
  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
}

void display_failure(const char* what) {
  const char* reason = SDL_GetError();
  std::fprintf(stderr, "%s: %s: %s\n", program_name, what, *reason ? reason : "SDL gives no reason");
  std::exit(1);
}

// The last picture shown, as flipped, and room to set the surface aside
// while it is shown again; fixed, so a wait never allocates.
static Uint32 shown_picture[window_width * window_height];
static Uint32 set_aside[window_width * window_height];
static bool picture_shown = false;

// The drivers that show the window to someone. Those that draw on the
// whole screen show it only to a user at a Linux console; any other
// (dummy, offscreen, SDL 2's evdev) opens a window nobody sees, and the
// first wait for a key never ends. Only the suite's headless runner, which
// answers every wait itself, may run there; it says so by defining a symbol.
static const char* video_driver() {
  static char driver[32];
  if (SDL_VideoDriverName(driver, sizeof driver) == nullptr) driver[0] = '\0';
  return driver;
}

static bool on_a_console() {
  const char* terminal = isatty(0) ? ttyname(0) : nullptr;
  return terminal != nullptr && std::strncmp(terminal, "/dev/tty", 8) == 0 && terminal[8] >= '0' &&
         terminal[8] <= '9';
}

static bool video_shows_a_window() {
#ifdef __EMSCRIPTEN__
  return true;  // the page's canvas
#else
  static const char* const shown[] = {"x11", "wayland", "dga"};
  static const char* const whole_screen[] = {"fbcon", "kmsdrm", "directfb", "svgalib"};
  for (const char* driver : shown)
    if (strcasecmp(video_driver(), driver) == 0) return true;
  for (const char* driver : whole_screen)
    if (strcasecmp(video_driver(), driver) == 0) return on_a_console();
  return false;
#endif
}

static bool waits_are_answered() { return dlsym(RTLD_DEFAULT, "headless_runner_answers_waits") != nullptr; }

static bool is_set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Left to choose, SDL tries every driver it has: Wayland's library prints
// a complaint of its own where there is no Wayland, and with no display at
// all SDL settles on one that shows nothing. So the program chooses, as
// the tour always did: X11 where DISPLAY is set, else Wayland. False when
// the user named a driver.
static bool choose_video_driver() {
#ifdef __EMSCRIPTEN__
  return false;
#else
  if (is_set("SDL_VIDEODRIVER")) return false;
  if (is_set("DISPLAY")) {
    setenv("SDL_VIDEODRIVER", "x11", 1);
  } else if (is_set("WAYLAND_DISPLAY")) {
    setenv("SDL_VIDEODRIVER", "wayland", 1);
  } else {
    std::fprintf(stderr, "%s: no display: neither DISPLAY nor WAYLAND_DISPLAY is set\n", program_name);
    std::exit(1);
  }
  return true;
#endif
}

// The display the program chose does not answer: says which, and whether
// it is the server or only the screen that is missing.
[[noreturn]] static void display_unreachable() {
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

void init_video(const char* name) {
  program_name = name;
  watch_standard_streams();  // its check at exit runs after SDL_Quit
  const bool chosen = choose_video_driver();
  // SDL turns SIGINT and SIGTERM into a quit event, which only ends the
  // current wait; a termination signal should end the program as usual.
  struct sigaction interrupt, terminate;
  sigaction(SIGINT, nullptr, &interrupt);
  sigaction(SIGTERM, nullptr, &terminate);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (chosen) display_unreachable();
    display_failure("cannot start SDL video");
  }
  sigaction(SIGINT, &interrupt, nullptr);
  sigaction(SIGTERM, &terminate, nullptr);
  std::atexit(SDL_Quit);  // no SDL main wrapper shuts SDL down on Linux
}

void open_window() {
  if (!video_shows_a_window() && !waits_are_answered()) {
    std::fprintf(stderr, "%s: SDL's \"%s\" video driver shows no window, so no key could end a wait\n",
                 program_name, video_driver());
    std::exit(1);
  }
  screen = SDL_SetVideoMode(window_width, window_height, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
  if (screen == nullptr) display_failure("cannot open an 800 x 600 x 32 window");
  SDL_WM_SetCaption(program_name, program_name);
  watch_display_connection();
  lock_screen();
}

void open_display(const char* name) {
  init_video(name);
  open_window();
}

Uint32 map_colour(Uint8 red, Uint8 green, Uint8 blue) {
  return SDL_MapRGB(screen->format, red, green, blue);
}

void clear_screen(Uint32 value) {
  unlock_screen();
  SDL_FillRect(screen, nullptr, value);
  lock_screen();
}

// Copies the window's rows (stepped by pitch) to or from `pixels`.
static void copy_rows(Uint32* pixels, bool to_screen) {
  const int width = screen->w < window_width ? screen->w : window_width;
  const int height = screen->h < window_height ? screen->h : window_height;
  for (int y = 0; y < height; ++y) {
    Uint32* row = pixel_address(0, y);
    Uint32* copy = pixels + static_cast<std::ptrdiff_t>(y) * window_width;
    std::memcpy(to_screen ? row : copy, to_screen ? copy : row, width * sizeof(Uint32));
  }
}

void show_picture() {
  copy_rows(shown_picture, false);
  picture_shown = true;
  unlock_screen();
  SDL_Flip(screen);
  lock_screen();
}

// The surface may already hold the start of the next picture (a cleared
// screen, say), so the flipped copy is put up and the surface restored.
void show_picture_again() {
  if (!picture_shown) return;
  copy_rows(set_aside, false);
  copy_rows(shown_picture, true);
  unlock_screen();
  SDL_UpdateRect(screen, 0, 0, 0, 0);
  lock_screen();
  copy_rows(set_aside, true);
}

#ifdef RASTER_CHECK_BOUNDS

void pixel_out_of_bounds(const char* routine, int x, int y) {
  std::fprintf(stderr, "%s: %s(%d, %d) outside the %d x %d surface\n", program_name, routine, x, y,
               screen->w, screen->h);
  std::abort();
}
#endif
