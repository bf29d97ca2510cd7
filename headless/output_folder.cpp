#include "output_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// STEM-NNN.png.
bool is_numbered_png(const char* name, const char* stem) {
  const char* digits = name + std::strlen(stem);
  if (std::strncmp(name, stem, digits - name) != 0) return false;
  const char* end = digits;
  while (*end >= '0' && *end <= '9') ++end;
  return end > digits && std::strcmp(end, ".png") == 0;
}

// frame-NNN.png, as the headless runner names a frame.
bool is_frame_name(const char* name) { return is_numbered_png(name, "frame-"); }

// A file of an export made before frames had their name (picture-NNN.png):
// removed with the others, so no earlier frame stays beside the new ones.
bool is_earlier_frame_name(const char* name) { return is_numbered_png(name, "picture-"); }

// Calls `visit` with the name of each entry of `folder`; false when the
// folder cannot be read or a visit fails.
template <typename Visit>
bool visit_entries(int folder, Visit visit) {
  const int own = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* entries = own >= 0 ? fdopendir(own) : nullptr;
  if (entries == nullptr) {
    if (own >= 0) close(own);
    return false;
  }
  bool all = true;
  while (const dirent* entry = readdir(entries)) all = visit(entry->d_name) && all;
  closedir(entries);
  return all;
}

}  // namespace

int open_output_folder(const std::string& path, std::string& error) {
  int refused = 0;  // why a missing part could not be made
  for (std::size_t end = 1; end <= path.size(); ++end) {
    if (end < path.size() && path[end] != '/') continue;
    if (mkdir(path.substr(0, end).c_str(), 0777) != 0 && errno != EEXIST) refused = errno;
  }
  const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    error = "cannot open the folder '" + path + "': " + std::strerror(errno == ENOENT && refused ? refused : errno);
    return -1;
  }
  if (faccessat(folder, ".", W_OK | X_OK, 0) != 0) {
    error = "cannot write into '" + path + "': " + std::strerror(errno);
    close(folder);
    return -1;
  }
  return folder;
}

void hold_folder(int folder, const std::string& shown) {
  if (flock(folder, LOCK_EX | LOCK_NB) == 0) return;
  std::fprintf(stderr, "Another export is writing into %s; waiting for it to end.\n", shown.c_str());
  while (flock(folder, LOCK_EX) != 0 && errno == EINTR) {
  }
}

std::string folder_path(int folder) {
  char self[64], path[PATH_MAX];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", folder);
  const ssize_t length = readlink(self, path, sizeof path);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string(".");
}

int open_program_folder(int output, const std::string& name, const std::string& shown, std::string& error) {
  if (mkdirat(output, name.c_str(), 0777) != 0 && errno != EEXIST) {
    error = "cannot create " + shown + ": " + std::strerror(errno);
    return -1;
  }
  const int folder = openat(output, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    struct stat link;
    if (fstatat(output, name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode))
      error = shown + " is a symbolic link, and the export writes nothing through one (remove it, or choose another --out)";
    else
      error = "cannot open " + shown + ": " + std::strerror(errno);
    return -1;
  }
  std::string cause;
  const bool cleared = visit_entries(folder, [&](const char* entry) {
    if (!is_frame_name(entry) && !is_earlier_frame_name(entry) && std::strcmp(entry, "output.txt") != 0)
      return true;
    if (unlinkat(folder, entry, 0) == 0) return true;
    cause = "cannot remove " + shown + "/" + entry + ": " + std::strerror(errno);
    return false;
  });
  if (cleared) return folder;
  error = cause.empty() ? "cannot read " + shown + ": " + std::strerror(errno) : cause;
  close(folder);
  return -1;
}

int count_frames(int folder) {
  int count = 0;
  visit_entries(folder, [&](const char* entry) {
    count += is_frame_name(entry);
    return true;
  });
  return count;
}
