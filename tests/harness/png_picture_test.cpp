// PNG pictures: save_png on surfaces of several depths, read back through
// libpng; and the harness's HARNESS_PICTURE_FORMAT=png against its BMPs.
#include <gtest/gtest.h>
#include <unistd.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "png_picture.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

fs::path scratch_directory() {
  char name[] = "/tmp/png-picture-XXXXXX";
  EXPECT_NE(mkdtemp(name), nullptr);
  return name;
}

bool read_png(const fs::path& path, Picture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return false;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgb.clear();
  for (std::size_t i = 0; i + 2 < bytes.size(); i += 3)
    picture.rgb.push_back(static_cast<std::uint32_t>(bytes[i]) << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  return true;
}

// A 7 x 3 surface whose pixel (x, y) has red 30 x, green 80 y, blue 200;
// an odd width gives 24-bit rows padding at their end.
SDL_Surface* gradient_surface(int bits) {
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 7, 3, bits, 0, 0, 0, 0);
  if (surface == nullptr) return nullptr;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) {
      SDL_Rect pixel{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
      SDL_FillRect(surface, &pixel, SDL_MapRGB(surface->format, 30 * x, 80 * y, 200));
    }
  }
  return surface;
}

TEST(PngPicture, KeepsEveryPixelOfThirtyTwoAndTwentyFourBitSurfaces) {
  ASSERT_EQ(SDL_Init(0), 0);
  const fs::path scratch = scratch_directory();
  for (int bits : {32, 24}) {
    SDL_Surface* surface = gradient_surface(bits);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    if (bits == 24) {
      EXPECT_GT(surface->pitch, surface->w * 3);  // padded rows are read by pitch
    }
    const fs::path path = scratch / ("gradient-" + std::to_string(bits) + ".png");
    char error[256] = "";
    EXPECT_TRUE(save_png(surface, path.c_str(), error, sizeof error)) << error;
    SDL_FreeSurface(surface);

    Picture picture;
    ASSERT_TRUE(read_png(path, picture)) << bits << " bits";
    ASSERT_EQ(picture.width, 7);
    ASSERT_EQ(picture.height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x)
        EXPECT_EQ(picture.at(x, y), static_cast<std::uint32_t>(30 * x << 16 | 80 * y << 8 | 200))
            << bits << " bits, (" << x << ", " << y << ")";
  }
  fs::remove_all(scratch);
}

TEST(PngPicture, ReportsAFileThatCannotBeWritten) {
  SDL_Surface* surface = gradient_surface(32);
  ASSERT_NE(surface, nullptr);
  // The reason is the system's own, and a device written to is left alone.
  const struct {
    const char* path;
    const char* reason;
  } cases[] = {{"/nonexistent-directory/picture.png", "No such file or directory"},
               {"/dev/full", "No space left on device"}};
  for (const auto& c : cases) {
    char error[256] = "";
    EXPECT_FALSE(save_png(surface, c.path, error, sizeof error)) << c.path;
    EXPECT_STREQ(error, c.reason) << c.path;
  }
  EXPECT_EQ(access("/dev/full", W_OK), 0) << "the device was removed";
  SDL_FreeSurface(surface);
}

TEST(PngPicture, HarnessSavesTheSamePicturesAsPngAsAsBmp) {
  const ProgramRun bmp = run_program(HARNESS_DEMO);
  ASSERT_EQ(bmp.pictures.size(), 2u);

  const fs::path scratch = scratch_directory();
  RunOptions options;
  options.environment = {"HARNESS_PICTURE_FORMAT=png", "HARNESS_PICTURES=" + scratch.string()};
  const ProgramRun png = run_program(HARNESS_DEMO, options);
  EXPECT_EQ(png.exit_status, 0) << png.standard_error;
  EXPECT_EQ(png.flips, 2);
  EXPECT_FALSE(fs::exists(scratch / "picture-001.bmp"));
  for (int n = 1; n <= 2; ++n) {
    Picture picture;
    const fs::path path = scratch / ("picture-00" + std::to_string(n) + ".png");
    ASSERT_TRUE(read_png(path, picture)) << path;
    EXPECT_TRUE(same_picture(picture, bmp.pictures[n - 1])) << path;
  }
  EXPECT_FALSE(fs::exists(scratch / "picture-003.png"));
  fs::remove_all(scratch);
}

TEST(PngPicture, HarnessRefusesAnUnknownFormatAndAnUnwritableFolder) {
  RunOptions options;
  options.environment = {"HARNESS_PICTURE_FORMAT=jpeg"};
  const ProgramRun jpeg = run_program(HARNESS_DEMO, options);
  EXPECT_EQ(jpeg.exit_status, 4);
  EXPECT_NE(jpeg.standard_error.find("unknown picture format \"jpeg\""), std::string::npos)
      << jpeg.standard_error;

  options.environment = {"HARNESS_PICTURE_FORMAT=png", "HARNESS_PICTURES=/nonexistent-directory"};
  const ProgramRun unwritable = run_program(HARNESS_DEMO, options);
  EXPECT_EQ(unwritable.exit_status, 4);
  EXPECT_NE(unwritable.standard_error.find("cannot save /nonexistent-directory/picture-001.png"),
            std::string::npos)
      << unwritable.standard_error;
}

}  // namespace
