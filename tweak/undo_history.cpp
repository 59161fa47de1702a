#include "tweak/undo_history.h"

#include <bit>

namespace {
bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }
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
  history.redo.clear();
  if (sameRun) return;  // the run's step already holds the set from before its first keystroke
  history.undo.push_back(before);
  if (history.undo.size() > kUndoSteps) history.undo.pop_front();
  history.typingIn = typingIn;
}

void EndTyping(UndoHistory& history, const TScene1ParamIArray& live) {
  if (history.typingIn && !history.undo.empty() && SameParams(history.undo.back(), live)) history.undo.pop_back();
  history.typingIn.reset();
}

bool Undo(UndoHistory& history, TScene1ParamIArray& live) {
  EndTyping(history, live);
  if (history.undo.empty()) return false;
  history.redo.push_back(live);
  live = history.undo.back();
  history.undo.pop_back();
  return true;
}

bool Redo(UndoHistory& history, TScene1ParamIArray& live) {
  EndTyping(history, live);
  if (history.redo.empty()) return false;
  history.undo.push_back(live);
  live = history.redo.back();
  history.redo.pop_back();
  return true;
}
