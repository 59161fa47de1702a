#include "tweak/preset_operations.h"

#include <filesystem>

#include "scene/preset_file.h"
#include "scene/text_lines.h"
#include "tweak/param_editing.h"

namespace {

std::string FullName(const TweakForm& form) {
  return form.controls.ScenePresetPath.text + form.controls.ScenePresetFile.text;
}

// Reads the data folder's presets again and shows them in the list, keeping the selected index where
// it still exists. The selection is made by program: no preset is copied into the live set.
void RefreshPresetList(TweakForm& form) {
  ListControl& list = form.controls.PresetList;
  const int remembered = list.selected < 0 ? 0 : list.selected;
  std::vector<TScene1ParamIArray> presets;
  const uint8_t count = LoadScenePresets(form.host.dataDir + "/scene", presets, form.host.reports);
  SceneState& scene = *form.host.scene;
  scene.ScenePresets = std::move(presets);
  scene.PresetCount = count;
  list.items = PresetListItems(count);
  if (count == 0) form.host.ShowMessage(kMsgRefreshFoundNoPresets);
  list.selected = remembered < count ? remembered : -1;
}

}  // namespace

std::vector<std::string> PresetListItems(int count) {
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) items.push_back(kPresetItem + std::to_string(i));
  return items;
}

std::string DataFolderPath(const std::string& dataDir) {
  std::error_code ignored;
  std::filesystem::path path = std::filesystem::absolute(dataDir, ignored).lexically_normal();
  std::string text = path.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

void PresetListChange(TweakForm& form) {
  EnableEditing(form, false);
  ListControl& list = form.controls.PresetList;
  if (list.items.empty()) return;
  if (list.selected < 0) list.selected = 0;
  SceneState& scene = *form.host.scene;
  if (list.selected >= static_cast<int>(scene.ScenePresets.size())) return;
  scene.LiveParams = scene.ScenePresets[list.selected];
  form.savedSet = scene.LiveParams;
  form.controls.ScenePresetFile.text = kPresetItem + std::to_string(list.selected) + kPresetFileExtension;
}

void Button4Click(TweakForm& form) {
  if (!form.OpenDialog1) return;
  const std::optional<std::string> chosen = form.OpenDialog1(kOpenDialogTitle);
  if (!chosen) return;
  const size_t slash = chosen->rfind('/');
  form.controls.ScenePresetFile.text = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
  form.controls.ScenePresetPath.text = slash == std::string::npos ? "" : chosen->substr(0, slash + 1);
}

void saveClick(TweakForm& form) {
  if (form.host.readOnly) {
    form.host.ShowMessage(kMsgInstalledDemoReadOnly);
    return;
  }
  const std::string fullName = FullName(form);
  const std::string error = WriteScenePreset(fullName, form.host.scene->LiveParams);
  if (!error.empty()) {
    form.host.ShowMessage(kMsgSaveError + error);
    return;
  }
  form.savedSet = form.host.scene->LiveParams;
  if (form.host.PresetFileWritten) form.host.PresetFileWritten(fullName);
  if (!form.controls.Scene1PresetRefresh) {
    form.host.ShowMessage(fullName + kMsgSaved);
    return;
  }
  RefreshPresetList(form);
  form.host.ShowMessage(fullName + kMsgSavedAndRefreshed);
}

void openClick(TweakForm& form) {
  const std::string fullName = FullName(form);
  if (!EntryExists(fullName)) {
    form.host.ShowMessage(kMsgFileNotFound);
    return;
  }
  FileError error;
  std::optional<TextLines> lines = TextLines::FromFile(fullName, error);
  if (!lines) {
    form.host.ShowMessage(kMsgLoadError + error.text);
    return;
  }
  TScene1ParamIArray loaded = form.host.scene->LiveParams;
  ReadScenePreset(*lines, loaded);
  form.host.scene->LiveParams = loaded;
  form.savedSet = loaded;
  form.host.ShowMessage(fullName + kMsgLoaded);
}
