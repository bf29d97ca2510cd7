#include "wait_for_key.h"

#include <SDL.h>

void wait_for_key() {
  SDL_Event event;
  // An error from SDL_WaitEvent leaves no event to look at; ending the wait
  // there avoids spinning on a stale buffer.
  while (SDL_WaitEvent(&event) == 1) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_QUIT) return;
  }
}
