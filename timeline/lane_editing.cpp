#include "timeline/lane_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "scene/decimal_text.h"
#include "timeline/timeline_messages.h"
#include "timeline/lane_follow.h"
#include "timeline/timeline_snap.h"
#include "timeline/timeline_view.h"

TSceneSeqEntry* OpenEntry(TimelineForm& form) {
  const int lanesEntry = form.geometry.lanesEntry;
  auto& entries = form.host.sequence->SequenceEntries;
  return lanesEntry >= 0 && lanesEntry < static_cast<int>(entries.size()) ? &entries[lanesEntry] : nullptr;
}
const TSceneSeqEntry* OpenEntry(const TimelineForm& form) { return OpenEntry(const_cast<TimelineForm&>(form)); }

namespace {

template <typename Tracks>
auto& KeyOf(Tracks& tracks, KeyRef ref) {
  return FindTrack(tracks, ref.param)->Keys[ref.index];
}

bool Contains(const std::vector<KeyRef>& keys, KeyRef key) { return std::binary_search(keys.begin(), keys.end(), key); }

// Every track in time order again after its keys moved; selection (in KeyRef order) follows its keys.
void SortKeepingSelection(AutomationTracks& tracks, std::vector<KeyRef>& selection) {
  std::vector<KeyRef> moved;
  for (AutomationTrack& track : tracks) {
    std::vector<std::pair<AutomationKey, bool>> marked;
    for (size_t i = 0; i < track.Keys.size(); ++i)
      marked.push_back({track.Keys[i], Contains(selection, {track.Param, i})});
    std::stable_sort(marked.begin(), marked.end(),
                     [](const auto& a, const auto& b) { return a.first.TimeMs < b.first.TimeMs; });
    for (size_t i = 0; i < marked.size(); ++i) {
      track.Keys[i] = marked[i].first;
      if (marked[i].second) moved.push_back({track.Param, i});
    }
  }
  selection = std::move(moved);
}

// Where a time dragged in entry's lanes may snap: as an entry's (every entry's edges, the cursor, the
// demo's end, the grid), and the entry's keys that are not dragged.
SnapTargets KeyTargets(const TimelineForm& form, const TSceneSeqEntry& entry, const std::vector<KeyRef>& dragged,
                       bool snapOff) {
  SnapTargets targets = DragTargets(*form.host.sequence, -1, form.cursorMs, form.bpm,
                                    kSnapReachPx / ScalePxPerMs(form.geometry), snapOff);
  for (const AutomationTrack& track : entry.Tracks)
    for (size_t i = 0; i < track.Keys.size(); ++i)
      if (!Contains(dragged, {track.Param, i})) targets.magnetsMs.push_back(entry.StartTime + track.Keys[i].TimeMs);
  return targets;
}

// The dragged keys' times for the pointer at pointerMs (demo time): moved by the grabbed key's snapped
// travel, or stretched around the earliest of them so the grabbed key lands on its snapped time.
void MoveDraggedKeys(TimelineForm& form, uint32_t pointerMs) {
  const TimelineDrag& drag = form.drag;
  TSceneSeqEntry entry = drag.original;
  const std::vector<KeyRef>& dragged = drag.pressSelection;
  const double startMs = entry.StartTime, lastMs = LastLocalMs(entry);
  const double grabbedMs = KeyOf(entry.Tracks, *drag.grabbedKey).TimeMs;
  const SnapTargets targets = KeyTargets(form, entry, dragged, drag.snapOff);
  const double wantedMs = startMs + grabbedMs + double(pointerMs) - double(drag.grabMs);
  const double landedMs = double(SnapTime(wantedMs, targets)) - startMs;  // local
  double firstMs = std::numeric_limits<double>::max(), latestMs = 0;
  for (KeyRef ref : dragged) {
    firstMs = std::min<double>(firstMs, KeyOf(entry.Tracks, ref).TimeMs);
    latestMs = std::max<double>(latestMs, KeyOf(entry.Tracks, ref).TimeMs);
  }
  if (!drag.scale) {
    const double moveMs = std::clamp(landedMs - grabbedMs, -firstMs, std::max(0.0, lastMs - latestMs));
    for (KeyRef ref : dragged) {
      AutomationKey& key = KeyOf(entry.Tracks, ref);
      key.TimeMs = static_cast<uint32_t>(key.TimeMs + moveMs);
    }
  } else if (grabbedMs > firstMs) {
    const double factor = std::max(0.0, (landedMs - firstMs) / (grabbedMs - firstMs));
    for (KeyRef ref : dragged) {
      AutomationKey& key = KeyOf(entry.Tracks, ref);
      const double timeMs = std::round(firstMs + (key.TimeMs - firstMs) * factor);
      key.TimeMs = static_cast<uint32_t>(std::clamp(timeMs, 0.0, std::max<double>(lastMs, key.TimeMs)));
    }
  }
  std::vector<KeyRef> selection = dragged;
  SortKeepingSelection(entry.Tracks, selection);
  form.host.sequence->SequenceEntries[drag.entry] = std::move(entry);
  form.keys.keys = std::move(selection);
}

// A key at the pointer's (snapped) time holding the value the lane's curve has there (rounded for a
// whole number or a switch), selected alone.
// Outside the entry's span a click only clears the selection.
void AddKeyAt(TimelineForm& form, int lane, int xPx, bool snapOff) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry || lane >= static_cast<int>(entry->Tracks.size())) return;
  const uint32_t pointerMs = TimeOfPixel(form.geometry, xPx);
  if (pointerMs < entry->StartTime || pointerMs > entry->EndTime) {
    form.keys.keys.clear();
    return ShowTimelineFields(form);
  }
  const SnapTargets targets = KeyTargets(form, *entry, {}, snapOff);
  const double localMs = double(SnapTime(pointerMs, targets)) - entry->StartTime;
  const uint32_t timeMs = static_cast<uint32_t>(std::clamp(localMs, 0.0, double(LastLocalMs(*entry))));
  RecordTimelineChange(form, [&] {
    AutomationTrack& track = entry->Tracks[lane];
    const float value = TrackValue(track, timeMs);
    const bool whole = EvaluationType(track.Param) != ParamType::Sing;  // as the key field takes it
    const size_t index = SetKey(track, timeMs, whole ? std::round(value) : value);
    form.keys.keys = {{track.Param, index}};
  });
}

}  // namespace

