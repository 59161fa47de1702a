// Textures as the demo's loader sees them: decoded by stb_image from the written BMP bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tools/bmp_file.h"
#include "tools/texture_paintings.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

struct Decoded {
  int widthPx = 0, heightPx = 0;
  std::vector<uint8_t> rgb;  // top-down, 3 bytes per pixel
};

Decoded Decode(const std::vector<uint8_t>& file) {
  Decoded decoded;
  int channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &decoded.widthPx,
                                          &decoded.heightPx, &channels, 3);
  if (pixels) {
    decoded.rgb.assign(pixels, pixels + decoded.widthPx * decoded.heightPx * 3);
    stbi_image_free(pixels);
  }
  return decoded;
}

bool IsBlack(const uint8_t* texel) { return texel[0] == 0 && texel[1] == 0 && texel[2] == 0; }

}  // namespace

// An odd width needs row padding; distinct values per pixel and channel catch flipped rows, swapped
// channels and misplaced padding.
TEST(BmpFile, ReadsBackWithSizeOrientationAndColours) {
  Image image = MakeImage(5, 3);
  for (size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = static_cast<uint8_t>(i * 7 + 1);
  const std::vector<uint8_t> file = EncodeBmp(image);
  EXPECT_EQ(file.size(), 54u + 3u * 16u);  // 5 pixels = 15 bytes, padded to 16 per row
  EXPECT_EQ(file[28], 24);                 // bits per pixel

  const Decoded decoded = Decode(file);
  ASSERT_EQ(decoded.widthPx, 5) << stbi_failure_reason();
  ASSERT_EQ(decoded.heightPx, 3);
  EXPECT_EQ(decoded.rgb, image.rgb);
}

TEST(BmpFile, UnwritablePathGivesMessage) {
  EXPECT_EQ(WriteBmp("/nonexistent-dir/texture0.bmp", MakeImage(2, 2)),
            "/nonexistent-dir/texture0.bmp: No such file or directory");
}

// Every texture decodes at a power-of-two size and keeps its promise about see-through (pure black)
// texels: none in opaque ones, a black border on glows, and some black in the others. The set is also
// written to QUARNEL_TEST_OUT for a look.
TEST(TextureSet, DecodesAndKeepsItsSeeThroughPromise) {
  const char* outDir = std::getenv("QUARNEL_TEST_OUT");
  if (outDir) std::filesystem::create_directories(outDir);
  ASSERT_GE(TextureRecipeCount(), 9);  // the randomizer draws texture numbers 0..8
  for (int number = 0; number < TextureRecipeCount(); ++number) {
    SCOPED_TRACE("texture" + std::to_string(number));
    const TextureRecipe& recipe = GetTextureRecipe(number);
    const Image image = recipe.paint(recipe.sizePx);
    if (outDir) {
      EXPECT_EQ(WriteBmp(std::string(outDir) + "/texture" + std::to_string(number) + ".bmp", image), "");
    }
    const Decoded decoded = Decode(EncodeBmp(image));
    ASSERT_EQ(decoded.widthPx, recipe.sizePx);
    ASSERT_EQ(decoded.heightPx, recipe.sizePx);
    EXPECT_EQ(recipe.sizePx & (recipe.sizePx - 1), 0);

    const int size = recipe.sizePx;
    int blackTexels = 0, blackBorderTexels = 0, colourfulTexels = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const uint8_t* texel = &decoded.rgb[(static_cast<size_t>(y) * size + x) * 3];
        const bool onBorder = x == 0 || y == 0 || x == size - 1 || y == size - 1;
        blackTexels += IsBlack(texel);
        blackBorderTexels += onBorder && IsBlack(texel);
        colourfulTexels += std::max({texel[0], texel[1], texel[2]}) > 128;
      }
    }
    EXPECT_GT(colourfulTexels, size * size / 200) << "mostly dark";
    switch (recipe.backdrop) {
      case Backdrop::opaque: EXPECT_EQ(blackTexels, 0); break;
      case Backdrop::clearBorder: EXPECT_EQ(blackBorderTexels, 4 * size - 4); break;
      case Backdrop::partlySeeThrough:
        EXPECT_GT(blackTexels, size * size / 10);
        EXPECT_LT(blackTexels, size * size * 9 / 10);
        break;
    }
  }
}
