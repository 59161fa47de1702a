#pragma once
// A development-mode document over a data folder of two presets and a one-entry sequence, with the tweak
// window's model attached on request: what the controller tests drive.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "devmode/dev_document.h"
#include "scene/preset_file.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

class Controllers : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // the recovery file goes there
    for (int n = 0; n < 2; ++n) {
      TScene1ParamIArray preset = InitParamTable();
      preset[0].BaseVal = 10.0f + n;
      ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), preset), "");
    }
    WriteFile(dir / "song.mp3", "mp3");
    WriteFile(dir / "sceneseq.txt", CrLf({"// seq", "60000", "ratio", "2.35", "mp3", dir / "song.mp3", "entries", "0",
                                          "0", "59999", "1", "0", "0", "0", "0", "~~~"}));
    engine.settings.dataDir = dir.Path();
    engine.settings.developmentMode = true;
    engine.settings.music = false;
    engine.host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    engine.host.Terminate = [] {};
    engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
    engine.SequenceCount = LoadSceneSequence(dir / "sceneseq", engine.sequence, {});
  }
  // The tweak window attached: controllers.txt (as it is now) read.
  void Attach() {
    ConnectDocument(document);
    FillDocumentTweakHost(document, true);
    SetUpTweakForm(tweak);
    SelectItem(tweak, TweakList::PresetList, 0);
    AttachTweak(document, tweak);
  }
  void Feed(std::vector<uint8_t> bytes) { FeedControllers(document, bytes); }
  void WriteOutside(const std::string& text) {
    WriteFile(file, text);
    std::filesystem::last_write_time(file,
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++writes));
  }
  float Base(int index) { return engine.scene.LiveParams[index].BaseVal; }

  TempDir dir;
  std::string file = dir / "controllers.txt";
  DemoEngine engine;
  DevDocument document{engine};
  TweakForm tweak{document.tweakHost};
  std::vector<std::string> messages;
  int writes = 0;
};
