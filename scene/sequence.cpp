#include "scene/sequence.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "scene/follow_reader.h"
#include "scene/key_lines.h"
#include "scene/mp3_location.h"
#include "scene/round.h"
#include "scene/scene_messages.h"
#include "scene/text_lines.h"

namespace {
std::string Place(const TextLines& lines) { return lines.Path() + ":" + std::to_string(lines.LineNumber()); }

TSceneSeqEntry ReadEntry(TextLines& lines) {
  TSceneSeqEntry entry;
  entry.PresetNumber = static_cast<uint8_t>(lines.NextInteger(0, UINT8_MAX));
  entry.StartTime = static_cast<uint32_t>(lines.NextInteger(0, INT32_MAX));
  entry.EndTime = static_cast<uint32_t>(lines.NextInteger(0, INT32_MAX));
  entry.TimeFactor = lines.NextFloat();
  entry.TimeOffset = static_cast<int32_t>(lines.NextInteger(INT32_MIN, INT32_MAX));
  entry.WobbleKind = static_cast<uint8_t>(lines.NextInteger(0, UINT8_MAX));
  entry.WobbleFrequency = lines.NextFloat();
  entry.WobbleAmplitude = lines.NextFloat();
  lines.Next();  // separator, whatever it holds
  return entry;
}
}  // namespace

uint8_t LoadSceneSequence(const std::string& basePath, SceneSequence& sequence, const LoadReports& reports) {
  sequence.SequenceEntries.clear();
  const std::string path = basePath + ".txt";
  if (!EntryExists(path)) return 0;
  std::optional<TextLines> read;
  int errorCode = 0;
  const std::string readError = TextLines::FromFile(path, read, &errorCode, kMaxSequenceFileBytes);
  if (!readError.empty()) {
    reports.FatalError(path, kMsgSequenceLoadFailed + std::to_string(errorCode) + " (" + readError + ")");
    return 0;
  }
  return ReadSceneSequence(*read, std::filesystem::path(basePath).parent_path().string(), sequence, reports);
}

uint8_t ReadSceneSequence(TextLines& lines, const std::string& dataDir, SceneSequence& sequence,
                          const LoadReports& reports) {
  const auto& fatal = reports.FatalError;
  sequence.SequenceEntries.clear();
  // Header comments (key and follow lines among them), then the demo length.
  KeyLineReader keys;
  FollowLineReader follows;
  lines.SkipComments([&](std::string_view line) {
    if (IsKeyLine(line)) keys.Take(line, lines);
    else if (IsFollowLine(line)) follows.Take(line, lines);
  });
  const int64_t length = lines.NextInteger(INT32_MIN, INT32_MAX);
  if (length <= 0) fatal(Place(lines), kMsgBadDemoLength);
  else sequence.DemoLength = static_cast<uint32_t>(length);

  lines.Next();
  sequence.ScreenCinemaWidthRatio = lines.NextFloat();
  if (!ValidScreenCinemaWidthRatio(sequence.ScreenCinemaWidthRatio)) fatal(Place(lines), kMsgBadRatio);

  lines.Next();
  sequence.Mp3FileName = std::string(lines.Next());
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(FindMp3File(sequence.Mp3FileName, dataDir), ignored))
    fatal(Place(lines), kMsgBadMp3);

  lines.Next();
  while (!lines.AtEnd()) {
    if (sequence.SequenceEntries.size() == kMaxSequenceEntries) {
      reports.Notice(Place(lines), lines.Path() + kMsgTooManyEntries);
      break;
    }
    sequence.SequenceEntries.push_back(ReadEntry(lines));
  }
  keys.PutInto(sequence.SequenceEntries);
  follows.PutInto(sequence.SequenceEntries);
  return static_cast<uint8_t>(sequence.SequenceEntries.size());
}

uint32_t EntryEffectTime(const TSceneSeqEntry& entry, uint32_t demoTimeMs) {
  const double d = demoTimeMs;
  double e = Round(d * entry.TimeFactor);
  if (entry.WobbleKind == 1) e = Round(std::sin(d * entry.WobbleFrequency) * entry.WobbleAmplitude + e);
  if (entry.WobbleKind == 2) e = Round(std::cos(d * entry.WobbleFrequency) * entry.WobbleAmplitude + e);
  e += entry.TimeOffset;
  return static_cast<uint32_t>(std::clamp(e, 0.0, static_cast<double>(kMaxEffectTime)));
}
