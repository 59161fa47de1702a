#pragma once
// A tweak window model on a scene with a data folder of its own, messages collected instead of shown.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/preset_file.h"
#include "support/temp_dir.h"
#include "tweak/param_editing.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

class TweakFixture : public ::testing::Test {
 protected:
  // Writes presetCount presets into the data folder (preset N has BG_r = N) and loads them.
  void Start(int presetCount = 3, bool developmentMode = true) {
    const std::string data = dir / "data";
    std::filesystem::create_directories(data);
    for (int n = 0; n < presetCount; ++n) {
      TScene1ParamIArray preset = InitParamTable();
      preset[0].BaseVal = static_cast<float>(n);
      EXPECT_EQ(WriteScenePreset(data + "/scene" + std::to_string(n) + ".txt", preset), "");
    }
    scene.PresetCount = LoadScenePresets(data + "/scene", scene.ScenePresets, {});
    host.scene = &scene;
    host.clock = &clock;
    host.developmentMode = developmentMode;
    host.TextureCount = 9;
    host.SequenceCount = 4;
    host.DemoLength = 60000;
    host.dataDir = data;
    host.ShutdownDemo = [this] { ++shutdowns; };
    host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    SetUpTweakForm(form);
  }

  TScene1ParamInterface& Live(int index) { return scene.LiveParams[index]; }
  void Select(int index) { SelectItem(form, TweakList::ParamList, index); }
  // Types text into a field one character at a time, as a user does, then finishes it with Enter.
  void TypeAndFinish(TweakField field, const std::string& text) {
    for (size_t n = 0; n <= text.size(); ++n) TypeText(form, field, text.substr(0, n));
    FinishText(form, field);
  }
  // Puts a whole text into a field at once (pasted), then finishes it.
  void PasteAndFinish(TweakField field, const std::string& text) {
    TypeText(form, field, text);
    FinishText(form, field);
  }
  std::string TakeMessages() {
    std::string all;
    for (const std::string& m : messages) all += (all.empty() ? "" : "|") + m;
    messages.clear();
    return all;
  }

  TempDir dir;
  SceneState scene;
  DemoClock clock;
  TweakHost host;
  TweakForm form{host};
  std::vector<std::string> messages;
  int shutdowns = 0;
};

// Parameter indices of each type, used across the tests.
inline constexpr int kByteBG_r = 0;
inline constexpr int kByteBG_g = 1;    // oscillating by default
inline constexpr int kSingTweakX = 4;  // oscillating by default
inline constexpr int kSingTweakY = 5;
inline constexpr int kBoolClearTarget = 7;
inline constexpr int kWordRingObjects = 12;
