// Opening, clearing and presenting the window surface.
#include "display.h"
#include "display_connection.h"
#include "standard_streams.h"
#include "video_driver.h"

#include <dlfcn.h>

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SDL_Surface* screen = nullptr;

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

// The last picture shown, as flipped, and room to set the surface aside
// while it is shown again; fixed, so a wait never allocates.
static Uint32 shown_picture[window_width * window_height];
static Uint32 set_aside[window_width * window_height];
static bool picture_shown = false;

// Only the suite's headless runner, which answers every wait itself, may
// run on a driver that shows nothing; it says so by defining this symbol.
static bool waits_are_answered() { return dlsym(RTLD_DEFAULT, "headless_runner_answers_waits") != nullptr; }

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
    if (chosen) chosen_display_unreachable();
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

static Uint32* row_address(int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) +
                                   static_cast<std::ptrdiff_t>(y) * screen->pitch);
}

// Copies the window's rows (stepped by pitch) to or from `pixels`.
static void copy_rows(Uint32* pixels, bool to_screen) {
  const int width = screen->w < window_width ? screen->w : window_width;
  const int height = screen->h < window_height ? screen->h : window_height;
  for (int y = 0; y < height; ++y) {
    Uint32* row = row_address(y);
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
