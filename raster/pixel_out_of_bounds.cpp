// The bounds check's report, written with write(2): the raster core links
// no stdio, and a process about to abort should not rely on buffers.
#include "canvas.h"

#ifdef RASTER_CHECK_BOUNDS

#include <unistd.h>

#include <cstdlib>

namespace {

struct Message {
  char text[160];
  int length = 0;

  void add(const char* s) {
    while (*s != '\0' && length < static_cast<int>(sizeof text)) text[length++] = *s++;
  }
  void add(int value) {
    char digits[12];
    int count = 0;
    // Negated as a 64-bit value: -INT_MIN does not fit an int.
    long long rest = value < 0 ? -static_cast<long long>(value) : value;
    do {
      digits[count++] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    if (value < 0) add("-");
    while (count > 0 && length < static_cast<int>(sizeof text)) text[length++] = digits[--count];
  }
};

}  // namespace

void pixel_out_of_bounds(const char* routine, int x, int y, int width, int height) {
  Message message;
  message.add(routine);
  message.add("(");
  message.add(x);
  message.add(", ");
  message.add(y);
  message.add(") outside the ");
  message.add(width);
  message.add(" x ");
  message.add(height);
  message.add(" canvas\n");
  [[maybe_unused]] const ssize_t written = write(2, message.text, message.length);
  std::abort();
}

#endif
