// The automation recipes: the tracks they put on a sequence, the recipes that do not fit it, the file
// whose key lines alone they rewrite, and the shipped sequence that holds exactly their keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "scene/sequence.h"
#include "support/temp_dir.h"
#include "tools/automation_recipes.h"

namespace {

constexpr int kBgR = 0, kScreenProportionAdjust = 42, kFogDistanceEnd = 68;

// A hand-written sequence: a comment, an old key line, a real written as "300.0" (the writer would
// write "300") and separators of the author's own.
std::string HandWritten(const TempDir& dir) {
  WriteFile(dir / "song.mp3", "x");
  return CrLf({"// my demo", "// key 1 0 0 7 linear", "// bpm: 120", "20000", "length label", "2.35", "music",
               dir / "song.mp3", "entries", "3", "0", "9999", "1", "0", "1", "0.002", "300.0", "~~~ first",
               "4", "10000", "19999", "0.5", "0", "0", "0", "0", "~~~ second"});
}

SceneSequence Load(const std::string& dir) {
  SceneSequence sequence;
  const auto fail = [](const std::string& where, const std::string& text) { ADD_FAILURE() << where << ": " << text; };
  LoadSceneSequence(dir + "/sceneseq", sequence, LoadReports{fail, fail, nullptr});
  return sequence;
}

AutomationRecipe FogRecipe() {
  return {"fog", 1, 4, {{"FogDistanceEnd", {{0, 40, KeyCurve::Step}, {4000, 40, KeyCurve::Ramp}, {9999, 3.5f}}}}};
}

}  // namespace

TEST(AutomationRecipes, PutTracksReplaceEveryTrackOfTheSequence) {
  TempDir dir;
  WriteFile(dir / "sceneseq.txt", HandWritten(dir));
  SceneSequence sequence = Load(dir.Path());
  sequence.SequenceEntries[0].Tracks = {{kBgR, {{0, 7, KeyCurve::Linear}}}};

  ASSERT_EQ(PutRecipeTracks({FogRecipe()}, sequence), "");
  EXPECT_TRUE(sequence.SequenceEntries[0].Tracks.empty());
  const AutomationTracks expected = {
      {kFogDistanceEnd, {{0, 40, KeyCurve::Step}, {4000, 40, KeyCurve::Ramp}, {9999, 3.5f, KeyCurve::Linear}}}};
  EXPECT_EQ(sequence.SequenceEntries[1].Tracks, expected);
}

TEST(AutomationRecipes, RecipeThatDoesNotFitTheSequenceSaysWhy) {
  TempDir dir;
  WriteFile(dir / "sceneseq.txt", HandWritten(dir));
  const SceneSequence loaded = Load(dir.Path());
  const auto fault = [&loaded](AutomationRecipe recipe) {
    SceneSequence sequence = loaded;
    return PutRecipeTracks({recipe}, sequence);
  };
  AutomationRecipe recipe = FogRecipe();
  recipe.entry = 2;
  EXPECT_EQ(fault(recipe), "recipe \"fog\": the sequence has no entry 2");
  recipe = FogRecipe();
  recipe.presetNumber = 3;
  EXPECT_EQ(fault(recipe), "recipe \"fog\": entry 1 shows preset 4, not 3");
  recipe = FogRecipe();
  recipe.tracks[0].name = "FogDistance";
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogDistance: no such parameter");
  recipe = FogRecipe();
  recipe.tracks.push_back(recipe.tracks[0]);
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogDistanceEnd: a second track on entry 1");
  recipe = FogRecipe();
  recipe.tracks[0].keys.clear();
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogDistanceEnd: no keys");
  recipe = FogRecipe();
  recipe.tracks[0].keys[2].timeMs = 3999;
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogDistanceEnd: the key at 3999 ms comes before the one above it");
  recipe = FogRecipe();
  recipe.tracks = {{"FogColorR", {{0, 256}}}};
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogColorR: the key at 0 ms holds 256, out of range");
  recipe = FogRecipe();
  recipe.tracks[0].keys[2].timeMs = 10000;  // the entry lasts 10000 ms, its last one at 9999
  EXPECT_EQ(fault(recipe), "recipe \"fog\": FogDistanceEnd: the key at 10000 ms comes after the end of entry 1");
}

// The header gets the writer's key lines in place of the old ones, the other comments in their order;
// from the demo length on every byte stays, also where the writer would write a number otherwise.
TEST(AutomationRecipes, WritingKeysChangesTheKeyLinesAlone) {
  TempDir dir;
  const std::string before = HandWritten(dir);
  WriteFile(dir / "sceneseq.txt", before);
  AutomationRecipe camera{"camera", 0, 3, {{"ScreenProportionAdjust", {{0, 3, KeyCurve::Smooth}, {9000, 0}}}}};

  ASSERT_EQ(WriteRecipeKeys(dir.Path(), {FogRecipe(), camera}), "");
  const std::string after = ReadFile(dir / "sceneseq.txt");
  const std::string header = CrLf({"// my demo", "// bpm: 120", "// key 0 42 0 3 smooth", "// key 0 42 9000 0 linear",
                                   "// key 1 68 0 40 step", "// key 1 68 4000 40 ramp", "// key 1 68 9999 3.5 linear"});
  const size_t body = before.find("20000\r\n");
  EXPECT_EQ(after, header + before.substr(body));

  const SceneSequence sequence = Load(dir.Path());
  ASSERT_EQ(sequence.SequenceEntries.size(), 2u);
  EXPECT_EQ(sequence.SequenceEntries[0].Tracks[0].Param, kScreenProportionAdjust);
  EXPECT_EQ(sequence.SequenceEntries[1].Tracks[0].Keys.size(), 3u);

  ASSERT_EQ(WriteRecipeKeys(dir.Path(), {}), "");
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), CrLf({"// my demo", "// bpm: 120"}) + before.substr(body));
}

TEST(AutomationRecipes, FaultLeavesTheFileAsItWas) {
  TempDir dir;
  const std::string before = HandWritten(dir);
  WriteFile(dir / "sceneseq.txt", before);
  AutomationRecipe recipe = FogRecipe();
  recipe.presetNumber = 0;
  EXPECT_EQ(WriteRecipeKeys(dir.Path(), {recipe}),
            dir / "sceneseq.txt" + ": recipe \"fog\": entry 1 shows preset 4, not 0");
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), before);

  WriteFile(dir / "sceneseq.txt", before + "x\r\n");  // a trailing line is the start of a broken entry
  EXPECT_NE(WriteRecipeKeys(dir.Path(), {FogRecipe()}).find("sceneseq.txt:28: "), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), before + "x\r\n");
}

// tools/make_data.sh was run after the recipes last changed, and the demo moves in two places at least.
TEST(AutomationRecipes, ShippedSequenceHoldsTheRecipesKeys) {
  const SceneSequence shipped = Load(QUARNEL_DATA_DIR);
  SceneSequence expected = shipped;
  ASSERT_EQ(PutRecipeTracks(DemoAutomationRecipes(), expected), "");
  EXPECT_EQ(shipped, expected);
  EXPECT_GE(std::count_if(shipped.SequenceEntries.begin(), shipped.SequenceEntries.end(),
                          [](const TSceneSeqEntry& entry) { return !entry.Tracks.empty(); }),
            2);
}
