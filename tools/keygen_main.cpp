// keygen DATA_DIR: writes the demo's automation keys from their recipes as the key lines of
// DATA_DIR/sceneseq.txt, replacing the key lines there; every other line stays as it is.
#include <cstdio>

#include "tools/automation_recipes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: keygen DATA_DIR\n");
    return 2;
  }
  const std::vector<AutomationRecipe>& recipes = DemoAutomationRecipes();
  if (const std::string error = WriteRecipeKeys(argv[1], recipes); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  for (const AutomationRecipe& recipe : recipes)
    std::printf("%s/sceneseq.txt  entry %zu: %s\n", argv[1], recipe.entry, recipe.title);
  return 0;
}