void PressInLane(TimelineForm& form, int xPx, int yPx, LanePress press) {
  const TimelineHit hit = HitTest(form.geometry, *form.host.sequence, xPx, yPx);
  TSceneSeqEntry* entry = OpenEntry(form);
  form.drag = {};
  if (hit.spot != TimelineSpot::Lane || !entry || hit.entry != form.geometry.lanesEntry) return;
  if (form.host.history) EndTyping(*form.host.history, form.host.scene->LiveParams);
  TimelineDrag& drag = form.drag;
  drag.spot = TimelineSpot::Lane;
  drag.entry = hit.entry;
  drag.lane = hit.lane;
  drag.grabMs = TimeOfPixel(form.geometry, xPx);
  drag.grabXPx = drag.pointerXPx = xPx;
  drag.grabYPx = drag.pointerYPx = yPx;
  drag.scale = press.scale;
  drag.addToSelection = press.addToSelection;
  drag.snapOff = press.snapOff;
  drag.original = *entry;
  drag.before = TimelineSnapshot(form);
  std::vector<KeyRef>& selection = form.keys.keys;
  if (const std::optional<size_t> index = KeyAt(form.geometry, *entry, hit.lane, xPx, yPx)) {
    const KeyRef key{entry->Tracks[hit.lane].Param, *index};
    if (!Contains(selection, key)) {
      if (!press.addToSelection) selection.clear();
      selection.insert(std::upper_bound(selection.begin(), selection.end(), key), key);
      drag.grabbedKey = key;
    } else if (press.addToSelection) {
      std::erase(selection, key);  // toggled off: nothing to drag
    } else {
      drag.grabbedKey = key;
    }
  }
  drag.pressSelection = selection;
  ShowTimelineFields(form);
}

void DragInLane(TimelineForm& form, int xPx, int yPx, bool snapOff) {
  TimelineDrag& drag = form.drag;
  if (drag.entry != form.geometry.lanesEntry || !OpenEntry(form)) return;
  if (!drag.moved && std::abs(xPx - drag.grabXPx) < kDragStartPx && std::abs(yPx - drag.grabYPx) < kDragStartPx) return;
  drag.moved = true;
  drag.snapOff = snapOff;
  drag.pointerXPx = xPx;
  drag.pointerYPx = yPx;
  if (drag.grabbedKey) {
    MoveDraggedKeys(form, TimeOfPixel(form.geometry, xPx));
    ShowLanes(form);
    ++form.revision;
  } else {  // the box: the keys inside it (and those selected before, with addToSelection)
    std::vector<KeyRef> inside = KeysInBox(form.geometry, drag.original, drag.grabXPx, drag.grabYPx, xPx, yPx);
    if (drag.addToSelection) inside.insert(inside.end(), drag.pressSelection.begin(), drag.pressSelection.end());
    std::sort(inside.begin(), inside.end());
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    form.keys.keys = std::move(inside);
  }
  ShowTimelineFields(form);
}

