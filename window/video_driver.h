// Which SDL video driver a program runs on, and whether anyone sees it.
//
// Left to choose, SDL tries every driver it has: Wayland's library prints a
// complaint of its own where there is no Wayland, and with no display at all
// SDL settles on one that shows nothing. So choose_video_driver() picks X11
// where DISPLAY is set and Wayland where only WAYLAND_DISPLAY is, unless the
// user named a driver in SDL_VIDEODRIVER (it then returns false); with no
// display at all it ends the program with one line.
//
// video_shows_a_window(), after SDL_Init: X11 and Wayland (and classic SDL's
// DGA) show the window; drivers that draw on the whole screen show it only
// to a user at a Linux console; any other (dummy, offscreen, SDL 2's evdev)
// opens a window nobody sees, whose first wait would never end.
#pragma once

bool choose_video_driver();
bool video_shows_a_window();
const char* video_driver();  // SDL's name for it, "" before SDL_Init

// The display choose_video_driver() chose does not answer: one line saying
// which and why (no server, or only no such screen), and exit status 1.
[[noreturn]] void chosen_display_unreachable();
