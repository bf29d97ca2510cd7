#include "whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

bool begin_whole_file(int folder, const char* name, WholeFile& file) {
  file.fd = openat(folder, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, 0644);
  file.unnamed = file.fd >= 0;
  if (file.fd >= 0) return true;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  file.fd = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  return file.fd >= 0;
}

bool name_whole_file(WholeFile& file, int folder, const char* name) {
  if (!file.unnamed) return true;
  // linkat with AT_EMPTY_PATH needs a capability; the descriptor's entry in
  // /proc does not.
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", file.fd);
  if (linkat(AT_FDCWD, self, folder, name, AT_SYMLINK_FOLLOW) != 0) return false;
  file.unnamed = false;
  return true;
}

void abandon_whole_file(const WholeFile& file, int folder, const char* name) {
  const int saved = errno;
  if (!file.unnamed) unlinkat(folder, name, 0);
  errno = saved;
}
