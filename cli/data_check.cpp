#include "cli/data_check.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

#include "engine/engine_messages.h"
#include "cli/cli_messages.h"
#include "audio/mp3_scan.h"
#include "audio/music_messages.h"
#include "draw/device_setup.h"
#include "gpu/null_device.h"
#include "draw/draw_messages.h"
#include "draw/render_state.h"
#include "draw/textures.h"
#include "scene/errors.h"
#include "scene/failure_search.h"
#include "scene/file_read.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"
#include "scene/printable_text.h"
#include "scene/scene_messages.h"

namespace {

// Bounds and evaluations of all oscillators together: enough to settle any oscillator whose failing
// times stand out from its safe ones, in about a second.
constexpr uint64_t kTotalSearchBudget = 20'000'000;

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

// The entry's track of parameter index; nullptr when it has none with keys.
const AutomationTrack* KeyedTrack(const TSceneSeqEntry& entry, int index) {
  const AutomationTrack* track = FindTrack(entry.Tracks, index);
  return track && !track->Keys.empty() ? track : nullptr;
}

// Where the entry takes parameter index's base value from: its keyed track, its follow through the
// loaded envelopes (none loaded: they count as 0, as in the frames).
BaseSource BaseOf(const TSceneSeqEntry& entry, int index, const LoadedDemo& demo) {
  static const SoundEnvelopes noEnvelopes;
  BaseSource base{KeyedTrack(entry, index)};
  for (const ParamFollow& follow : entry.Follows)
    if (follow.Param == index) base.follow = &follow;
  if (base.follow) base.envelopes = demo.scene.Envelopes ? demo.scene.Envelopes.get() : &noEnvelopes;
  return base;
}

// Whether param may round outside the signed 32-bit range with its base value from `base`: a tracked
// base value lies between the track's lowest and highest key, a followed one within its key range.
bool MayLeave32Bits(const TScene1ParamInterface& param, const BaseSource& base) {
  if (!base.track && !base.follow) return OscillationMayLeave32Bits(param);
  TScene1ParamInterface lowest = param, highest = param;
  if (base.follow) {
    const KeyRange range = ParamKeyRange(base.follow->Param);
    lowest.BaseVal = float(range.minimum);
    highest.BaseVal = float(range.maximum);
  } else {
    const auto [low, high] = std::minmax_element(base.track->Keys.begin(), base.track->Keys.end(),
                                                 [](const auto& a, const auto& b) { return a.Value < b.Value; });
    lowest.BaseVal = low->Value;
    highest.BaseVal = high->Value;
  }
  return OscillationMayLeave32Bits(lowest) || OscillationMayLeave32Bits(highest);
}

// A parameter whose oscillator may leave the signed 32-bit range, in a preset some entry plays.
struct ScanTask {
  int preset, index;
};

// Searches every entry that plays the task's preset for the first demo time at which param fails, with
// an equal share of what is left of the budget for each entry still to search; reports the earliest
// failure, or else the first entry the search could not settle.
void SearchFailures(const std::string& path, const TScene1ParamInterface& param, const ScanTask& task,
                    const LoadedDemo& demo, uint64_t& budget, uint64_t& searchesLeft, CheckCounts& counts) {
  const std::vector<TSceneSeqEntry>& entries = demo.sequence.SequenceEntries;
  std::optional<FailureSearch> failure, undecided;
  size_t failingEntry = 0, undecidedEntry = 0;
  const char* failingEnd = kCheckTimeEnd;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (PlayedPreset(entries[k], demo) != task.preset) continue;
    uint64_t share = budget / std::max<uint64_t>(1, searchesLeft--);
    // Only a failure before the earliest one found so far changes the report.
    if (failure && failure->demoTimeMs == 0) continue;
    const BaseSource base = BaseOf(entries[k], task.index, demo);
    if (!MayLeave32Bits(param, base)) continue;
    const uint32_t lastMs = failure ? failure->demoTimeMs - 1 : demo.sequence.DemoLength;
    budget -= share;
    const FailureSearch search = FindFirstFailure(entries[k], param, task.index, lastMs, share, base);
    budget += share;
    if (search.outcome == FailureSearch::Outcome::Fails)
      failure = search, failingEntry = k,
      failingEnd = base.follow ? kCheckFollowedTimeEnd : base.track ? kCheckTrackedTimeEnd : kCheckTimeEnd;
    if (search.outcome == FailureSearch::Outcome::Undecided && !undecided) undecided = search, undecidedEntry = k;
  }
  if (failure) {
    Error(counts, path + ": " + OscOutOfRangeText(param) + kCheckEntryText + std::to_string(failingEntry) +
                      kCheckDemoTimeText + std::to_string(failure->demoTimeMs) + kCheckEffectTimeText +
                      std::to_string(failure->fxTimeMs) + failingEnd);
  } else if (undecided) {
    PrintReport(path + ": " + QuotedText(param.Name.Text(), 40) + kCheckUndecidedText + std::to_string(undecidedEntry) +
                kCheckUndecidedFrom + std::to_string(undecided->demoTimeMs) + kCheckTimeEnd);
    ++counts.undecided;
  }
}

