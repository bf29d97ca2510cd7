// Standard output through a stream that remembers why a write failed.
#include "standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "program_failure.h"

namespace {

// errno of the first write that failed; the program goes on showing its
// pictures, so by the end the cause is long gone from errno itself.
int output_failure = 0;

// A closed descriptor would be handed to the next file opened, the X
// connection say. The stand-in is opened for reading only, so a write to a
// closed standard output still fails, with the system's own reason (EBADF).
void open_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF && open("/dev/null", O_RDONLY) != fd)
      std::abort();  // the lowest free descriptor is fd itself; anything else is beyond repair
}

#ifndef __EMSCRIPTEN__
// Returns what was written; 0 on failure, as fopencookie asks.
ssize_t write_output(void*, const char* bytes, size_t size) {
  size_t written = 0;
  while (written < size) {
    const ssize_t n = write(1, bytes + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (output_failure == 0) output_failure = n < 0 ? errno : EIO;
      break;
    }
    written += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(written);
}

// glibc lets stdout be assigned; the programs' printf and fflush then go
// through write_output.
void route_standard_output() {
  cookie_io_functions_t calls{};
  calls.write = write_output;
  FILE* stream = fopencookie(nullptr, "w", calls);
  if (stream == nullptr) return;  // the plain stream still reports that a write failed
  if (isatty(1)) setvbuf(stream, nullptr, _IOLBF, BUFSIZ);
  stdout = stream;
}
#endif

void check_output_written() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && output_failure == 0) return;
  std::fprintf(stderr, "%s: cannot write the output: %s\n", program_name,
               output_failure != 0 ? std::strerror(output_failure) : "standard output refused a write");
  _exit(1);
}

}  // namespace

void watch_standard_streams() {
  open_standard_descriptors();
#ifndef __EMSCRIPTEN__
  route_standard_output();
#endif
  std::atexit(check_output_written);
}

void flush_standard_output() { std::fflush(stdout); }
