#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// A short name that nothing in the folder has: .whole-PID-N.
int open_hidden(int folder, WholeFile& file) {
  for (int n = 0; n < 100; ++n) {
    std::snprintf(file.hidden, sizeof file.hidden, ".whole-%d-%d", static_cast<int>(getpid()), n);
    const int fd = openat(folder, file.hidden, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      if (fd < 0) file.hidden[0] = '\0';
      return fd;
    }
  }
  file.hidden[0] = '\0';
  return -1;
}

// The unnamed file linked under a short hidden name.
bool link_hidden(WholeFile& file, int folder, const char* self) {
  for (int n = 0; n < 100; ++n) {
    std::snprintf(file.hidden, sizeof file.hidden, ".whole-%d-%d", static_cast<int>(getpid()), n);
    if (linkat(AT_FDCWD, self, folder, file.hidden, AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) break;
  }
  file.hidden[0] = '\0';
  return false;
}

}  // namespace

bool begin_whole_file(int folder, const char* name, WholeFile& file, bool replacing) {
  file.replacing = replacing;
  file.hidden[0] = '\0';
  file.fd = openat(folder, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
  file.unnamed = file.fd >= 0;
  if (file.fd >= 0) return true;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  file.fd = replacing ? open_hidden(folder, file)
                      : openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  return file.fd >= 0;
}

bool name_whole_file(WholeFile& file, int folder, const char* name) {
  struct stat existing;
  if (file.replacing && fstatat(folder, name, &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISREG(existing.st_mode) && fchmod(file.fd, existing.st_mode & 07777) != 0)
    return false;
  if (file.unnamed) {
    // linkat with AT_EMPTY_PATH needs a capability; the descriptor's entry
    // in /proc does not.
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", file.fd);
    if (linkat(AT_FDCWD, self, folder, name, AT_SYMLINK_FOLLOW) == 0) {
      file.unnamed = false;
      return true;
    }
    if (errno != EEXIST || !file.replacing || !link_hidden(file, folder, self)) return false;
    file.unnamed = false;
  }
  if (file.hidden[0] == '\0') return true;
  if (renameat(folder, file.hidden, folder, name) != 0) return false;
  file.hidden[0] = '\0';
  return true;
}

void abandon_whole_file(const WholeFile& file, int folder, const char* name) {
  const int saved = errno;
  if (file.hidden[0] != '\0')
    unlinkat(folder, file.hidden, 0);
  else if (!file.unnamed && !file.replacing)
    unlinkat(folder, name, 0);
  errno = saved;
}
