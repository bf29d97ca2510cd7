#include "program_failure.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

const char* program_name = "inversion";

void display_failure(const char* what) {
  const char* reason = SDL_GetError();
  std::fprintf(stderr, "%s: %s: %s\n", program_name, what, *reason ? reason : "SDL gives no reason");
  std::exit(1);
}
