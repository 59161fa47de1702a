#include "scene/sequence_file.h"

#include <string_view>

#include "scene/decimal_text.h"
#include "scene/follow_reader.h"
#include "scene/key_lines.h"
#include "scene/scene_messages.h"
#include "scene/safe_file.h"
#include "scene/text_lines.h"

namespace {

constexpr const char* kSequenceLineEnd = "\r\n";
constexpr std::string_view kBpmComment = "// bpm: ";
constexpr int kNumbersPerEntry = 8;

bool IsBpmComment(const std::string& line) { return line.rfind(kBpmComment, 0) == 0; }

}  // namespace

SequenceNotes ReadSequenceNotes(const std::string& path, size_t entryCount) {
  std::optional<TextLines> lines;
  if (!TextLines::FromFile(path, lines, nullptr, kMaxSequenceFileBytes).empty()) lines.reset();
  return SequenceNotesOf(lines ? &*lines : nullptr, entryCount);
}

SequenceNotes SequenceNotesOf(TextLines* lines, size_t entryCount) {
  SequenceNotes notes;
  if (lines) {
    while (!lines->AtEnd()) {
      const std::string_view line = lines->Next();
      if (line.rfind("//", 0) != 0) break;  // the length
      // keys and follows belong to the entries
      if (!IsKeyLine(line) && !IsFollowLine(line)) notes.comments.emplace_back(line);
    }
    for (std::string& label : notes.labels) {
      const std::string_view text = lines->Next();
      if (!text.empty()) label = text;
      lines->Next();  // the ratio, the MP3 name, or the first entry's first number
    }
  }
  // The third label's Next() above already read the first entry's preset number.
  for (size_t entry = 0; entry < entryCount; ++entry) {
    std::string separator = kEntrySeparator;
    if (lines && !lines->AtEnd()) {
      for (int n = entry == 0 ? 1 : 0; n < kNumbersPerEntry; ++n) lines->Next();
      const std::string_view text = lines->Next();
      if (!text.empty()) separator = text;
    }
    notes.separators.push_back(separator);
  }
  return notes;
}

std::string SceneSequenceText(const SceneSequence& sequence, const SequenceNotes& notes) {
  std::string text;
  const auto line = [&text](const std::string& content) { text += content + kSequenceLineEnd; };
  for (const std::string& comment : notes.comments) line(comment);
  for (size_t i = 0; i < sequence.SequenceEntries.size(); ++i)
    for (const AutomationTrack& track : sequence.SequenceEntries[i].Tracks)
      for (const AutomationKey& key : track.Keys) line(KeyLineText(i, track.Param, key));
  for (size_t i = 0; i < sequence.SequenceEntries.size(); ++i)
    for (const ParamFollow& follow : sequence.SequenceEntries[i].Follows)
      line(FollowLineText({uint8_t(i), follow}));
  line(std::to_string(sequence.DemoLength));
  line(notes.labels.at(0));
  line(FormatShortest(sequence.ScreenCinemaWidthRatio));
  line(notes.labels.at(1));
  line(sequence.Mp3FileName);
  line(notes.labels.at(2));
  for (size_t i = 0; i < sequence.SequenceEntries.size(); ++i) {
    const TSceneSeqEntry& entry = sequence.SequenceEntries[i];
    line(std::to_string(entry.PresetNumber));
    line(std::to_string(entry.StartTime));
    line(std::to_string(entry.EndTime));
    line(FormatShortest(entry.TimeFactor));
    line(std::to_string(entry.TimeOffset));
    line(std::to_string(entry.WobbleKind));
    line(FormatShortest(entry.WobbleFrequency));
    line(FormatShortest(entry.WobbleAmplitude));
    line(i < notes.separators.size() ? notes.separators[i] : kEntrySeparator);
  }
  return text;
}

std::string SequenceWriteFault(const SceneSequence& sequence) {
  if (sequence.SequenceEntries.empty()) return kMsgSaveNoEntries;
  if (sequence.SequenceEntries.size() > static_cast<size_t>(kMaxSequenceEntries)) return kMsgSaveTooManyEntries;
  if (sequence.DemoLength == 0 || sequence.DemoLength > kMaxEffectTime) return kMsgSaveBadLength;
  if (!ValidScreenCinemaWidthRatio(sequence.ScreenCinemaWidthRatio)) return kMsgBadRatio;
  for (size_t i = 0; i < sequence.SequenceEntries.size(); ++i)
    if (const std::string fault = TracksFault(sequence.SequenceEntries[i].Tracks); !fault.empty())
      return kMsgSaveBadKeys + std::to_string(i) + ": " + fault;
  for (size_t i = 0; i < sequence.SequenceEntries.size(); ++i)
    if (const std::string fault = FollowsFault(sequence.SequenceEntries[i].Follows); !fault.empty())
      return kMsgSaveBadFollows + std::to_string(i) + ": " + fault;
  return {};
}

std::string WriteSceneSequence(const std::string& path, const SceneSequence& sequence, const SequenceNotes& notes) {
  if (const std::string fault = SequenceWriteFault(sequence); !fault.empty()) return path + ": " + fault;
  const std::string text = SceneSequenceText(sequence, notes);
  if (text.size() > kMaxSequenceFileBytes) return path + ": " + kMsgSequenceTooLarge;
  return ReplaceFile(path, text);
}

std::optional<double> NotesBpm(const SequenceNotes& notes) {
  for (const std::string& comment : notes.comments)
    if (IsBpmComment(comment)) {
      const std::optional<double> bpm = ParseReal(std::string_view(comment).substr(kBpmComment.size()));
      if (bpm && *bpm > 0) return bpm;
    }
  return std::nullopt;
}

void SetNotesBpm(SequenceNotes& notes, std::optional<double> bpm) {
  std::erase_if(notes.comments, IsBpmComment);
  if (bpm) notes.comments.push_back(std::string(kBpmComment) + FormatShortest(static_cast<float>(*bpm)));
}
