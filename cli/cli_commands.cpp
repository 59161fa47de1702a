#include "cli/cli_commands.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/data_check.h"
#include "scene/mp3_location.h"
#include "scene/printable_text.h"
#include "scene/param_table.h"
#include "scene/preset_file.h"

namespace {

// One line per parameter; a value whose base came from a track of the entry ends in kTrackedMark, one
// that follows the soundtrack in kFollowedMark.
void PrintBlock(const TScene1ParamIArray& params, const TFrameParamBlock& block, const AutomationTracks& tracks,
                const ParamFollows& follows) {
  for (int i = 0; i < kParamCount; ++i) {
    const std::string name(ShortName(params[i].Name));
    const AutomationTrack* track = FindTrack(tracks, i);
    const bool followed =
        std::any_of(follows.begin(), follows.end(), [i](const ParamFollow& follow) { return follow.Param == i; });
    const std::string mark =
        std::string(track && !track->Keys.empty() ? kTrackedMark : "") + (followed ? kFollowedMark : "");
    if (BlockFieldIsFloat(i)) std::printf("%s=%.9g%s\n", name.c_str(), BlockFieldValue(block, i), mark.c_str());
    else std::printf("%s=%.0f%s\n", name.c_str(), BlockFieldValue(block, i), mark.c_str());
  }
}

}  // namespace

int RunCheck(const std::string& dataDir) {
  LoadedDemo demo;
  const bool loaded = LoadDataFolder(dataDir, demo, kCheckWarningPrefix);
  CheckCounts counts;
  counts.warnings = demo.notices;
  const int textureCount = CheckTextures(dataDir, counts);
  const SceneSequence& sequence = demo.sequence;
  const std::string mp3Path = FindMp3File(sequence.Mp3FileName, dataDir);
  std::error_code ignored;
  if (std::filesystem::is_regular_file(mp3Path, ignored)) CheckMusic(mp3Path, sequence.DemoLength, counts);
  CheckEvaluation(dataDir, demo, counts);
  CheckLikelyMistakes(dataDir, demo, textureCount, counts);
  if (!loaded || counts.errors > 0) {
    std::printf("%s\n", PrintableMessage(dataDir + kCheckFailedText).c_str());
    return 1;
  }
  if (counts.undecided > 0) {
    std::printf("%s\n", PrintableMessage(dataDir + kCheckUndecidedEndText).c_str());
    return kCheckUndecidedStatus;
  }
  std::printf("presets: %d\nentries: %zu\ndemo length: %u ms\nratio: %g\nmp3: %s\ntextures: %d\nwarnings: %d\n%s\n",
              demo.scene.PresetCount, sequence.SequenceEntries.size(), sequence.DemoLength,
              sequence.ScreenCinemaWidthRatio, PrintableMessage(mp3Path).c_str(), textureCount, counts.warnings,
              PrintableMessage(dataDir + kCheckPassedText).c_str());
  return 0;
}

int RunPrintFrame(uint32_t demoTimeMs, const std::string& dataDir, bool developmentMode) {
  LoadedDemo demo;
  if (!LoadDataFolder(dataDir, demo)) return 1;
  if (demoTimeMs > demo.sequence.DemoLength) {
    PrintReport(PastEndText("--print-frame", demoTimeMs, demo.sequence.DemoLength));
    return 1;
  }
  SceneState& scene = demo.scene;
  int entryNumber = 0, presetNumber = 0;  // what is evaluated, for a fault's message
  try {
    if (developmentMode) {
      // As the tweak window opens: preset 0 copied into the live set, then evaluated as it stands.
      if (scene.PresetCount > 0) scene.LiveParams = scene.ScenePresets[0];
      const uint32_t fxTimeMs = demoTimeMs / 2;
      const TFrameParamBlock block = UpdateSceneParams(scene, 0, 0, demo.sequence.DemoLength, fxTimeMs, true);
      std::printf("entry 0 preset 0 visible 1 fxtime %u\n", fxTimeMs);
      PrintBlock(scene.LiveParams, block, {}, {});
      return 0;
    }
    for (const TSceneSeqEntry& entry : demo.sequence.SequenceEntries) {
      presetNumber = entry.PresetNumber;
      const uint32_t fxTimeMs = EntryEffectTime(entry, demoTimeMs);
      const TFrameParamBlock block = UpdateSceneParams(scene, entry.PresetNumber, entry.StartTime, entry.EndTime,
                                                       fxTimeMs, false, EntryTracksAt(entry, demoTimeMs));
      std::printf("entry %d preset %d visible %d fxtime %u\n", entryNumber, entry.PresetNumber,
                  EntryVisible(entry, demoTimeMs), fxTimeMs);
      PrintBlock(scene.LiveParams, block, entry.Tracks, entry.Follows);
      ++entryNumber;
    }
  } catch (const std::exception& error) {
    PrintReport(PrintFrameFaultText(demoTimeMs, entryNumber, presetNumber, PresetFilePath(dataDir, presetNumber)) +
                error.what());
    return 1;
  }
  return 0;
}
