// presetgen DATA_DIR: writes the demo's scene presets DATA_DIR/scene0.txt, scene1.txt, ... from their
// recipes, replacing the files of those numbers.
#include <cstdio>
#include <exception>
#include <string>

#include "scene/preset_file.h"
#include "tools/scene_recipes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: presetgen DATA_DIR\n");
    return 2;
  }
  const std::vector<SceneRecipe>& recipes = DemoSceneRecipes();
  try {
    for (size_t n = 0; n < recipes.size(); ++n) {
      const std::string path = PresetFilePath(argv[1], n);
      if (const std::string error = WriteScenePreset(path, BuildPreset(recipes[n])); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
      }
      std::printf("%s  %s\n", path.c_str(), recipes[n].title);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
