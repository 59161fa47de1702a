#include "tweak/preset_operations.h"

#include <filesystem>
#include <stdexcept>

#include "scene/preset_file.h"
#include "scene/text_lines.h"
#include "tweak/live_set_state.h"
#include "tweak/param_editing.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

namespace {

std::string FullName(const TweakForm& form) {
  return form.controls.ScenePresetPath.text + form.controls.ScenePresetFile.text;
}

// Reads the data folder's presets again and shows them in the list, keeping the selected index where
// it still exists. The selection is made by program: no preset is copied into the live set. A preset
// that breaks its format changes nothing: its text is returned ("" when all was read), and nothing the
// loader finds after it is reported.
[[nodiscard]] std::string RefreshPresetList(TweakForm& form) {
  ListControl& list = form.controls.PresetList;
  const int remembered = list.selected < 0 ? 0 : list.selected;
  std::string readError;
  LoadReports reports;
  reports.FatalError = [&](const std::string& where, const std::string& text) {
    if (readError.empty()) form.host.reports.FatalError(where, text);
  };
  reports.Notice = [&](const std::string& where, const std::string& text) {
    if (readError.empty()) form.host.reports.Notice(where, text);
  };
  reports.ReadError = [&readError](const std::string& text) {
    if (readError.empty()) readError = text;
  };
  std::vector<TScene1ParamIArray> presets;
  const uint8_t count = LoadScenePresets(form.host.dataDir + "/scene", presets, reports);
  if (!readError.empty()) return readError;
  SceneState& scene = *form.host.scene;
  scene.ScenePresets = std::move(presets);
  scene.PresetCount = count;
  list.items = PresetListItems(count);
  if (count == 0) form.host.ShowMessage(kMsgRefreshFoundNoPresets);
  list.selected = remembered < count ? remembered : -1;
  UpdateInfo(form);
  return "";
}

// The live set now is what the file at fullName holds.
void SetSavedAs(TweakForm& form, const std::string& fullName) {
  SetLiveSetFile(form, fullName, form.host.scene->LiveParams);
}

// Whether writing fullName may go ahead: a file other than the live set's own is overwritten only
// when the user says so.
bool MayOverwrite(TweakForm& form, const std::string& fullName) {
  if (fullName == form.savedSetFile || !EntryExists(fullName) || !form.host.Confirm) return true;
  std::string question = fullName + kAskOverwrite;
  if (!form.savedSetFile.empty()) question += kAskOverwriteCameFrom + form.savedSetFile + ")";
  return form.host.Confirm(question, kAnswerOverwrite);
}

// Writes the live set to fullName; false (with the message shown) when it failed.
bool WriteLiveSet(TweakForm& form, const std::string& fullName) {
  const std::string error = WriteScenePreset(fullName, form.host.scene->LiveParams);
  if (!error.empty()) {
    form.host.ShowMessage(kMsgSaveError + error);
    return false;
  }
  SetSavedAs(form, fullName);
  if (form.host.PresetFileWritten) form.host.PresetFileWritten(fullName);
  return true;
}

// The name of the file at fullName, without its folder.
std::string FileNameOf(const std::string& fullName) { return fullName.substr(fullName.rfind('/') + 1); }

// On the installed demo: says that nothing is saved there, and true.
bool RefusedOnInstalledDemo(TweakForm& form) {
  if (form.host.readOnly) form.host.ShowMessage(kMsgInstalledDemoReadOnly);
  return form.host.readOnly;
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

bool MayReplaceLiveSet(TweakForm& form) {
  if (!LiveSetUnsaved(form) || !form.host.Ask) return true;
  std::string question = kAskReplaceUnsaved;
  if (!form.savedSetFile.empty()) question += kAskReplaceUnsavedFrom + FileNameOf(form.savedSetFile) + ")";
  const std::optional<size_t> answer =
      form.host.Ask(question + kAskReplaceUnsavedSave, {kAnswerSave, kAnswerDiscard, kAnswerCancel});
  if (answer == std::optional<size_t>(0)) {
    SaveClick(form);
    return !LiveSetUnsaved(form);
  }
  return answer == std::optional<size_t>(1);
}

void PresetListChange(TweakForm& form) {
  ShowNoParam(form);
  ListControl& list = form.controls.PresetList;
  if (list.items.empty()) return;
  if (list.selected < 0) list.selected = 0;
  SceneState& scene = *form.host.scene;
  if (list.selected >= static_cast<int>(scene.ScenePresets.size())) return;
  scene.LiveParams = scene.ScenePresets[list.selected];
  form.controls.ScenePresetFile.text = PresetFileName(list.selected);
  SetSavedAs(form, DataFolderPath(form.host.dataDir) + form.controls.ScenePresetFile.text);
}

void SearchClick(TweakForm& form) {
  if (!form.OpenFileDialog) return;
  const std::optional<std::string> chosen = form.OpenFileDialog(kOpenDialogTitle);
  if (!chosen) return;
  const size_t slash = chosen->rfind('/');
  form.controls.ScenePresetFile.text = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
  form.controls.ScenePresetPath.text = slash == std::string::npos ? "" : chosen->substr(0, slash + 1);
}

void SaveClick(TweakForm& form) {
  if (RefusedOnInstalledDemo(form)) return;
  const std::string fullName = FullName(form);
  if (!MayOverwrite(form, fullName) || !WriteLiveSet(form, fullName)) return;
  if (!form.controls.RefreshAfterSave) {
    form.controls.notice = FileNameOf(fullName) + kMsgSaved;
    return;
  }
  if (const std::string fault = RefreshPresetList(form); !fault.empty()) return form.host.ShowMessage(fault);
  form.controls.notice = FileNameOf(fullName) + kMsgSavedAndRefreshed;
}

void SaveAsNewClick(TweakForm& form) {
  if (RefusedOnInstalledDemo(form)) return;
  int number = 0;
  while (number < kMaxPresets && EntryExists(PresetFilePath(form.host.dataDir, number))) ++number;
  if (number == kMaxPresets) {
    form.host.ShowMessage(kMsgNoFreePresetNumber);
    return;
  }
  const std::string file = PresetFileName(number);
  const std::string fullName = DataFolderPath(form.host.dataDir) + file;
  if (!WriteLiveSet(form, fullName)) return;
  form.controls.ScenePresetPath.text = DataFolderPath(form.host.dataDir);
  form.controls.ScenePresetFile.text = file;
  if (const std::string fault = RefreshPresetList(form); !fault.empty()) return form.host.ShowMessage(fault);
  if (number < form.host.scene->PresetCount) form.controls.PresetList.selected = number;
  form.controls.notice = file + kMsgSavedAndRefreshed;
}

void LoadClick(TweakForm& form) {
  const std::string fullName = FullName(form);
  if (!EntryExists(fullName)) {
    form.host.ShowMessage(kMsgFileNotFound);
    return;
  }
  if (!MayReplaceLiveSet(form)) return;
  std::optional<TextLines> lines;
  const std::string readError = TextLines::FromFile(fullName, lines);
  if (!readError.empty()) {
    form.host.ShowMessage(kMsgLoadError + readError);
    return;
  }
  TScene1ParamIArray loaded = form.host.scene->LiveParams;
  try {
    ReadScenePreset(*lines, loaded);
  } catch (const std::runtime_error& error) {  // the reader's ConversionError or RangeError
    form.host.ShowMessage(error.what());
    return;
  }
  form.host.scene->LiveParams = loaded;
  SetSavedAs(form, fullName);
  form.host.ShowMessage(fullName + kMsgLoaded);
}
