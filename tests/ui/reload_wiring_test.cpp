// Development mode's wiring of the tweak window's model to the hot reload: a save into the picked
// preset's own file is no outside change, an edit from outside is.
#include <gtest/gtest.h>

#include <chrono>

#include "ui/authoring_wiring.h"
#include "scene/preset_file.h"
#include "support/temp_dir.h"
#include "tweak/param_editing.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

namespace {

class ReloadWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 0; n < 2; ++n) {
      TScene1ParamIArray preset = InitParamTable();
      preset[0].BaseVal = static_cast<float>(10 + n);
      ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), preset), "");
    }
    engine.settings.dataDir = dir.Path();
    engine.host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
    engine.sequence.DemoLength = 60000;
    WatchDataFiles(watch, dir.Path(), engine.scene.PresetCount);
    FillTweakHost(host, engine, true, watch);
    FormCreate(form);
    events = ReloadEventsFor(engine, host, form, {});
    SelectItem(form, TweakList::PresetList, 1);
    SelectItem(form, TweakList::ListBox1, 0);
  }
  void Poll() { PollDataFiles(watch, engine.scene, engine.sequence, engine.SequenceCount, events); }
  void Type(const std::string& text) {
    for (size_t n = 0; n <= text.size(); ++n) TypeText(form, TweakField::BaseVal, text.substr(0, n));
    FinishText(form, TweakField::BaseVal);
  }

  TempDir dir;
  DemoEngine engine;
  DataWatch watch;
  TweakHost host;
  TweakForm form{host};
  ReloadEvents events;
  std::vector<std::string> messages;
};

TEST_F(ReloadWiring, ASaveIntoThePickedFileIsNoChangeOneCtrlZUndoesTheTypedValue) {
  Type("99");
  form.controls.ScenePresetFile.text = "scene1.txt";
  ClickButton(form, TweakButton::Save);
  Poll();
  EXPECT_EQ(form.controls.notice, "") << "our own write is no outside change";
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  UndoChange(form);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11) << "one Ctrl+Z takes back the typed value";
  EXPECT_EQ(form.history.undo.size(), 1u) << "what is left is the pick of scene1";
}

TEST_F(ReloadWiring, AnOutsideEditOfThePickedFileReplacesTheLiveSetWithANotice) {
  TScene1ParamIArray edited = engine.scene.ScenePresets[1];
  edited[0].BaseVal = 123;
  const std::string path = dir / "scene1.txt";
  WriteFile(path, ScenePresetText(edited));
  std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
  Poll();
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 123);
  EXPECT_EQ(form.controls.notice, "scene1.txt changed on disk: reloaded, Ctrl+Z to undo");
  EXPECT_EQ(form.controls.BaseVal.text, "123");
  UndoChange(form);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

}  // namespace
