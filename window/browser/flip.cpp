// SDL_Flip for the browser. Emscripten's SDL paints the screen surface into
// its canvas at every SDL_FillRect and unlock; the page gives it a hidden
// canvas, and a flip copies that to the visible one, so a picture shows only
// once it is flipped (four_circle_packing clears the surface while its
// fourth picture is still up). The browser paints only when the program
// yields, so every flip yields until the picture is on the screen: each of
// ring_zoom's stages is seen as it is drawn.
#include <SDL.h>

#include "page_calls.h"

extern "C" int SDL_Flip(SDL_Surface*) {
  page_present();
  return 0;
}
