// animate_pictures: a program's frames as one animated WebP file.
//
//   animate_pictures OUTPUT.webp FRAME.png...
//
// The PNG files are frames in the order given (the export names them
// frame-001.png onwards, so a sorted glob is the order they were shown);
// how long each stays on screen follows from their number (frame_times.h).
// The output must end in .webp and be none of the frames, so that a
// forgotten output name cannot overwrite the first frame. A usage error
// is one line and status 2; any other failure is one line,
// "animate_pictures: <file>: <reason>", status 1, and leaves no output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "animation_writer.h"
#include "frame_times.h"
#include "rgb_image.h"

namespace {

constexpr const char* usage = "usage: animate_pictures OUTPUT.webp FRAME.png...";

int refuse(const char* what, const std::string& output) {
  std::fprintf(stderr, "animate_pictures: %s '%s' (%s)\n", what, output.c_str(), usage);
  return 2;
}

// Whether `output` already exists as the same file as one of the pictures.
bool is_one_of(const std::string& output, char** pictures, int count) {
  struct stat out;
  if (stat(output.c_str(), &out) != 0) return false;
  struct stat picture;
  for (int i = 0; i < count; ++i)
    if (stat(pictures[i], &picture) == 0 && picture.st_dev == out.st_dev && picture.st_ino == out.st_ino)
      return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "%s\n", usage);
    return 2;
  }
  const std::string output = argv[1];
  if (output.size() <= 5 || output.compare(output.size() - 5, 5, ".webp") != 0)
    return refuse("the output must end in .webp, not", output);
  if (is_one_of(output, argv + 2, argc - 2)) return refuse("the output is also one of the frames:", output);

  std::vector<RgbImage> pictures(static_cast<std::size_t>(argc - 2));
  std::string error;
  for (int i = 2; i < argc; ++i) {
    if (!read_png_rgb(argv[i], pictures[i - 2], error)) {
      std::fprintf(stderr, "animate_pictures: %s: %s\n", argv[i], error.c_str());
      return 1;
    }
    const RgbImage &first = pictures.front(), &picture = pictures[i - 2];
    if (picture.width != first.width || picture.height != first.height) {
      std::fprintf(stderr, "animate_pictures: %s: %d x %d, but %s is %d x %d\n", argv[i], picture.width,
                   picture.height, argv[2], first.width, first.height);
      return 1;
    }
  }
  const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool written = fd >= 0;
  if (!written) error = std::strerror(errno);
  written = written && write_webp_animation(pictures, frame_times_ms(pictures.size()), fd, error);
  if (fd >= 0 && close(fd) != 0 && written) {
    written = false;
    error = std::strerror(errno);
  }
  if (written) return 0;
  std::fprintf(stderr, "animate_pictures: %s: %s\n", output.c_str(), error.c_str());
  // No half-written animation is left; a device or a link is left alone.
  struct stat left;
  if (fd >= 0 && lstat(output.c_str(), &left) == 0 && S_ISREG(left.st_mode)) unlink(output.c_str());
  return 1;
}
