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
  const fs::path folder = scratch_folder("png-picture");
  EXPECT_FALSE(folder.empty());
  return folder;
}

// `palette` gets the number of the file's colour-map entries, 0 when it
// holds RGB pixels.
bool read_png(const fs::path& path, Picture& picture, int* palette = nullptr) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  if (palette) *palette = image.format & PNG_FORMAT_FLAG_COLORMAP ? static_cast<int>(image.colormap_entries) : 0;
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

// Pixel i (in row order) gets colour i % colours, each colour's red, green
// and blue apart so that mixed-up channels show.
std::uint32_t colour_number(int c) {
  return static_cast<std::uint32_t>((c & 0xFF) << 16 | (255 - (c & 0xFF)) << 8 | (200 + (c >> 8)));
}

SDL_Surface* numbered_surface(int bits, int width, int height, int colours) {
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, bits, 0, 0, 0, 0);
  if (surface == nullptr) return nullptr;
  for (int i = 0; i < width * height; ++i) {
    SDL_Rect pixel{static_cast<Sint16>(i % width), static_cast<Sint16>(i / width), 1, 1};
    const std::uint32_t rgb = colour_number(i % colours);
    SDL_FillRect(surface, &pixel, SDL_MapRGB(surface->format, rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF));
  }
  return surface;
}

// Up to 256 colours a picture is saved indexed, beyond as RGB; exact either way.
TEST(PngPicture, KeepsEveryPixelIndexedUpTo256ColoursAndAsRgbBeyond) {
  ASSERT_EQ(SDL_Init(0), 0);
  const struct {
    int bits, width, height, colours;
    bool indexed;
  } rows[] = {
      {32, 7, 3, 21, true},
      {24, 7, 3, 21, true},  // odd widths pad 24-bit rows: read by pitch
      {32, 16, 17, 256, true},
      {32, 16, 17, 257, false},
      {24, 21, 20, 400, false},
  };
  const fs::path scratch = scratch_directory();
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.bits << " bits, " << row.colours << " colours");
    SDL_Surface* surface = numbered_surface(row.bits, row.width, row.height, row.colours);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    if (row.bits == 24) {
      EXPECT_GT(surface->pitch, surface->w * 3);
    }
    const fs::path path = scratch / "numbered.png";
    char error[256] = "";
    EXPECT_TRUE(save_png(surface, path.c_str(), error, sizeof error)) << error;
    SDL_FreeSurface(surface);

    Picture picture;
    int palette = -1;
    ASSERT_TRUE(read_png(path, picture, &palette));
    EXPECT_EQ(palette, row.indexed ? row.colours : 0);
    ASSERT_EQ(picture.width, row.width);
    ASSERT_EQ(picture.height, row.height);
    for (int i = 0; i < row.width * row.height; ++i)
      ASSERT_EQ(picture.rgb[i], colour_number(i % row.colours)) << "pixel " << i;
  }
  fs::remove_all(scratch);
}

TEST(PngPicture, ReportsAFileThatCannotBeWritten) {
  SDL_Surface* surface = numbered_surface(32, 7, 3, 21);
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

TEST(PngPicture, HarnessSavesTheSameFramesAsPngAsAsBmp) {
  const ProgramRun bmp = run_program(HARNESS_DEMO);
  ASSERT_EQ(bmp.pictures.size(), 2u);

  const fs::path scratch = scratch_directory();
  RunOptions options;
  options.environment = {"HARNESS_PICTURE_FORMAT=png", "HARNESS_PICTURES=" + scratch.string()};
  const ProgramRun png = run_program(HARNESS_DEMO, options);
  EXPECT_EQ(png.exit_status, 0) << png.standard_error;
  EXPECT_EQ(png.flips, 2);
  EXPECT_FALSE(fs::exists(scratch / "frame-001.bmp"));
  for (int n = 1; n <= 2; ++n) {
    Picture picture;
    const fs::path path = scratch / ("frame-00" + std::to_string(n) + ".png");
    ASSERT_TRUE(read_png(path, picture)) << path;
    EXPECT_TRUE(same_picture(picture, bmp.pictures[n - 1])) << path;
  }
  EXPECT_FALSE(fs::exists(scratch / "frame-003.png"));
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
  EXPECT_NE(unwritable.standard_error.find("cannot save /nonexistent-directory/frame-001.png"),
            std::string::npos)
      << unwritable.standard_error;
}

}  // namespace