void ReleasedInLane(TimelineForm& form, const TimelineDrag& drag) {
  if (!drag.moved && !drag.grabbedKey && !drag.addToSelection) AddKeyAt(form, drag.lane, drag.grabXPx, drag.snapOff);
}

bool SelectKeyAt(TimelineForm& form, int xPx, int yPx) {
  const TimelineHit hit = HitTest(form.geometry, *form.host.sequence, xPx, yPx);
  const TSceneSeqEntry* entry = OpenEntry(form);
  if (hit.spot != TimelineSpot::Lane || !entry) return false;
  const std::optional<size_t> index = KeyAt(form.geometry, *entry, hit.lane, xPx, yPx);
  if (!index) return false;
  const KeyRef key{entry->Tracks[hit.lane].Param, *index};
  if (!Contains(form.keys.keys, key)) form.keys.keys = {key};
  ShowTimelineFields(form);
  return true;
}

bool DeleteSelectedKeys(TimelineForm& form) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry || form.keys.keys.empty()) return false;
  RecordTimelineChange(form, [&] {
    // From the last: a key's index stays right while the keys after it go.
    for (auto key = form.keys.keys.rbegin(); key != form.keys.keys.rend(); ++key) {
      std::vector<AutomationKey>& keys = FindTrack(entry->Tracks, key->param)->Keys;
      keys.erase(keys.begin() + static_cast<std::ptrdiff_t>(key->index));
    }
    DropEmptyTracks(entry->Tracks);
    form.keys.keys.clear();
  });
  return true;
}

bool CycleKeyCurve(TimelineForm& form) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry || form.keys.keys.empty()) return false;
  SetKeyCurve(form, NextCurve(KeyOf(entry->Tracks, form.keys.keys.front()).Curve));
  return true;
}

void SetKeyCurve(TimelineForm& form, KeyCurve curve) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry) return;
  RecordTimelineChange(form, [&] {
    for (KeyRef key : form.keys.keys) KeyOf(entry->Tracks, key).Curve = curve;
  });
}

void AddTrackForSelectedParam(TimelineForm& form) {
  TSceneSeqEntry* entry = OpenEntry(form);
  const int param = form.selectedParam;
  if (!entry) return form.host.ShowMessage(kMsgTrackNeedsEntry);
  if (param < 0 || param >= kParamCount) return form.host.ShowMessage(kMsgTrackNeedsParam);
  if (FindTrack(entry->Tracks, param)) {
    ScrollRowIntoView(form.geometry, form.selected);
    return form.host.ShowMessage(kMsgTrackThere + LaneName(form, param));
  }
  const uint32_t cursorMs = form.cursorMs;
  const bool inside = cursorMs >= entry->StartTime && cursorMs <= entry->EndTime;
  const uint32_t timeMs = inside ? cursorMs - entry->StartTime : 0;
  // The live set's value as a key may hold it (a value a preset file stored out of range, say).
  const KeyRange range = ParamKeyRange(param);
  const float live = form.host.scene->LiveParams[param].BaseVal;
  const float value =
      std::isfinite(live) ? static_cast<float>(std::clamp<double>(live, range.minimum, range.maximum)) : 0.0f;
  RecordTimelineChange(form, [&] {
    const size_t index = SetKey(TrackFor(entry->Tracks, param), timeMs, value);
    form.keys.keys = {{param, index}};
  });
  ScrollRowIntoView(form.geometry, form.selected);
}

std::string SelectedKeyValueText(const TimelineForm& form) {
  const TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry || form.keys.keys.empty()) return "";
  const AutomationTracks& tracks = entry->Tracks;
  const float value = KeyOf(tracks, form.keys.keys.front()).Value;
  for (KeyRef key : form.keys.keys)
    if (KeyOf(tracks, key).Value != value) return "";
  return FormatShortest(value);
}

FieldValue ParseKeyValue(const TimelineForm& form, const std::string& text) {
  FieldValue parsed = RealField(text);
  for (KeyRef key : form.keys.keys) {
    if (!parsed.value) break;
    const KeyRange range = ParamKeyRange(key.param);
    if (EvaluationType(key.param) != ParamType::Sing)
      parsed = WholeField(text, static_cast<int64_t>(range.minimum), static_cast<int64_t>(range.maximum));
  }
  return parsed;
}

void SetSelectedKeyValues(TimelineForm& form, float value) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry) return;
  for (KeyRef key : form.keys.keys) KeyOf(entry->Tracks, key).Value = value;
}

std::string LaneName(const TimelineForm& form, int param) {
  std::string name(ShortName(form.host.scene->LiveParams[param].Name));
  if (const ParamFollow* follow = FollowOf(form, param)) name += kLaneFollows + std::string(kSoundSourceNames[size_t(follow->Source)]);
  return name;
}
