// texgen OUT_DIR: writes the demo's textures as OUT_DIR/texture0.bmp, texture1.bmp, ... and lists them.
#include <cstdio>
#include <string>

#include "tools/bmp_file.h"
#include "tools/texture_paintings.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: texgen OUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  for (int number = 0; number < TextureRecipeCount(); ++number) {
    const TextureRecipe& recipe = GetTextureRecipe(number);
    const std::string path = dir + "/texture" + std::to_string(number) + ".bmp";
    if (const std::string errorText = WriteBmp(path, recipe.paint(recipe.sizePx)); !errorText.empty()) {
      std::fprintf(stderr, "texgen: %s\n", errorText.c_str());
      return 1;
    }
    std::printf("%s  %dx%d  %s\n", path.c_str(), recipe.sizePx, recipe.sizePx, recipe.look);
  }
  return 0;
}
