#pragma once
// The scene sequence: demo length, letterbox ratio, MP3 file and the entries that put presets on screen
// in windows of demo time, each with its own time transform. All times are milliseconds.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/automation.h"
#include "scene/load_reports.h"
#include "scene/sound_envelopes.h"
#include "scene/text_lines.h"

struct TSceneSeqEntry {
  uint8_t PresetNumber = 0;   // index into the loaded presets
  uint32_t StartTime = 0;     // first demo-time ms the entry is drawn
  uint32_t EndTime = 0;       // last demo-time ms the entry is drawn (inclusive)
  float TimeFactor = 1;       // demo time is multiplied by it
  int32_t TimeOffset = 0;     // ms added to the effect time
  uint8_t WobbleKind = 0;     // 1 sine, 2 cosine, anything else none
  float WobbleFrequency = 0;  // radians per ms of demo time
  float WobbleAmplitude = 0;  // ms
  AutomationTracks Tracks;    // keyframe tracks over the entry's local time (scene/automation.h)
  ParamFollows Follows;       // parameters that follow the soundtrack (scene/sound_envelopes.h)
  bool operator==(const TSceneSeqEntry&) const = default;
};

struct SceneSequence {
  uint32_t DemoLength = 0;                      // 1..2147483647 once loaded
  float ScreenCinemaWidthRatio = 0;             // above 2, at most 10
  std::string Mp3FileName;                      // as written in the file; FindMp3File (scene/mp3_location.h) finds it
  std::vector<TSceneSeqEntry> SequenceEntries;  // file order
  bool operator==(const SceneSequence&) const = default;
};

inline constexpr int kMaxSequenceEntries = 255;
// The largest sequence file the reader reads: room for about a million keys.
inline constexpr uint64_t kMaxSequenceFileBytes = uint64_t{32} << 20;

// A letterbox ratio the sequence file may hold: above 2, at most 10.
inline bool ValidScreenCinemaWidthRatio(double ratio) { return ratio > 2 && ratio <= 10; }
inline constexpr uint32_t kMaxEffectTime = 2147483647;

// Reads basePath + ".txt" into sequence and returns the number of entries (0 when the file is missing).
// Bad length, ratio or MP3 name are FatalError reports and reading goes on; entries beyond 255 are a
// notice. A bad number, a bad key line (scene/key_lines.h) or a bad follow line (scene/follow_reader.h)
// raises ConversionError or RangeError with file and line; the entries get their tracks and follows only
// when every such line is good.
uint8_t LoadSceneSequence(const std::string& basePath, SceneSequence& sequence, const LoadReports& reports);
// The same for a sequence file's lines; the MP3 name is looked for beside dataDir as for a file in it.
uint8_t ReadSceneSequence(TextLines& lines, const std::string& dataDir, SceneSequence& sequence,
                          const LoadReports& reports);

// The effect time of entry at demo time demoTimeMs: Round(d * TimeFactor), moved by the wobble, plus
// TimeOffset, clamped into 0..2147483647.
uint32_t EntryEffectTime(const TSceneSeqEntry& entry, uint32_t demoTimeMs);

// The entry's tracks at demoTimeMs: local time demoTimeMs - StartTime (negative before the entry starts),
// and its follows at demoTimeMs (the envelopes are by demo time).
inline TracksAt EntryTracksAt(const TSceneSeqEntry& entry, uint32_t demoTimeMs) {
  return {&entry.Tracks, int64_t{demoTimeMs} - int64_t{entry.StartTime}, &entry.Follows, demoTimeMs};
}

// Whether the entry is drawn at demoTimeMs: StartTime <= d <= EndTime.
inline bool EntryVisible(const TSceneSeqEntry& entry, uint32_t demoTimeMs) {
  return entry.StartTime <= demoTimeMs && demoTimeMs <= entry.EndTime;
}
