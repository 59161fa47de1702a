#include "cli/data_check.h"

#include <memory>

#include "engine/engine_messages.h"
#include "cli/cli_messages.h"
#include "audio/mp3_decoder.h"
#include "audio/music_messages.h"
#include "draw/device_setup.h"
#include "gpu/recording_device.h"
#include "draw/draw_messages.h"
#include "draw/render_state.h"
#include "draw/textures.h"
#include "scene/errors.h"
#include "scene/file_read.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"
#include "scene/scene_messages.h"

namespace {

// Evaluations of one parameter over all demo times of its entries before the check settles for the
// oscillator's peak instead of the first failing time (a demo of many hours).
constexpr uint64_t kScanBudget = 200'000'000;

void Error(CheckCounts& counts, const std::string& text) {
  PrintReport(text);
  ++counts.errors;
}

void Warning(CheckCounts& counts, const std::string& text) {
  PrintReport(kCheckWarningPrefix + text);
  ++counts.warnings;
}

// The preset an entry plays: preset 0 for a number that is not loaded.
int PlayedPreset(const TSceneSeqEntry& entry, const LoadedDemo& demo) {
  return entry.PresetNumber < demo.scene.PresetCount ? entry.PresetNumber : 0;
}

// Reports the first demo time at which an entry that plays the preset fails on param.
void ReportFirstFailure(const std::string& path, const TScene1ParamInterface& param, int index, const LoadedDemo& demo,
                        int presetNumber, CheckCounts& counts) {
  const std::vector<TSceneSeqEntry>& entries = demo.sequence.SequenceEntries;
  const uint64_t times = uint64_t(demo.sequence.DemoLength) + 1;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (PlayedPreset(entries[k], demo) != presetNumber) continue;
    for (uint64_t d = 0; d < times; ++d) {
      const uint32_t fxTimeMs = EntryEffectTime(entries[k], uint32_t(d));
      try {
        EvaluateParam(param, index, fxTimeMs);
      } catch (const RangeError& error) {
        Error(counts, path + ": " + error.what() + kCheckEntryText + std::to_string(k) + kCheckDemoTimeText +
                          std::to_string(d) + kCheckEffectTimeText + std::to_string(fxTimeMs) + kCheckTimeEnd);
        return;
      }
    }
  }
}

void CheckPreset(const std::string& dataDir, const LoadedDemo& demo, int number, CheckCounts& counts) {
  const std::string path = PresetFilePath(dataDir, number);
  const TScene1ParamIArray& preset = demo.scene.ScenePresets[number];
  uint64_t users = 0;
  for (const TSceneSeqEntry& entry : demo.sequence.SequenceEntries) users += PlayedPreset(entry, demo) == number;
  for (int i = 0; i < kParamCount; ++i) {
    TScene1ParamInterface still = preset[i];
    still.OscForm = 0;
    try {
      EvaluateParam(still, i, 0);  // the base value alone: fails at every time
    } catch (const RangeError& error) {
      Error(counts, path + ": " + error.what());
      continue;
    }
    if (EvaluationType(i) == ParamType::Sing || !OscillationMayLeave32Bits(preset[i]) || users == 0) continue;
    if (users * (uint64_t(demo.sequence.DemoLength) + 1) > kScanBudget)
      Error(counts, path + ": " + OscOutOfRangeText(preset[i]) + kCheckOscillatorPeakText);
    else
      ReportFirstFailure(path, preset[i], i, demo, number, counts);
  }
}

// Numbered files base + N + extension after the first missing number, up to the last number the
// loaders would look at.
void WarnAfterGap(const std::string& base, const std::string& extension, int loaded, int maxFiles,
                  CheckCounts& counts) {
  for (int n = loaded + 1; n < maxFiles; ++n) {
    const std::string path = base + std::to_string(n) + extension;
    if (!EntryExists(path)) continue;
    Warning(counts, path + kCheckAfterGapText + base + std::to_string(loaded) + extension);
    return;
  }
}

}  // namespace

int CheckTextures(const std::string& dataDir, CheckCounts& counts) {
  RenderState state;
  state.callbacks.fatalError = [&counts](const std::string& text) { Error(counts, text); };
  state.d3d = CreateRecordingDirect3D8(std::make_shared<Recording>());
  DeviceChoice choice;
  choice.windowed = true;
  const std::string deviceError = CreateRenderDevice(state, choice);
  int loaded = 0;
  if (!deviceError.empty()) {
    Error(counts, kDeviceInitPrefix + deviceError);
  } else {
    loaded = LoadTextures(state, dataDir + "/texture");
    if (loaded == 0) Error(counts, dataDir + "/texture0.bmp: " + kNoTexturesText);
  }
  ReleaseRenderObjects(state);
  return loaded;
}

void CheckMusic(const std::string& mp3FileName, CheckCounts& counts) {
  Mp3Decoder decoder;
  if (!OpenMp3(decoder, mp3FileName))
    Error(counts, kSoundInitFailedPrefix + StreamCreationFailedText(mp3FileName));
  else if (DecodeMp3Frames(decoder, kMp3RateHz) == 0)
    Error(counts, mp3FileName + kCheckMp3SilentText);
  CloseMp3(decoder);
}

void CheckEvaluation(const std::string& dataDir, const LoadedDemo& demo, CheckCounts& counts) {
  for (int n = 0; n < demo.scene.PresetCount; ++n) CheckPreset(dataDir, demo, n, counts);
}

void CheckLikelyMistakes(const std::string& dataDir, const LoadedDemo& demo, int textureCount, CheckCounts& counts) {
  const std::string sequencePath = dataDir + "/sceneseq.txt";
  const std::vector<TSceneSeqEntry>& entries = demo.sequence.SequenceEntries;
  for (size_t k = 0; k < entries.size(); ++k) {
    const std::string entry = sequencePath + ": " + kCheckEntryName + std::to_string(k);
    if (entries[k].PresetNumber >= demo.scene.PresetCount && demo.scene.PresetCount > 0)
      Warning(counts, entry + kCheckNoSuchPresetText + std::to_string(entries[k].PresetNumber) +
                          kCheckNoSuchPresetEnd);
    if (entries[k].StartTime > entries[k].EndTime)
      Warning(counts, entry + kCheckStartAfterEndText + std::to_string(entries[k].StartTime) + " > " +
                          std::to_string(entries[k].EndTime) + kCheckStartAfterEndEnd);
    if (entries[k].EndTime >= demo.sequence.DemoLength)
      Warning(counts, entry + kCheckEndsAfterDemoText + std::to_string(entries[k].EndTime) + kCheckEndsAfterDemoLength +
                          std::to_string(demo.sequence.DemoLength) + kCheckEndsAfterDemoEnd);
  }
  WarnAfterGap(dataDir + "/scene", ".txt", demo.scene.PresetCount, kMaxPresets, counts);
  WarnAfterGap(dataDir + "/texture", ".bmp", textureCount, int(kTextureTableSize), counts);
}