// Checks the base values of a preset (a value its type cannot hold fails at every time) and adds the
// oscillators to follow over time to tasks; returns how many entries play the preset.
uint64_t CheckBaseValues(const std::string& path, const LoadedDemo& demo, int number, std::vector<ScanTask>& tasks,
                         CheckCounts& counts) {
  const TScene1ParamIArray& preset = demo.scene.ScenePresets[number];
  uint64_t users = 0;
  for (const TSceneSeqEntry& entry : demo.sequence.SequenceEntries) users += PlayedPreset(entry, demo) == number;
  // Whether some entry that plays the preset may take parameter i outside the range.
  const auto mayLeave = [&](int i) {
    for (const TSceneSeqEntry& entry : demo.sequence.SequenceEntries)
      if (PlayedPreset(entry, demo) == number && MayLeave32Bits(preset[i], BaseOf(entry, i, demo))) return true;
    return false;
  };
  uint64_t scanned = 0;
  for (int i = 0; i < kParamCount; ++i) {
    TScene1ParamInterface still = preset[i];
    still.OscForm = 0;
    try {
      EvaluateParam(still, i, 0);
    } catch (const RangeError& error) {
      Error(counts, path + ": " + error.what());
      continue;
    }
    if (EvaluationType(i) == ParamType::Sing || !mayLeave(i)) continue;
    tasks.push_back({number, i});
    ++scanned;
  }
  return scanned * users;
}

// On a terminal: how far the check is, on one line that the next report overwrites and the end clears.
class Progress {
 public:
  Progress() : shown_(isatty(STDERR_FILENO) != 0) {}
  ~Progress() {
    if (shown_) std::fprintf(stderr, "\r%*s\r", 60, "");
  }
  void Show(size_t done, size_t total) {
    if (!shown_) return;
    // The cursor goes back to the line's start: a report printed meanwhile writes over the progress.
    std::fprintf(stderr, "%s%zu/%zu\r", kCheckProgressText, done, total);
    std::fflush(stderr);
  }

 private:
  bool shown_;
};

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
  state.d3d = CreateNullDirect3D8(std::make_shared<NullDeviceLog>());
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

std::string ShortSoundWarning(const std::string& mp3FileName, double soundS, uint32_t demoLengthMs) {
  // Tenths of a second, rounded down for the sound and up for the demo, so that the two never read equal.
  char sound[32], demo[32];
  std::snprintf(sound, sizeof sound, "%.1f", std::floor(soundS * 10) / 10);
  std::snprintf(demo, sizeof demo, "%.1f", std::ceil(demoLengthMs / 100.0) / 10);
  return mp3FileName + kShortSoundText + sound + kShortSoundMiddle + demo + kShortSoundEnd;
}

void CheckMusic(const std::string& mp3FileName, uint32_t demoLengthMs, CheckCounts& counts) {
  const auto start = std::chrono::steady_clock::now();
  const Mp3Scan scan = ScanMp3(mp3FileName);
  const double tookS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (scan.soundS == 0 && !scan.fault.empty())
    Error(counts, kSoundInitFailedPrefix + StreamCreationFailedText(mp3FileName) + " (" + scan.fault + ")");
  else if (!scan.fault.empty()) Error(counts, mp3FileName + ": " + scan.fault);
  else if (scan.soundS * 1000 < demoLengthMs)
    Warning(counts, ShortSoundWarning(mp3FileName, scan.soundS, demoLengthMs));
  std::printf("%s%.1f%s%.2f s\n", kCheckMp3DecodedText, scan.soundS, kCheckMp3DecodedIn, tookS);
}

void CheckEvaluation(const std::string& dataDir, const LoadedDemo& demo, CheckCounts& counts) {
  std::vector<ScanTask> tasks;
  uint64_t searches = 0;
  for (int n = 0; n < demo.scene.PresetCount; ++n)
    searches += CheckBaseValues(PresetFilePath(dataDir, n), demo, n, tasks, counts);
  uint64_t budget = kTotalSearchBudget;
  Progress progress;
  for (size_t t = 0; t < tasks.size(); ++t) {
    progress.Show(t, tasks.size());
    const TScene1ParamInterface& param = demo.scene.ScenePresets[tasks[t].preset][tasks[t].index];
    SearchFailures(PresetFilePath(dataDir, tasks[t].preset), param, tasks[t], demo, budget, searches, counts);
  }
}

void CheckLikelyMistakes(const std::string& dataDir, const LoadedDemo& demo, int textureCount, CheckCounts& counts) {
  const std::string sequencePath = dataDir + "/sceneseq.txt";
  const std::vector<TSceneSeqEntry>& entries = demo.sequence.SequenceEntries;
  for (size_t k = 0; k < entries.size(); ++k) {
    const std::string entry = sequencePath + ": " + kCheckEntryName + std::to_string(k);
    if (entries[k].PresetNumber >= demo.scene.PresetCount && demo.scene.PresetCount > 0)
      Warning(counts, entry + kCheckNoSuchPresetText + std::to_string(entries[k].PresetNumber) + kCheckNoSuchPresetEnd);
    if (entries[k].StartTime > entries[k].EndTime)
      Warning(counts, entry + kCheckStartAfterEndText + std::to_string(entries[k].StartTime) + " > " +
                          std::to_string(entries[k].EndTime) + kCheckStartAfterEndEnd);
    // The last frame shows the demo at its length: an entry that ends there is drawn to its end.
    if (entries[k].EndTime > demo.sequence.DemoLength)
      Warning(counts, entry + kCheckEndsAfterDemoText + std::to_string(entries[k].EndTime) + kCheckEndsAfterDemoLength +
                          std::to_string(demo.sequence.DemoLength) + kCheckEndsAfterDemoEnd);
  }
  WarnAfterGap(dataDir + "/scene", ".txt", demo.scene.PresetCount, kMaxPresets, counts);
  WarnAfterGap(dataDir + "/texture", ".bmp", textureCount, int(kTextureTableSize), counts);
}
