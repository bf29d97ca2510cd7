// SDL_WaitEvent for the browser, where emscripten's SDL 1.2 has none.
//
// A page cannot block, so while nothing is queued the program sleeps
// (emscripten_sleep hands control back to the browser under ASYNCIFY) and
// looks again. Events come from SDL's own queue and from the page, which
// turns a key press, a click or a tap into one SDL_KEYDOWN; SDL itself is
// kept off the keyboard (Module.doNotCaptureKeyboard) so the page stays
// usable. The page is told when a wait for a key begins and when it ends:
// wait_for_key returns on the key press or quit event handed out here.
#include <SDL.h>
#include <emscripten.h>

#include "page_calls.h"

namespace {

constexpr int poll_milliseconds = 10;
bool waiting_for_key = false;

// The next event, SDL's queue first; false when there is none.
bool take_event(SDL_Event* event) {
  if (SDL_PollEvent(event)) return true;
  if (!page_press_pending()) return false;
  page_take_press();
  *event = SDL_Event{};
  event->key.type = SDL_KEYDOWN;
  event->key.state = SDL_PRESSED;
  event->key.keysym.sym = SDLK_SPACE;
  event->key.keysym.unicode = ' ';
  return true;
}

}  // namespace

extern "C" int SDL_WaitEvent(SDL_Event* event) {
  if (!waiting_for_key) {
    waiting_for_key = true;
    page_wait_begins();
  }
  if (event == nullptr) {  // SDL: only report that an event is ready
    while (!SDL_PollEvent(nullptr) && !page_press_pending()) emscripten_sleep(poll_milliseconds);
    return 1;
  }
  while (!take_event(event)) emscripten_sleep(poll_milliseconds);
  if (event->type == SDL_KEYDOWN || event->type == SDL_QUIT) {
    waiting_for_key = false;
    page_wait_ends();
  }
  return 1;
}
