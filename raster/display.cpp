// Opening, clearing and presenting the window surface.
#include "display.h"
#include "pixels.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// With no display to talk to, SDL falls back to its "offscreen" driver (or
// is told to use "dummy"): the window opens, nobody sees it, and the first
// wait for a key never ends. Only the suite's headless runner, which answers
// every wait itself, may run there; it says so by defining this symbol.
static const char* video_driver() {
  static char driver[32];
  if (SDL_VideoDriverName(driver, sizeof driver) == nullptr) driver[0] = '\0';
  return driver;
}

static bool video_shows_nothing() {
  return std::strcmp(video_driver(), "offscreen") == 0 || std::strcmp(video_driver(), "dummy") == 0;
}

static bool waits_are_answered() { return dlsym(RTLD_DEFAULT, "headless_runner_answers_waits") != nullptr; }

// Says why in the user's terms: a driver asked for by name, a display
// named that does not answer (SDL then falls back), or no display at all.
[[noreturn]] static void nothing_to_show_on() {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const char* display = std::getenv("DISPLAY");
  if (asked != nullptr && std::strcmp(asked, video_driver()) == 0)
    std::fprintf(stderr, "%s: SDL's \"%s\" video driver shows no window, so no key could end a wait\n",
                 program_name, asked);
  else if (display != nullptr && *display != '\0')
    std::fprintf(stderr, "%s: cannot open display \"%s\": no X server answers there\n", program_name, display);
  else
    std::fprintf(stderr, "%s: no display: SDL found no screen to show the window on "
                 "(is DISPLAY or WAYLAND_DISPLAY set?)\n", program_name);
  std::exit(1);
}

// A closed descriptor 0, 1 or 2 would be handed to the next file opened,
// the X connection say, and the program's output written into it.
static void open_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF && open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
      std::abort();  // the lowest free descriptor is fd itself; anything else is beyond repair
}

// Output that could not be written (a full disk, a closed pipe) is reported
// once, at the end, after the pictures were shown.
static void check_output_written() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return;
  // The cause of a failure earlier in the run is gone by now.
  std::fprintf(stderr, "%s: cannot write the output: %s\n", program_name,
               errno != 0 ? std::strerror(errno) : "standard output refused a write");
  _exit(1);
}

void init_video(const char* name) {
  program_name = name;
  open_standard_descriptors();
  std::atexit(check_output_written);  // runs after SDL_Quit
  // SDL turns SIGINT and SIGTERM into a quit event, which only ends the
  // current wait; a termination signal should end the program as usual.
  struct sigaction interrupt, terminate;
  sigaction(SIGINT, nullptr, &interrupt);
  sigaction(SIGTERM, nullptr, &terminate);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) display_failure("cannot start SDL video");
  sigaction(SIGINT, &interrupt, nullptr);
  sigaction(SIGTERM, &terminate, nullptr);
  std::atexit(SDL_Quit);  // no SDL main wrapper shuts SDL down on Linux
}

void open_window() {
  if (video_shows_nothing() && !waits_are_answered()) nothing_to_show_on();
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
