#include "authoring/hot_reload.h"

#include <exception>
#include <optional>

#include "authoring/authoring_messages.h"
#include "scene/preset_file.h"
#include "scene/scene_messages.h"
#include "scene/text_lines.h"

namespace {

// The stamp changed since the last read; takes the new one either way.
bool Changed(WatchedFile& file) {
  const FileStamp now = StampOf(file.path);
  if (!now.exists || now == file.stamp) return false;
  file.stamp = now;
  return true;
}

void ReportFailure(const ReloadEvents& events, const std::string& text) { events.Report(text + kReloadFailedText); }

// Reads preset number from file; a file just after the loaded presets becomes one more of them.
void ReloadPreset(const WatchedFile& file, size_t number, SceneState& scene, const ReloadEvents& events) {
  std::optional<TextLines> lines;
  const std::string readError = TextLines::FromFile(file.path, lines);
  if (!readError.empty()) return ReportFailure(events, readError);
  TScene1ParamIArray preset = number < scene.ScenePresets.size() ? scene.ScenePresets[number] : TScene1ParamIArray{};
  try {
    ReadScenePreset(*lines, preset);
  } catch (const std::exception& error) {
    return ReportFailure(events, error.what());
  }
  if (number == scene.ScenePresets.size()) {
    scene.ScenePresets.push_back(preset);
    scene.PresetCount = static_cast<uint8_t>(scene.ScenePresets.size());
  }
  scene.ScenePresets[number] = preset;
  if (events.PresetReloaded) events.PresetReloaded(static_cast<int>(number));
}

// The preset files that appeared after the watched ones (a save under a new number, a file copied in):
// watched from now on with no stamp yet, so that the next poll reads them.
void WatchNewPresetFiles(DataWatch& watch) {
  while (watch.presets.size() < static_cast<size_t>(kMaxPresets)) {
    const std::string path = PresetFilePath(watch.dataDir, static_cast<int>(watch.presets.size()));
    if (!StampOf(path).exists) return;
    watch.presets.push_back({path, {}});
  }
}

}  // namespace

void ReloadSequenceFile(const DataWatch& watch, SceneSequence& sequence, uint8_t& sequenceCount,
                        const ReloadEvents& events) {
  SceneSequence read;
  std::string fault;
  LoadReports reports;
  reports.FatalError = [&fault](const std::string& where, const std::string& text) {
    if (fault.empty()) fault = where + ": " + text;
  };
  std::string notice;  // entries past 255 are cut, as at the start, and said so
  reports.Notice = [&notice](const std::string&, const std::string& text) {
    if (notice.empty()) notice = text;
  };
  uint8_t count = 0;
  try {
    count = LoadSceneSequence(watch.dataDir + "/sceneseq", read, reports);
  } catch (const std::exception& error) {
    fault = error.what();
  }
  if (fault.empty() && count == 0) fault = watch.sequence.path + ": " + kMsgNoSequence;
  if (!fault.empty()) return ReportFailure(events, fault);

  const bool needsRestart =
      read.ScreenCinemaWidthRatio != sequence.ScreenCinemaWidthRatio || read.Mp3FileName != sequence.Mp3FileName;
  sequence.SequenceEntries = std::move(read.SequenceEntries);
  sequence.DemoLength = read.DemoLength;
  sequenceCount = count;
  if (events.SequenceReloaded) events.SequenceReloaded();
  if (!notice.empty()) events.Report(notice);
  if (needsRestart) events.Report(watch.sequence.path + kReloadNeedsRestartText);
}

FileStamp StampOf(const std::string& path) {
  std::error_code error;
  FileStamp stamp;
  stamp.modified = std::filesystem::last_write_time(path, error);
  if (error) return {};
  // A FIFO or a folder in a data file's place is a change to read and report, not a missing file.
  if (std::filesystem::is_regular_file(path, error)) stamp.sizeBytes = std::filesystem::file_size(path, error);
  if (error) return {};
  stamp.exists = true;
  return stamp;
}

void WatchDataFiles(DataWatch& watch, const std::string& dataDir, int presetCount) {
  watch.dataDir = dataDir;
  watch.presets.clear();
  for (int n = 0; n < presetCount; ++n) {
    const std::string path = PresetFilePath(dataDir, n);
    watch.presets.push_back({path, StampOf(path)});
  }
  watch.sequence.path = dataDir + "/sceneseq.txt";
  watch.sequence.stamp = StampOf(watch.sequence.path);
}

void NoteOwnWrite(DataWatch& watch, const std::string& path) {
  WatchNewPresetFiles(watch);
  std::error_code error;
  for (WatchedFile& file : watch.presets)
    if (std::filesystem::equivalent(file.path, path, error)) file.stamp = StampOf(file.path);
  if (std::filesystem::equivalent(watch.sequence.path, path, error)) watch.sequence.stamp = StampOf(path);
}

void PollDataFiles(DataWatch& watch, SceneState& scene, SceneSequence& sequence, uint8_t& sequenceCount,
                   const ReloadEvents& events) {
  WatchNewPresetFiles(watch);
  for (size_t n = 0; n < watch.presets.size() && n <= scene.ScenePresets.size(); ++n)
    if (Changed(watch.presets[n])) ReloadPreset(watch.presets[n], n, scene, events);
  if (!Changed(watch.sequence)) return;
  if (events.SequenceHasOwnEdits && events.SequenceHasOwnEdits()) {
    if (events.SequenceHeldBack) events.SequenceHeldBack();
    return;
  }
  ReloadSequenceFile(watch, sequence, sequenceCount, events);
}
