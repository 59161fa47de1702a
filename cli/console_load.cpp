#include "cli/console_load.h"

#include <cstdio>
#include <exception>

#include "engine/envelope_loading.h"
#include "scene/preset_file.h"
#include "scene/printable_text.h"
#include "scene/scene_messages.h"

void PrintReport(const std::string& text) { std::fprintf(stderr, "%s\n", PrintableMessage(text).c_str()); }

bool LoadDataFolder(const std::string& dataDir, LoadedDemo& demo, const std::string& noticePrefix) {
  const auto fault = [&demo](const std::string& text) {
    PrintReport(text);
    ++demo.faults;
  };
  LoadReports reports;
  reports.FatalError = [&](const std::string& where, const std::string& text) { fault(where + ": " + text); };
  const auto notice = [&](const std::string& text) {
    PrintReport(noticePrefix + text);
    ++demo.notices;
  };
  reports.Notice = [&](const std::string&, const std::string& text) { notice(text); };
  reports.ReadError = fault;
  demo.scene.PresetCount = LoadScenePresets(dataDir + "/scene", demo.scene.ScenePresets, reports);
  try {
    if (LoadSceneSequence(dataDir + "/sceneseq", demo.sequence, reports) == 0)
      fault(dataDir + "/sceneseq.txt: " + kMsgNoSequence);
  } catch (const std::exception& error) {
    fault(error.what());
  }
  if (demo.scene.PresetCount == 0) notice(dataDir + "/scene0.txt: " + kMsgNoPresets);
  if (demo.faults == 0 && SequenceFollows(demo.sequence))
    if (const std::string fault = LoadEnvelopes(demo.sequence, dataDir, demo.scene); !fault.empty()) notice(fault);
  return demo.faults == 0;
}
