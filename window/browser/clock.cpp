// time() for the browser: the clock the page pinned (the address's clock, or
// the moment the page was opened), so one address always draws the same
// pictures. time_t is 32 bits in WebAssembly: a clock past 2^31 - 1 comes
// back negative, with the same low 32 bits that seed srand natively.
#include <ctime>

#include "page_calls.h"

extern "C" time_t time(time_t* result) {
  const time_t now = page_clock();
  if (result) *result = now;
  return now;
}
