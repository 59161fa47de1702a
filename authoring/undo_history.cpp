#include "authoring/undo_history.h"

#include <bit>

namespace {
bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

// Starts a new step holding the state before a change, unless the change continues a run of keystrokes.
void Push(UndoHistory& history, UndoStep before, bool sameRun, std::optional<int> typingIn) {
  history.redo.clear();
  if (sameRun) return;  // the run's step already holds the state from before its first keystroke
  history.undo.push_back(std::move(before));
  if (history.undo.size() > kUndoSteps) history.undo.pop_front();
  history.typingIn = typingIn;
}

// Puts one step from `from` back and keeps the state it replaced on `to`.
bool Step(UndoHistory& history, TScene1ParamIArray& live, SequenceSnapshot* sequence, std::deque<UndoStep>& from,
          std::deque<UndoStep>& to) {
  EndTyping(history, live);
  if (from.empty()) return false;
  UndoStep step = std::move(from.back());
  from.pop_back();
  if (step.live) {
    to.push_back({live, std::nullopt});
    live = *step.live;
  } else if (sequence) {
    to.push_back({std::nullopt, *sequence});
    *sequence = *step.sequence;
  }
  return true;
}
}  // namespace

bool SameParams(const TScene1ParamIArray& a, const TScene1ParamIArray& b) {
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(a[i].Name == b[i].Name) || a[i].OscForm != b[i].OscForm || !SameBits(a[i].BaseVal, b[i].BaseVal) ||
        !SameBits(a[i].Osc1, b[i].Osc1) || !SameBits(a[i].Osc2, b[i].Osc2))
      return false;
  }
  return true;
}

void RecordChange(UndoHistory& history, const TScene1ParamIArray& before, const TScene1ParamIArray& after,
                  std::optional<int> typingIn) {
  const bool sameRun = typingIn && history.typingIn == typingIn;
  if (!sameRun) EndTyping(history, before);
  if (SameParams(before, after)) return;
  Push(history, {before, std::nullopt}, sameRun, typingIn);
}

void RecordSequenceChange(UndoHistory& history, const TScene1ParamIArray& live, const SequenceSnapshot& before,
                          const SequenceSnapshot& after, std::optional<int> typingIn) {
  const bool sameRun = typingIn && history.typingIn == typingIn;
  if (!sameRun) EndTyping(history, live);
  if (before == after) return;
  Push(history, {std::nullopt, before}, sameRun, typingIn);
}

void EndTyping(UndoHistory& history, const TScene1ParamIArray& live) {
  // A run's step is always one of the live set (the sequence's changes start no run).
  const UndoStep* run = history.typingIn && !history.undo.empty() ? &history.undo.back() : nullptr;
  if (run && run->live && SameParams(*run->live, live))
    history.undo.pop_back();
  history.typingIn.reset();
}

bool Undo(UndoHistory& history, TScene1ParamIArray& live, SequenceSnapshot* sequence) {
  return Step(history, live, sequence, history.undo, history.redo);
}

bool Redo(UndoHistory& history, TScene1ParamIArray& live, SequenceSnapshot* sequence) {
  return Step(history, live, sequence, history.redo, history.undo);
}
