// Opening, clearing and presenting the window surface.
#include "display.h"

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

// With no display to talk to, SDL falls back to its "offscreen" driver: the
// window opens, nobody sees it, and the first wait for a key never ends.
static bool video_shows_nothing() {
  char driver[32] = "";
  SDL_VideoDriverName(driver, sizeof driver);
  return std::strcmp(driver, "offscreen") == 0;
}

void init_video(const char* name) {
  program_name = name;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) display_failure("cannot start SDL video");
  std::atexit(SDL_Quit);  // no SDL main wrapper shuts SDL down on Linux
}

void open_window() {
  if (video_shows_nothing()) {
    std::fprintf(stderr, "%s: no display: SDL found no screen to show the window on "
                 "(is DISPLAY or WAYLAND_DISPLAY set?)\n", program_name);
    std::exit(1);
  }
  screen = SDL_SetVideoMode(window_width, window_height, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
  if (screen == nullptr) display_failure("cannot open an 800 x 600 x 32 window");
  SDL_WM_SetCaption(program_name, program_name);
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

void show_picture() {
  unlock_screen();
  SDL_Flip(screen);
  lock_screen();
}

#ifdef RASTER_CHECK_BOUNDS
#include "pixels.h"

void pixel_out_of_bounds(const char* routine, int x, int y) {
  std::fprintf(stderr, "%s: %s(%d, %d) outside the %d x %d surface\n", program_name, routine, x, y,
               screen->w, screen->h);
  std::abort();
}
#endif
