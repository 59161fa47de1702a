#pragma once
// The demo's automation as recipes: the keys an author set on entries of data/sceneseq.txt where a
// one-off move serves the picture. tools/keygen writes them as the file's key lines; every other line of
// the file is written by hand and stays as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/automation.h"
#include "scene/sequence_file.h"

struct RecipeKey {
  uint32_t timeMs;  // from the entry's start
  float value;      // in the parameter's own units
  KeyCurve curve = KeyCurve::Linear;  // towards the next key
};

struct RecipeTrack {
  const char* name;  // the parameter name without its type prefix, as in the tweak window ("FogDistanceEnd")
  std::vector<RecipeKey> keys;
};

struct AutomationRecipe {
  const char* title;
  size_t entry;           // the entry's 0-based index in file order
  uint8_t presetNumber;   // the preset that entry shows: a recipe does not fit an entry that shows another
  std::vector<RecipeTrack> tracks;
};

const std::vector<AutomationRecipe>& DemoAutomationRecipes();

// Replaces every track of the sequence by the recipes'. Returns "" or why a recipe does not fit: no such
// entry, another preset, an unknown parameter, a track twice, keys out of time order, a value outside the
// parameter's range, a key after the entry's end.
[[nodiscard]] std::string PutRecipeTracks(const std::vector<AutomationRecipe>& recipes, SceneSequence& sequence);

// fileText with its header (the comment and key lines before the demo length) as the writer writes it for
// sequence and notes, and every line from the demo length on byte for byte as it was.
std::string WithHeaderOf(std::string_view fileText, const SceneSequence& sequence, const SequenceNotes& notes);

// Rewrites the key lines of dataDir/sceneseq.txt from the recipes, in one safe write, once the new text
// reads back as the very same sequence with the recipes' keys; the file is not touched when it would
// not change. Returns "" or the file and the reason.
[[nodiscard]] std::string WriteRecipeKeys(const std::string& dataDir, const std::vector<AutomationRecipe>& recipes);
