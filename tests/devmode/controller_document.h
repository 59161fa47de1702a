#pragma once
// A development-mode document over a data folder of two presets and a one-entry sequence, with the tweak
// window's model attached on request: what the controller tests drive.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "devmode/dev_document.h"
#include "development_folder.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

class Controllers : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // the recovery file goes there
    ASSERT_NO_FATAL_FAILURE(WriteTwoPresets(dir));
    WriteOneEntrySequence(dir);
    LoadDevelopmentEngine(engine, dir, messages);
    engine.settings.music = false;
    engine.host.Terminate = [] {};
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
