#include "app/console_load.h"

#include <cstdio>
#include <exception>

#include "scene/preset_file.h"
#include "scene/scene_messages.h"

bool LoadDataFolder(const std::string& dataDir, LoadedDemo& demo) {
  LoadReports reports;
  reports.FatalError = [&](const std::string& where, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), text.c_str());
    ++demo.faults;
  };
  reports.Notice = [](const std::string&, const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  bool readable = true;
  try {
    demo.scene.PresetCount = LoadScenePresets(dataDir + "/scene", demo.scene.ScenePresets, reports);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    readable = false;
  }
  try {
    if (LoadSceneSequence(dataDir + "/sceneseq", demo.sequence, reports) == 0) {
      std::fprintf(stderr, "%s/sceneseq.txt: %s\n", dataDir.c_str(), kMsgNoSequence);
      ++demo.faults;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    readable = false;
  }
  if (readable && demo.scene.PresetCount == 0)
    std::fprintf(stderr, "%s/scene0.txt: %s\n", dataDir.c_str(), kMsgNoPresets);
  if (!readable) return false;
  return demo.faults == 0;
}
