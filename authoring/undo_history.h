#pragma once
// Undo and redo over the live parameter set and the sequence the timeline edits. A step is the whole
// live set (77 records, about 2 KB) or the whole sequence with its notes as it stood before one change,
// so every kind of change is undone the same way. The newest steps are kept: kUndoSteps at most, older
// ones are dropped.
#include <cstddef>
#include <deque>
#include <optional>

#include "scene/param_table.h"
#include "scene/sequence_file.h"

inline constexpr size_t kUndoSteps = 1000;

// Exactly one of the two is set.
struct UndoStep {
  std::optional<TScene1ParamIArray> live;
  std::optional<SequenceSnapshot> sequence;
};

struct UndoHistory {
  std::deque<UndoStep> undo;    // oldest first; back() is undone next
  std::deque<UndoStep> redo;    // back() is redone next
  std::optional<int> typingIn;  // the field (any number naming it) whose run of keystrokes the newest step holds
};

// Whether two sets hold the same names and the same bits in every value.
bool SameParams(const TScene1ParamIArray& a, const TScene1ParamIArray& b);

// Records the change from before to after as one step and forgets what could be redone; nothing when
// the two are the same. typingIn: the field a keystroke went to; keystrokes that follow each other in
// one field make one step. Any other change (typingIn nullopt) ends a run of keystrokes.
void RecordChange(UndoHistory& history, const TScene1ParamIArray& before, const TScene1ParamIArray& after,
                  std::optional<int> typingIn);
// The same for a change of the sequence; live is the live set as it stands.
void RecordSequenceChange(UndoHistory& history, const TScene1ParamIArray& live, const SequenceSnapshot& before,
                          const SequenceSnapshot& after, std::optional<int> typingIn);

// Ends a run of keystrokes; a run that left the set as it found it is no step at all.
void EndTyping(UndoHistory& history, const TScene1ParamIArray& live);

// Puts live (or sequence, the edited sequence with its notes) back one step (Undo) or forward one
// undone step (Redo); false when there is none. A step of the sequence while none is edited (sequence
// nullptr) is passed over.
bool Undo(UndoHistory& history, TScene1ParamIArray& live, SequenceSnapshot* sequence);
bool Redo(UndoHistory& history, TScene1ParamIArray& live, SequenceSnapshot* sequence);
