// The program's connection to an X server, in the user's terms.
//
// Xlib's own answer to a lost connection (the server ended, the client
// killed) is a fatal-error message and exit(), whose atexit(SDL_Quit) then
// talks to the dead connection; to a request the server refuses (the
// window destroyed by another client) a six-line dump. Once the window is
// open, watch_display_connection() replaces both with one line on standard
// error and _exit(1). Xlib is whatever SDL loaded (SDL 2 loads it at run
// time, so the handlers are looked up in the library already in the
// process); with no Xlib loaded, there is nothing to watch.
#pragma once

void watch_display_connection();

// Whether `display` names a screen (":1.5") of an X server that answers
// without it: "cannot open :1.5" then means a missing screen, not server.
bool only_the_screen_is_missing(const char* display);
