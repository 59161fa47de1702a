#include "authoring/undo_history.h"

#include <bit>

namespace {
bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

size_t TextBytes(const std::vector<std::string>& texts) {
  size_t bytes = 0;
  for (const std::string& text : texts) bytes += sizeof text + text.size();
  return bytes;
}

// What a step holds; a name counts whole in every step that holds it (names are shared, so this is an
// upper bound).
size_t BytesOf(const UndoStep& step) {
  size_t bytes = sizeof step;
  for (const auto& [index, param] : step.params) bytes += sizeof index + sizeof param + param.Name.Text().size();
  if (step.source)
    bytes += step.source->savedFile.size() + step.source->folderText.size() + step.source->fileText.size();
  if (step.sequence) {
    const SequenceSnapshot& snapshot = *step.sequence;
    bytes += snapshot.sequence.Mp3FileName.size() + snapshot.sequence.SequenceEntries.size() * sizeof(TSceneSeqEntry);
    for (const TSceneSeqEntry& entry : snapshot.sequence.SequenceEntries)
      bytes += entry.Tracks.size() * sizeof(AutomationTrack) + KeyCount(entry.Tracks) * sizeof(AutomationKey);
    bytes +=
        TextBytes(snapshot.notes.comments) + TextBytes(snapshot.notes.labels) + TextBytes(snapshot.notes.separators);
  }
  return bytes;
}

// The records of before that after changed.
ParamRecords ChangedRecords(const TScene1ParamIArray& before, const TScene1ParamIArray& after) {
  ParamRecords records;
  for (int i = 0; i < kParamCount; ++i)
    if (!SameParam(before[i], after[i])) records.emplace_back(i, before[i]);
  return records;
}

// Whether putting step back would change nothing; a step of the sequence always counts as a change.
bool Unchanged(const UndoStep& step, const TScene1ParamIArray& live) {
  if (step.sequence) return false;
  for (const auto& [index, param] : step.params)
    if (!SameParam(param, live[index])) return false;
  return !step.source;
}

void DropOldest(UndoHistory& history) {
  history.undoBytes -= history.undo.front().bytes;
  history.undo.pop_front();
}

void PushUndo(UndoHistory& history, UndoStep step) {
  step.bytes = BytesOf(step);
  history.undoBytes += step.bytes;
  history.undo.push_back(std::move(step));
  while (history.undo.size() > 1 && (history.undo.size() > kUndoSteps || history.undoBytes > kUndoBytes))
    DropOldest(history);
}

UndoStep PopUndo(UndoHistory& history) {
  UndoStep step = std::move(history.undo.back());
  history.undo.pop_back();
  history.undoBytes -= step.bytes;
  return step;
}

// Starts a new step holding the state before a change, unless the change continues a run of keystrokes:
// then the run's step gains the records this keystroke changed first.
void Push(UndoHistory& history, UndoStep before, bool sameRun, std::optional<int> typingIn) {
  history.redo.clear();
  if (sameRun && !history.undo.empty()) {
    UndoStep run = PopUndo(history);
    for (auto& record : before.params) {
      bool held = false;
      for (const auto& [index, param] : run.params) held = held || index == record.first;
      if (!held) run.params.push_back(std::move(record));
    }
    PushUndo(history, std::move(run));
    return;
  }
  PushUndo(history, std::move(before));
  history.typingIn = typingIn;
}

// Swaps the step with what stands now, so that it holds what it replaced; false (nothing changed) for a
// step of the sequence while none is edited (sequence nullptr).
bool PutBack(UndoStep& step, LiveSetState& live, SequenceSnapshot* sequence) {
  if (step.sequence && !sequence) return false;
  for (auto& [index, param] : step.params) std::swap(live.params[index], param);
  if (step.source) std::swap(live.source, *step.source);
  if (step.sequence) std::swap(*sequence, *step.sequence);
  step.bytes = BytesOf(step);
  return true;
}
}  // namespace

bool SameParam(const TScene1ParamInterface& a, const TScene1ParamInterface& b) {
  return a.Name == b.Name && a.OscForm == b.OscForm && SameBits(a.BaseVal, b.BaseVal) && SameBits(a.Osc1, b.Osc1) &&
         SameBits(a.Osc2, b.Osc2);
}

bool SameParams(const TScene1ParamIArray& a, const TScene1ParamIArray& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (!SameParam(a[i], b[i])) return false;
  return true;
}

void RecordChange(UndoHistory& history, const LiveSetState& before, const LiveSetState& after,
                  std::optional<int> typingIn) {
  const bool sameRun = typingIn && history.typingIn == typingIn;
  if (!sameRun) EndTyping(history, before.params);
  UndoStep step{ChangedRecords(before.params, after.params), std::nullopt, std::nullopt};
  if (!(before.source == after.source)) step.source = before.source;
  if (step.params.empty() && !step.source) return;
  const bool continuesRun = sameRun && !step.source;
  Push(history, std::move(step), continuesRun, typingIn);
}

void RecordSequenceChange(UndoHistory& history, const TScene1ParamIArray& live, const SequenceSnapshot& before,
                          const SequenceSnapshot& after, std::optional<int> typingIn) {
  const bool sameRun = typingIn && history.typingIn == typingIn;
  if (!sameRun) EndTyping(history, live);
  if (before == after) return;
  if (sameRun) return history.redo.clear();  // the run's step holds the sequence from before its first keystroke
  Push(history, {{}, std::nullopt, before}, false, typingIn);
}

void EndTyping(UndoHistory& history, const TScene1ParamIArray& live) {
  if (history.typingIn && !history.undo.empty() && Unchanged(history.undo.back(), live)) PopUndo(history);
  history.typingIn.reset();
}

bool Undo(UndoHistory& history, LiveSetState& live, SequenceSnapshot* sequence) {
  EndTyping(history, live.params);
  if (history.undo.empty()) return false;
  UndoStep step = PopUndo(history);
  if (PutBack(step, live, sequence)) history.redo.push_back(std::move(step));
  return true;
}

bool Redo(UndoHistory& history, LiveSetState& live, SequenceSnapshot* sequence) {
  EndTyping(history, live.params);
  if (history.redo.empty()) return false;
  UndoStep step = std::move(history.redo.back());
  history.redo.pop_back();
  if (PutBack(step, live, sequence)) PushUndo(history, std::move(step));
  return true;
}
