#pragma once
// The demo's scene presets as recipes: the built-in defaults, optionally a press of the tweak window's
// "rand" with a fixed seed, then the values an author settled on. tools/presetgen turns them into
// data/sceneN.txt, so the presets can be regenerated and reviewed as text.
#include <cstdint>
#include <vector>

#include "scene/param_table.h"

// One parameter as the author set it: base value and oscillator (form 0..6, x in radians per ms, y).
struct RecipeValue {
  const char* name;  // the parameter name without its type prefix, as in the tweak window ("BG_r")
  float base;
  uint8_t oscForm = 0;
  float osc1 = 0, osc2 = 0;
};

struct SceneRecipe {
  const char* title;
  uint32_t randSeed = 0;    // 0: no "rand"; otherwise "rand" with this seed and possibility
  int randPossibility = 0;  // percent, 1..99
  std::vector<RecipeValue> values;
};

const std::vector<SceneRecipe>& DemoSceneRecipes();

// The preset a recipe describes.
TScene1ParamIArray BuildPreset(const SceneRecipe& recipe);
