#include <gtest/gtest.h>
#include <sys/stat.h>

#include "scene/preset_file.h"
#include "support/time_bound.h"
#include "tests/tweak/tweak_fixture.h"
#include "tweak/preset_operations.h"

namespace {

using PresetOperations = TweakFixture;

std::string PresetText(float bgR) {
  TScene1ParamIArray preset = InitParamTable();
  preset[0].BaseVal = bgR;
  return ScenePresetText(preset);
}

TEST_F(PresetOperations, PickingAPresetCopiesItAndNamesItsFile) {
  Start(4);
  Select(kSingTweakY);
  Live(kSingTweakY).BaseVal = 42;
  SelectItem(form, TweakList::PresetList, 3);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 3);
  EXPECT_EQ(Live(kSingTweakY).BaseVal, InitParamTable()[kSingTweakY].BaseVal);
  EXPECT_EQ(form.controls.ScenePresetFile.text, "scene3.txt");
  EXPECT_FALSE(form.controls.BaseVal.enabled || form.controls.Osc1.enabled || form.controls.Osc2.enabled);
  EXPECT_FALSE(form.controls.OscFormular.enabled || form.controls.BaseValUpEnabled || form.controls.BaseValDownEnabled);
  Select(kSingTweakY);
  EXPECT_TRUE(form.controls.BaseVal.enabled);
}

TEST_F(PresetOperations, SearchSplitsTheChosenFileAtItsLastSlash) {
  Start();
  std::string title;
  form.OpenFileDialog = [&](const std::string& t) -> std::optional<std::string> {
    title = t;
    return "/work/data/scene7.txt";
  };
  ClickButton(form, TweakButton::Search);
  EXPECT_EQ(title, "open/save path and file");
  EXPECT_EQ(form.controls.ScenePresetPath.text, "/work/data/");
  EXPECT_EQ(form.controls.ScenePresetFile.text, "scene7.txt");

  form.OpenFileDialog = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  ClickButton(form, TweakButton::Search);
  EXPECT_EQ(form.controls.ScenePresetFile.text, "scene7.txt");  // cancelled: nothing changes
}

TEST_F(PresetOperations, SaveWritesPathAndFileJoinedAsTheyStand) {
  Start(2);
  form.controls.RefreshAfterSave = false;
  Live(kByteBG_r).BaseVal = 77;
  std::filesystem::create_directories(dir / "other");
  form.controls.ScenePresetPath.text = dir / "other";  // no trailing slash: not corrected
  ClickButton(form, TweakButton::Save);
  const std::string joined = (dir / "other") + "scene0.txt";
  EXPECT_EQ(TakeMessages(), "") << "a save reports in the notice line, not in a box";
  EXPECT_EQ(form.controls.notice, "otherscene0.txt saved!");
  EXPECT_EQ(ReadFile(joined), PresetText(77));
}

TEST_F(PresetOperations, SaveWithRefreshReloadsTheDataFolder) {
  Start(2);
  SelectItem(form, TweakList::PresetList, 1);
  Live(kByteBG_r).BaseVal = 99;
  form.controls.ScenePresetFile.text = "scene2.txt";  // the next of the series
  ClickButton(form, TweakButton::Save);
  const std::string fullName = (dir / "data") + "/scene2.txt";
  EXPECT_EQ(ReadFile(fullName), PresetText(99));
  EXPECT_EQ(form.controls.notice, "scene2.txt saved and preset list refreshed!");
  EXPECT_EQ(scene.PresetCount, 3);
  EXPECT_EQ(scene.ScenePresets[2][kByteBG_r].BaseVal, 99);
  EXPECT_EQ(form.controls.PresetList.items.size(), 3u);
  EXPECT_EQ(form.controls.PresetList.selected, 1);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 99);  // the program's selection copies nothing
}

TEST_F(PresetOperations, RefreshDropsASelectionThatNoLongerExists) {
  Start(5);
  SelectItem(form, TweakList::PresetList, 4);
  std::filesystem::remove(dir / "data/scene3.txt");  // scene4 is hidden behind the gap
  form.controls.ScenePresetFile.text = "scene0.txt";
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(scene.PresetCount, 3);
  EXPECT_EQ(form.controls.PresetList.items.size(), 3u);
  EXPECT_EQ(form.controls.PresetList.selected, -1);
}

