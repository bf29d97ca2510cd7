// A private X server for the real-window tests, and what a person does to a
// window on it: look at it, press a key, ask to close it.
//
// start_x_server runs Xvfb on a display number that is free at that moment
// (it tries the next one when another server takes it first), so tests can
// run side by side and on machines without any display.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>

#include "run_program.h"

struct XServer {
  pid_t pid = 0;
  int number = -1;             // the display ":number"
  Display* display = nullptr;  // the test's own connection
};

// Starts Xvfb with one 1024 x 768 x 24 screen; false with `error` set when
// no display could be had.
bool start_x_server(XServer& server, std::string& error);
void stop_x_server(XServer& server);

// The top-level window whose title is `title`, or 0.
Window find_window(Display* display, const std::string& title);

// The window's pixels as 0xRRGGBB; false when it cannot be read.
bool grab_window(Display* display, Window window, Picture& picture);

// Gives the window the keyboard focus and presses and releases the space
// bar through the XTEST extension, as a keyboard would.
void press_key(Display* display, Window window);

// Sends WM_DELETE_WINDOW the way a window manager asks a window to close.
void request_close(Display* display, Window window);
