#include "tweak/live_set_state.h"

LiveSetState TakeLiveSet(const TweakForm& form) {
  if (form.heldLiveSet) return *form.heldLiveSet;
  const TweakControls& c = form.controls;
  return {form.host.scene->LiveParams,
          {form.savedSetFile, c.ScenePresetPath.text, c.ScenePresetFile.text, c.PresetList.selected}};
}

void PutLiveSet(TweakForm& form, const LiveSetState& state) {
  TweakControls& c = form.controls;
  form.host.scene->LiveParams = state.params;
  c.ScenePresetPath.text = state.source.folderText;
  c.ScenePresetFile.text = state.source.fileText;
  c.PresetList.selected = state.source.picked < static_cast<int>(c.PresetList.items.size()) ? state.source.picked : -1;
  form.savedSetFile = state.source.savedFile;
  const auto known = form.knownFiles.find(form.savedSetFile);
  if (known != form.knownFiles.end()) form.savedSet = known->second;
}

void NoteFileContent(TweakForm& form, const std::string& fullName, const TScene1ParamIArray& content) {
  form.knownFiles[fullName] = content;
  if (fullName == form.savedSetFile) form.savedSet = content;
}

void SetLiveSetFile(TweakForm& form, const std::string& fullName, const TScene1ParamIArray& content) {
  form.savedSetFile = fullName;
  NoteFileContent(form, fullName, content);
}
