#pragma once
// Undo and redo over the live parameter set and the sequence the timeline edits. A step holds what one
// change replaced: the records of the live set it changed, the live set's source (its file, the file
// field and the picked preset) when that changed, or the whole sequence with its notes. Putting a step
// back swaps it with what stands now, so the same step serves redo. The newest steps are kept: at most
// kUndoSteps and at most kUndoBytes together (older ones are dropped; the newest step always stays).
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scene/param_table.h"
#include "scene/sequence_file.h"

inline constexpr size_t kUndoSteps = 1000;
inline constexpr size_t kUndoBytes = size_t{64} << 20;

// Where the live set came from, as the tweak window shows it.
struct LiveSetSource {
  std::string savedFile;   // the full name of the file it came from; empty when none
  std::string folderText;  // the file field: folder and name as shown
  std::string fileText;
  int picked = -1;  // the preset picked in "set"
  bool operator==(const LiveSetSource&) const = default;
};

// The live set as a step restores it.
struct LiveSetState {
  TScene1ParamIArray params{};
  LiveSetSource source;
};

// Records of a table as they were: entry index and record.
using ParamRecords = std::vector<std::pair<int, TScene1ParamInterface>>;

struct UndoStep {
  ParamRecords params;
  std::optional<LiveSetSource> source;
  std::optional<SequenceSnapshot> sequence;
  size_t bytes = 0;  // what the step holds, names and texts included
};

struct UndoHistory {
  std::deque<UndoStep> undo;    // oldest first; back() is undone next
  std::deque<UndoStep> redo;    // back() is redone next
  size_t undoBytes = 0;         // the bytes the steps of undo hold
  std::optional<int> typingIn;  // the field (any number naming it) whose run of keystrokes the newest step holds
};

// Whether two records (two sets) hold the same names and the same bits in every value.
bool SameParam(const TScene1ParamInterface& a, const TScene1ParamInterface& b);
bool SameParams(const TScene1ParamIArray& a, const TScene1ParamIArray& b);

// Records the change from before to after as one step and forgets what could be redone; nothing when
// the two are the same. typingIn: the field a keystroke went to; keystrokes that follow each other in
// one field make one step. Any other change (typingIn nullopt) ends a run of keystrokes.
void RecordChange(UndoHistory& history, const LiveSetState& before, const LiveSetState& after,
                  std::optional<int> typingIn);
// The same for a change of the sequence; live is the live set as it stands.
void RecordSequenceChange(UndoHistory& history, const TScene1ParamIArray& live, const SequenceSnapshot& before,
                          const SequenceSnapshot& after, std::optional<int> typingIn);

// Ends a run of keystrokes; a run that left the set as it found it is no step at all.
void EndTyping(UndoHistory& history, const TScene1ParamIArray& live);

// Puts live (or sequence, the edited sequence with its notes) back one step (Undo) or forward one
// undone step (Redo); false when there is none. A step of the sequence while none is edited (sequence
// nullptr) is passed over.
bool Undo(UndoHistory& history, LiveSetState& live, SequenceSnapshot* sequence);
bool Redo(UndoHistory& history, LiveSetState& live, SequenceSnapshot* sequence);
