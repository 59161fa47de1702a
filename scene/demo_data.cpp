#include "scene/demo_data.h"

#include "scene/preset_file.h"

uint8_t LoadDemoData(const std::string& dataDir, SceneState& scene, SceneSequence& sequence,
                     const LoadReports& reports) {
  scene.PresetCount = LoadScenePresets(dataDir + "/scene", scene.ScenePresets, reports);
  return LoadSceneSequence(dataDir + "/sceneseq", sequence, reports);
}
