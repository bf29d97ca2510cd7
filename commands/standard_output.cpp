#include "standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void guard_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF && open("/dev/null", O_RDONLY) != fd)
      std::abort();  // the lowest free descriptor is fd itself; anything else is beyond repair
}

bool standard_output_written(const char* who, const std::string& lost) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int cause = errno;
  if (flushed && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "%s: cannot write to standard output: %s\n", who,
               cause != 0 ? std::strerror(cause) : "it refused a write");
  if (!lost.empty()) std::fprintf(stderr, "%s\n", lost.c_str());
  return false;
}