TEST_F(PresetOperations, RefreshThatFindsNoPresetSaysSo) {
  Start(1);
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "elsewhere.txt";
  std::filesystem::remove(dir / "data/scene0.txt");
  const TScene1ParamIArray live = scene.LiveParams;
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(TakeMessages(), "Loading Error: no scene1 presets found! Using default settings");
  EXPECT_EQ(form.controls.notice, "elsewhere.txt saved and preset list refreshed!");
  EXPECT_TRUE(form.controls.PresetList.items.empty());
  EXPECT_EQ(scene.PresetCount, 0);
  EXPECT_EQ(scene.LiveParams[0].BaseVal, live[0].BaseVal);
}

TEST_F(PresetOperations, RefreshOfABrokenPresetKeepsTheLoadedOnes) {
  Start(3);
  WriteFile(dir / "data/scene1.txt", "// broken\r\nbyte:BG_r\r\nlots\r\n");
  form.controls.ScenePresetFile.text = "scene2.txt";
  Live(kByteBG_r).BaseVal = 50;
  ClickButton(form, TweakButton::Save);
  EXPECT_NE(TakeMessages().find("is not a valid number"), std::string::npos);
  EXPECT_EQ(scene.PresetCount, 3);
  ASSERT_EQ(scene.ScenePresets.size(), 3u);
  EXPECT_EQ(scene.ScenePresets[1][kByteBG_r].BaseVal, 1);
  EXPECT_EQ(scene.ScenePresets[2][kByteBG_r].BaseVal, 2);  // the list shows what was loaded before
  EXPECT_EQ(form.controls.PresetList.items.size(), 3u);
  EXPECT_EQ(ReadFile(dir / "data/scene2.txt"), PresetText(50));  // the save itself went through
}

TEST_F(PresetOperations, FailedSaveNamesTheFileAndTheReason) {
  Start(2);
  form.controls.ScenePresetPath.text = dir / "missing/";
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(TakeMessages(), "Save Error: " + dir / "missing/scene0.txt" + ": No such file or directory");
}

TEST_F(PresetOperations, LoadReadsTheFileIntoTheLiveSet) {
  Start(1);
  std::string text = PresetText(12);
  text.replace(text.find("byte:BG_g"), 9, "byte:Green");
  WriteFile(dir / "mine.txt", text);
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "mine.txt";
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(TakeMessages(), (dir / "mine.txt") + " loaded!");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 12);
  EXPECT_EQ(Live(kByteBG_g).Name.Text(), "byte:Green");
  EXPECT_EQ(form.controls.ParamList.items[1], "001 byte:BG_g");  // the list keeps its labels
  EXPECT_EQ(scene.ScenePresets[0][kByteBG_r].BaseVal, 0);        // loaded presets untouched
}

TEST_F(PresetOperations, LoadOfAMissingFileChangesNothing) {
  Start(1);
  form.controls.ScenePresetFile.text = "nothing.txt";
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(TakeMessages(), " Load Error: File not found");
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "data";  // a folder: exists, cannot be read
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(TakeMessages(), "Load Error: " + dir / "data: a folder, not a regular file");
}

TEST_F(PresetOperations, LoadOfAFifoOrADeviceSaysSoWithoutWaiting) {
  Start(1);
  ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "zero.txt");
  form.controls.ScenePresetPath.text = dir / "";
  for (const std::string name : {"fifo.txt", "zero.txt"}) {
    form.controls.ScenePresetFile.text = name;
    EXPECT_EQ(RunWithinBound([&] {
                ClickButton(form, TweakButton::Load);
                return TakeMessages() == "Load Error: " + dir / name +
                                             (name == "fifo.txt" ? ": a FIFO (named pipe), not a regular file"
                                                                 : ": a device, not a regular file")
                           ? 0
                           : 1;
              }),
              0)
        << name;
  }
}

TEST_F(PresetOperations, LoadThatFailsHalfwayLeavesTheLiveSetExactlyAsItWas) {
  Start(1);
  std::string text = PresetText(12);
  const size_t cut = text.find("sing:SpriteStrechX");
  WriteFile(dir / "half.txt", text.substr(0, cut) + "sing:SpriteStrechX\r\nforty\r\n");
  Live(kByteBG_r).BaseVal = 33;
  const TScene1ParamIArray before = scene.LiveParams;
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "half.txt";
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(TakeMessages(), (dir / "half.txt") + ":124: 'forty' is not a valid number");
  for (int i = 0; i < kParamCount; ++i) {
    EXPECT_EQ(scene.LiveParams[i].BaseVal, before[i].BaseVal) << i;
    EXPECT_EQ(scene.LiveParams[i].Name, before[i].Name) << i;
  }
}

