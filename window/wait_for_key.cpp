#include "wait_for_key.h"

#include <SDL.h>

#include "display.h"

void wait_for_key() {
  SDL_Event event;
  // An error from SDL_WaitEvent leaves no event to look at; ending the wait
  // there avoids spinning on a stale buffer.
  while (SDL_WaitEvent(&event) == 1) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_QUIT) return;
    const bool restored = event.type == SDL_ACTIVEEVENT && event.active.gain == 1 &&
                          (event.active.state & SDL_APPACTIVE) != 0;
    if (event.type == SDL_VIDEOEXPOSE || restored) show_picture_again();
  }
}
