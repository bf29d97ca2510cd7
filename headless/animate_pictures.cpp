// animate_pictures: a program's pictures as one animated WebP file.
//
//   animate_pictures OUTPUT.webp PICTURE.png...
//
// The PNG files are frames in the order given (the export names them
// picture-001.png onwards, so a sorted glob is the order they were shown);
// how long each stays on screen follows from their number (frame_times.h).
// Failures are one line, "animate_pictures: <file>: <reason>", status 1.
#include <cstdio>
#include <string>
#include <vector>

#include "animation_writer.h"
#include "frame_times.h"
#include "rgb_image.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: animate_pictures OUTPUT.webp PICTURE.png...\n");
    return 2;
  }
  const std::string output = argv[1];
  std::vector<RgbImage> pictures(static_cast<std::size_t>(argc - 2));
  std::string error;
  for (int i = 2; i < argc; ++i) {
    if (!read_png_rgb(argv[i], pictures[i - 2], error)) {
      std::fprintf(stderr, "animate_pictures: %s: %s\n", argv[i], error.c_str());
      return 1;
    }
  }
  if (!write_webp_animation(pictures, frame_times_ms(pictures.size()), output, error)) {
    std::fprintf(stderr, "animate_pictures: %s: %s\n", output.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