TEST_F(PresetOperations, SavedPresetLoadsBackUnchanged) {
  Start(1);
  form.controls.RefreshAfterSave = false;
  Live(kSingTweakY).BaseVal = -4.25f;
  Live(kSingTweakY).OscForm = 5;
  Live(kSingTweakY).Osc1 = 0.003f;
  const TScene1ParamIArray saved = scene.LiveParams;
  ClickButton(form, TweakButton::Save);
  scene.LiveParams = InitParamTable();
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(TakeMessages(), (dir / "data") + "/scene0.txt loaded!");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, -4.25f);
  EXPECT_EQ(Live(kSingTweakY).OscForm, 5);
  EXPECT_EQ(Live(kSingTweakY).Osc1, 0.003f);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, saved[kByteBG_r].BaseVal);
}

TEST_F(PresetOperations, SaveOverAnotherPresetsFileAsksFirstAndNoKeepsIt) {
  Start(3);
  std::vector<std::string> questions;
  bool answer = false;
  host.Confirm = [&](const std::string& question, const std::string& yes) {
    questions.push_back(question + "|" + yes);
    return answer;
  };
  EXPECT_EQ(form.controls.ScenePresetFile.text, "scene0.txt") << "the file the live set came from";
  Live(kByteBG_r).BaseVal = 50;
  ClickButton(form, TweakButton::Save);
  EXPECT_TRUE(questions.empty()) << "its own file: no question";
  EXPECT_EQ(ReadFile(dir / "data/scene0.txt"), PresetText(50));
  TakeMessages();

  Live(kByteBG_r).BaseVal = 51;
  form.controls.ScenePresetFile.text = "scene2.txt";
  const std::string other = (dir / "data") + "/scene2.txt";
  ClickButton(form, TweakButton::Save);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], other + " exists: overwrite it with the live set?\n(the live set came from " +
                              (dir / "data") + "/scene0.txt)|overwrite");
  EXPECT_EQ(ReadFile(other), PresetText(2)) << "no: the file stays";
  EXPECT_TRUE(LiveSetUnsaved(form));
  EXPECT_EQ(TakeMessages(), "");
  answer = true;
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(ReadFile(other), PresetText(51));
  EXPECT_FALSE(LiveSetUnsaved(form));
  Live(kByteBG_r).BaseVal = 52;
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(questions.size(), 2u) << "scene2.txt is the live set's file now";
  EXPECT_EQ(ReadFile(other), PresetText(52));
}

TEST_F(PresetOperations, SaveAsNewWritesTheNextFreeNumberPicksItAndTheInfoFollows) {
  Start(3);
  Live(kByteBG_r).BaseVal = 77;
  ClickButton(form, TweakButton::SaveAsNew);
  const std::string created = (dir / "data") + "/scene3.txt";
  EXPECT_EQ(ReadFile(created), PresetText(77));
  EXPECT_EQ(form.controls.notice, "scene3.txt saved and preset list refreshed!");
  EXPECT_EQ(scene.PresetCount, 4);
  EXPECT_EQ(form.controls.PresetList.items.size(), 4u);
  EXPECT_EQ(form.controls.PresetList.selected, 3);
  EXPECT_EQ(form.controls.ScenePresetFile.text, "scene3.txt");
  EXPECT_NE(form.controls.info.find("scene1presets[0..3]"), std::string::npos) << form.controls.info;
  EXPECT_FALSE(LiveSetUnsaved(form));
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 77) << "the live set stays as it is";
}

}  // namespace

TEST_F(PresetOperations, OnTheInstalledDemoDevelopmentModeSaysItIsReadOnlyAndSavesNothing) {
  host.readOnly = true;
  Start(2);
  EXPECT_EQ(TakeMessages(), kMsgInstalledDemoReadOnly);
  const std::string preset = (dir / "data") + "/scene1.txt";
  const std::string before = ReadFile(preset);
  Live(kByteBG_r).BaseVal = 200;
  ClickButton(form, TweakButton::Save);
  EXPECT_EQ(TakeMessages(), kMsgInstalledDemoReadOnly);
  EXPECT_EQ(ReadFile(preset), before);
  ClickButton(form, TweakButton::SaveAsNew);
  EXPECT_EQ(TakeMessages(), kMsgInstalledDemoReadOnly);
  EXPECT_FALSE(std::filesystem::exists((dir / "data") + "/scene2.txt"));
  EXPECT_EQ(scene.PresetCount, 2);
}
