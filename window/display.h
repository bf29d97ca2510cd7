// The display: one 800 x 600 x 32 window surface per program, its colour
// values, and the steps that open, clear and present it.
//
// A program opens the display with open_display(name) (or init_video(name)
// then open_window() when something must happen in between), maps its
// colours with map_colour in its own order, clears with clear_screen, draws
// through the rasterisers, and shows each finished picture with
// show_picture() before wait_for_key().
//
// With neither SDL_VIDEODRIVER nor a driver asked for, the program uses
// X11 where DISPLAY is set and Wayland where WAYLAND_DISPLAY is. A failure
// to start SDL or to open the window ends the program with one line on
// standard error and exit status 1; so do no display at all, a video
// driver that shows no window (dummy, offscreen, evdev), and, once the
// window is open, a lost X connection or a window destroyed by another
// program. SIGINT and SIGTERM end the program, as they end any other; a
// failed write of its output makes it end with status 1.
#pragma once

#include <SDL.h>

#include "program_failure.h"

constexpr int window_width = 800;
constexpr int window_height = 600;

extern SDL_Surface* screen;  // set once by open_window, owned by SDL

extern Uint32 colour_white;
extern Uint32 colour_black;
extern Uint32 colour_red;
extern Uint32 colour_green;
extern Uint32 colour_blue;
extern Uint32 colour_yellow;

void init_video(const char* name);  // SDL_Init(SDL_INIT_VIDEO)
void open_window();                 // SDL_SetVideoMode(800, 600, 32, HW | DOUBLEBUF)
void open_display(const char* name);  // init_video, then open_window

Uint32 map_colour(Uint8 red, Uint8 green, Uint8 blue);
void clear_screen(Uint32 value);  // SDL_FillRect over the whole surface
void show_picture();              // SDL_Flip(screen), keeping a copy of what it shows
// Puts the picture last shown back on the window (after it was covered or
// minimised), whatever the surface holds now; the surface is left as it is.
void show_picture_again();
