#include "tweak/tweak_setup.h"

#include <algorithm>
#include <cstdint>

#include "scene/param_eval.h"
#include "scene/preset_file.h"
#include "tweak/live_set_state.h"
#include "tweak/param_editing.h"
#include "tweak/preset_operations.h"

std::string InfoText(int textureCount, int presetCount, int sequenceCount, uint32_t demoLengthMs) {
  return kInfoTextures + std::to_string(textureCount - 1) + kInfoListEnd + "\n" +  //
         kInfoPresets + std::to_string(presetCount - 1) + kInfoListEnd + "\n" +    //
         kInfoSequence + std::to_string(sequenceCount - 1) + kInfoSequenceEnd + "\n" + kInfoLength +
         std::to_string(demoLengthMs) + kInfoLengthUnit;
}

std::string LoopInfoLine(std::optional<uint32_t> loopInMs, std::optional<uint32_t> loopOutMs) {
  if (!loopInMs && !loopOutMs) return {};
  const auto point = [](std::optional<uint32_t> ms) { return ms ? std::to_string(*ms) : std::string(kInfoLoopUnset); };
  std::string line = kInfoLoop + point(loopInMs) + kInfoLoopTo + point(loopOutMs) + kInfoLengthUnit;
  if (loopInMs && loopOutMs && *loopInMs >= *loopOutMs) line += kInfoLoopOff;
  return line;
}

void UpdateInfo(TweakForm& form) {
  const TweakHost& host = form.host;
  form.controls.info = InfoText(host.TextureCount, host.scene->PresetCount, host.SequenceCount, host.DemoLength);
  if (!form.loopInfo.empty()) form.controls.info += "\n" + form.loopInfo;
}

void SequenceChanged(TweakForm& form) {
  UpdateInfo(form);
  ScrollBar& bar = form.controls.TimeScale;
  bar.maximum = static_cast<int>(std::min<uint32_t>(form.host.DemoLength, INT32_MAX));
  bar.position = std::min(bar.position, bar.maximum);
}

void SetUpTweakForm(TweakForm& form) {
  TweakHost& host = form.host;
  TweakControls& c = form.controls;
  c.ScenePresetPath.text = DataFolderPath(host.dataDir);  // design state: the program's data folder
  if (!host.developmentMode) return;
  c.visible = true;
  c.caption = kCaptionRunning;
  SceneState& scene = *host.scene;
  for (int i = 0; i < kParamCount; ++i) c.ParamList.items.push_back(ParamListItem(i, scene.LiveParams[i].Name));
  c.OscFormular.items.assign(std::begin(kOscFormTexts), std::end(kOscFormTexts));
  c.OscFormular.selected = 0;
  c.info = InfoText(host.TextureCount, scene.PresetCount, host.SequenceCount, host.DemoLength);
  c.PresetList.items = PresetListItems(scene.PresetCount);
  SetLiveSetFile(form, "", scene.LiveParams);
  if (scene.PresetCount > 0 && !scene.ScenePresets.empty()) {
    scene.LiveParams = scene.ScenePresets[0];
    c.PresetList.selected = 0;
    c.ScenePresetFile.text = PresetFileName(0);  // where the live set came from
    SetLiveSetFile(form, c.ScenePresetPath.text + c.ScenePresetFile.text, scene.LiveParams);
  }
  c.TimeScale.maximum = static_cast<int>(std::min<uint32_t>(host.DemoLength, INT32_MAX));
  if (host.readOnly && host.ShowMessage) host.ShowMessage(kMsgInstalledDemoReadOnly);
}

void HideOrQuitKey(TweakForm& form, int keyCode) {
  if (keyCode == kKeyEscape) form.controls.visible = false;
  if (keyCode == kKeyF10 && form.host.ShutdownDemo) form.host.ShutdownDemo();
}

void QuitClick(TweakForm& form) {
  if (form.host.ShutdownDemo) form.host.ShutdownDemo();
}
