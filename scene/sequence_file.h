#pragma once
// Writing the scene sequence file. The reader passes over the comment lines, the three label lines and
// each entry's separator line; SequenceNotes keeps them, so a file saved by the program keeps what its
// author wrote there. The key and follow lines among the comments are the entries' tracks and follows
// (scene/key_lines.h, scene/follow_line.h), not notes. Times are milliseconds.
#include <optional>
#include <string>
#include <vector>

#include "scene/sequence.h"

inline constexpr const char* kEntrySeparator = "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~";

struct SequenceNotes {
  std::vector<std::string> comments;  // the "//" lines before the length but key and follow lines, without line ends
  std::vector<std::string> labels{"ratio", "mp3", "entries"};  // after the length, the ratio and the MP3 name
  std::vector<std::string> separators;                         // the line after each entry, one per entry
  bool operator==(const SequenceNotes&) const = default;
};

// A sequence with the lines around its numbers: what the timeline edits and undo puts back.
struct SequenceSnapshot {
  SceneSequence sequence;
  SequenceNotes notes;
  bool operator==(const SequenceSnapshot&) const = default;
};

// The notes of the file at path, one separator for each of the first entryCount entries (kEntrySeparator
// where the file has none); the defaults when the file is missing.
SequenceNotes ReadSequenceNotes(const std::string& path, size_t entryCount);
// The same from a sequence file's lines (nullptr: the defaults).
SequenceNotes SequenceNotesOf(TextLines* lines, size_t entryCount);

// The file text: comments, the key lines of the entries' tracks (by entry, parameter and time), the
// follow lines of their follows (by entry and parameter), length,
// label, ratio, label, MP3 name, label, then per entry its eight numbers and its separator, every line
// ending in CR LF. Reals in their shortest exact form with '.', so the reader gets back the very same
// values.
std::string SceneSequenceText(const SceneSequence& sequence, const SequenceNotes& notes);

// Why the reader would refuse a file of this sequence (no entries, more than 255, a length of 0, a ratio
// outside 2..10, tracks that break TracksFault's rules, follows that break FollowsFault's); empty when it
// would read it.
[[nodiscard]] std::string SequenceWriteFault(const SceneSequence& sequence);

// Writes the file safely (scene/safe_file.h): a failed save keeps the old file, and a sequence the
// reader would refuse (also one whose text is larger than kMaxSequenceFileBytes) is not written at all.
// Returns "" on success, otherwise the path and the reason.
[[nodiscard]] std::string WriteSceneSequence(const std::string& path, const SceneSequence& sequence,
                                             const SequenceNotes& notes);

// Beats per minute of the timeline: our own comment line "// bpm: 120". nullopt when there is none.
std::optional<double> NotesBpm(const SequenceNotes& notes);
// Puts (or with nullopt removes) the bpm comment line.
void SetNotesBpm(SequenceNotes& notes, std::optional<double> bpm);
