// SDL_WM_SetCaption for the browser: the tab keeps the page's own title
// ("Soddy gasket: inversion in circles"), which emscripten's SDL would
// replace with the program's name.
#include <SDL.h>

extern "C" void SDL_WM_SetCaption(const char*, const char*) {}
