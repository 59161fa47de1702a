#include "timeline/timeline_form.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "authoring/field_values.h"
#include "scene/decimal_text.h"
#include "audio/tempo_guess.h"
#include "timeline/lane_editing.h"
#include "timeline/lane_follow.h"
#include "timeline/timeline_messages.h"
#include "timeline/timeline_snap.h"
#include "timeline/timeline_view.h"
#include "tweak/tweak_messages.h"

namespace {

constexpr double kMaxBpm = 1000;
constexpr int kBeatsOfNewEntry = 8;
constexpr uint32_t kNewEntryMs = 4000;  // without a bpm

std::string SequencePath(const TimelineForm& form) { return form.host.dataDir + "/sceneseq.txt"; }

std::vector<TSceneSeqEntry>& Entries(TimelineForm& form) { return form.host.sequence->SequenceEntries; }

bool IsEntryField(TimelineField field) { return static_cast<int>(field) < kEntryFieldCount; }

// The rows scroll so the selected entry shows.
void ShowSelected(TimelineForm& form) {
  form.geometry.entryCount = static_cast<int>(Entries(form).size());
  ShowLanes(form);
  KeepViewInRange(form.geometry);
  ScrollRowIntoView(form.geometry, form.selected);
}

void Changed(TimelineForm& form) {
  if (form.selected >= static_cast<int>(Entries(form).size()))
    form.selected = static_cast<int>(Entries(form).size()) - 1;
  ShowSelected(form);
  ++form.revision;
}

// Runs an action that changes the sequence and records it as one undo step.
template <typename Action>
void Recorded(TimelineForm& form, std::optional<int> typingIn, Action action) {
  const SequenceSnapshot before = TimelineSnapshot(form);
  action();
  if (form.host.history)
    RecordSequenceChange(*form.host.history, form.host.scene->LiveParams, before, TimelineSnapshot(form), typingIn);
  Changed(form);
}

// A field's text as a value the field takes: nullopt and the message for anything else.
FieldValue ParseField(TimelineField field, const std::string& text) {
  constexpr int64_t kMaxTime = INT32_MAX;
  switch (field) {
    case TimelineField::Preset: return WholeField(text, 0, UINT8_MAX);
    case TimelineField::Start:
    case TimelineField::End: return WholeField(text, 0, kMaxTime);
    case TimelineField::Offset: return WholeField(text, INT32_MIN, INT32_MAX);
    case TimelineField::Wobble: return WholeField(text, 0, UINT8_MAX);
    case TimelineField::Length: return WholeField(text, 1, kMaxTime);
    case TimelineField::Factor:
    case TimelineField::Frequency:
    case TimelineField::Amplitude:
    case TimelineField::FollowGain:
    case TimelineField::FollowOffset: return RealField(text);
    case TimelineField::Ratio: {
      FieldValue parsed = RealField(text);
      if (parsed.value && !ValidScreenCinemaWidthRatio(*parsed.value))
        return {std::nullopt, QuotedFieldText(text) + kMsgTimelineRatio};
      return parsed;
    }
    case TimelineField::KeyValue: return {};  // ParseKeyValue's
    case TimelineField::Bpm: {
      if (text.find_first_not_of(' ') == std::string::npos) return {std::nullopt, ""};  // none
      FieldValue parsed = RealField(text);
      if (parsed.value && !(*parsed.value > 0 && *parsed.value <= kMaxBpm))
        return {std::nullopt, QuotedFieldText(text) + kMsgTimelineBpm};
      return parsed;
    }
  }
  return {};
}

// Stores a valid value of field.
void Store(TimelineForm& form, TimelineField field, double value) {
  SceneSequence& sequence = *form.host.sequence;
  if (field == TimelineField::Length) sequence.DemoLength = static_cast<uint32_t>(value);
  if (field == TimelineField::Ratio) sequence.ScreenCinemaWidthRatio = static_cast<float>(value);
  if (!IsEntryField(field) || form.selected < 0) return;
  TSceneSeqEntry& entry = Entries(form)[form.selected];
  switch (field) {
    case TimelineField::Preset: entry.PresetNumber = static_cast<uint8_t>(value); break;
    case TimelineField::Start: entry.StartTime = static_cast<uint32_t>(value); break;
    case TimelineField::End: entry.EndTime = static_cast<uint32_t>(value); break;
    case TimelineField::Factor: entry.TimeFactor = static_cast<float>(value); break;
    case TimelineField::Offset: entry.TimeOffset = static_cast<int32_t>(value); break;
    case TimelineField::Wobble: entry.WobbleKind = static_cast<uint8_t>(value); break;
    case TimelineField::Frequency: entry.WobbleFrequency = static_cast<float>(value); break;
    case TimelineField::Amplitude: entry.WobbleAmplitude = static_cast<float>(value); break;
    default: break;
  }
}

std::string FieldText(const TimelineForm& form, TimelineField field) {
  const SceneSequence& sequence = *form.host.sequence;
  switch (field) {
    case TimelineField::Length: return std::to_string(sequence.DemoLength);
    case TimelineField::Ratio: return FormatShortest(sequence.ScreenCinemaWidthRatio);
    case TimelineField::Bpm: return form.bpm ? FormatShortest(static_cast<float>(*form.bpm)) : "";
    case TimelineField::KeyValue: return SelectedKeyValueText(form);
    case TimelineField::FollowGain:
    case TimelineField::FollowOffset: return SelectedFollowText(form, field);
    default: break;
  }
  if (form.selected < 0) return "";
  const TSceneSeqEntry& entry = sequence.SequenceEntries[form.selected];
  switch (field) {
    case TimelineField::Preset: return std::to_string(entry.PresetNumber);
    case TimelineField::Start: return std::to_string(entry.StartTime);
    case TimelineField::End: return std::to_string(entry.EndTime);
    case TimelineField::Factor: return FormatShortest(entry.TimeFactor);
    case TimelineField::Offset: return std::to_string(entry.TimeOffset);
    case TimelineField::Wobble: return std::to_string(entry.WobbleKind);
    case TimelineField::Frequency: return FormatShortest(entry.WobbleFrequency);
    case TimelineField::Amplitude: return FormatShortest(entry.WobbleAmplitude);
    default: return "";
  }
}

// A new entry: the preset picked in "set" (else the selected entry's, else 0) at the grid point at or
// before the cursor, so the preview at the cursor shows it; eight beats (or four seconds) long, cut at
// the demo's end.
TSceneSeqEntry NewEntry(const TimelineForm& form) {
  TSceneSeqEntry entry;
  if (form.pickedPreset >= 0) entry.PresetNumber = static_cast<uint8_t>(form.pickedPreset);
  else if (form.selected >= 0) entry.PresetNumber = form.host.sequence->SequenceEntries[form.selected].PresetNumber;
  entry.StartTime = GridPointAtOrBeforeMs(form.cursorMs, form.bpm);
  const uint32_t lengthMs =
      form.bpm ? static_cast<uint32_t>(std::round(kBeatsOfNewEntry * GridStepMs(form.bpm))) : kNewEntryMs;
  const uint32_t demoEndMs = form.host.sequence->DemoLength;
  entry.EndTime = entry.StartTime + lengthMs - 1;
  if (entry.EndTime >= demoEndMs && demoEndMs > entry.StartTime) entry.EndTime = demoEndMs - 1;
  return entry;
}

void Insert(TimelineForm& form, int at, const TSceneSeqEntry& entry, const std::string& separator) {
  if (Entries(form).size() >= kMaxSequenceEntries) {
    form.host.ShowMessage(kMsgSequenceFull);
    return;
  }
  Recorded(form, std::nullopt, [&] {
    Entries(form).insert(Entries(form).begin() + at, entry);
    form.notes.separators.insert(form.notes.separators.begin() + at, separator);
    form.selected = at;
  });
}

void Swap(TimelineForm& form, int a, int b) {
  const int count = static_cast<int>(Entries(form).size());
  if (a < 0 || b < 0 || a >= count || b >= count) return;
  Recorded(form, std::nullopt, [&] {
    std::swap(Entries(form)[a], Entries(form)[b]);
    std::swap(form.notes.separators[a], form.notes.separators[b]);
    form.selected = b;
  });
}

void Save(TimelineForm& form) {
  if (form.host.readOnly) {
    form.host.ShowMessage(kMsgInstalledDemoReadOnly);
    return;
  }
  const std::string path = SequencePath(form);
  if (const std::string errorText = WriteSceneSequence(path, *form.host.sequence, form.notes); !errorText.empty()) {
    form.host.ShowMessage(kMsgSequenceSaveFailed + errorText + kMsgSequenceSaveKept);
    return;
  }
  if (form.host.SequenceSaved) form.host.SequenceSaved();
}

// The entry being dragged, moved by the pointer's travel since the press (whole bar) or with the
// dragged end on the pointer; an end lands so that the entry stops just before the snapped point. The
// entry's end stops at the demo's end.
void DragEntry(TimelineForm& form, uint32_t pointerMs, bool snapOff) {
  TimelineDrag& drag = form.drag;
  TSceneSeqEntry entry = drag.original;
  const SnapTargets targets = DragTargets(*form.host.sequence, drag.entry, form.cursorMs, form.bpm,
                                          kSnapReachPx / ScalePxPerMs(form.geometry), snapOff);
  const double demoLengthMs = form.host.sequence->DemoLength;
  const auto time = [](double ms) { return static_cast<uint32_t>(std::clamp(ms, 0.0, double(kMaxEffectTime))); };
  if (drag.spot == TimelineSpot::Bar) {
    const double spanMs = double(entry.EndTime) + 1 - entry.StartTime;  // not above 0 for an entry never drawn
    const double startMs = double(entry.StartTime) + double(pointerMs) - double(drag.grabMs);
    double start = SnapMove(startMs, time(spanMs), targets);
    if (spanMs > 0 && start + spanMs > demoLengthMs) start = std::max(0.0, demoLengthMs - spanMs);
    entry.StartTime = time(start);
    entry.EndTime = time(start + spanMs - 1);
  } else if (drag.spot == TimelineSpot::BarStart) {
    entry.StartTime = std::min(SnapTime(pointerMs, targets), entry.EndTime);
  } else if (drag.spot == TimelineSpot::BarEnd) {
    const double end = std::min<double>(SnapTime(pointerMs, targets), demoLengthMs);
    entry.EndTime = std::max(time(end - 1), entry.StartTime);
  }
  Entries(form)[drag.entry] = entry;
}

// The comment lines of the sequence file as saved, and the bpm among them.
void ReadNotes(TimelineForm& form) {
  form.notes = ReadSequenceNotes(SequencePath(form), Entries(form).size());
  form.bpm = NotesBpm(form.notes);
}

}  // namespace

SequenceSnapshot TimelineSnapshot(const TimelineForm& form) { return {*form.host.sequence, form.notes}; }

std::string EntryLabel(const TSceneSeqEntry& entry) {
  return std::to_string(entry.PresetNumber) + " scene" + std::to_string(entry.PresetNumber) + ".txt";
}

void SetUpTimeline(TimelineForm& form) {
  ReadNotes(form);
  if (!form.host.ShowMessage) form.host.ShowMessage = [](const std::string&) {};
  form.title = kTimelineCaption;
  ShowTimelineFields(form);
}

void PutTimelineSnapshot(TimelineForm& form, const SequenceSnapshot& snapshot) {
  form.keys.keys.clear();
  *form.host.sequence = snapshot.sequence;
  form.notes = snapshot.notes;
  form.bpm = NotesBpm(form.notes);
  Changed(form);
  ShowTimelineFields(form);
}

void TimelineSequenceReloaded(TimelineForm& form) {
  ReadNotes(form);
  if (form.selected >= static_cast<int>(Entries(form).size())) form.selected = -1;
  form.keys.keys.clear();
  ShowLanes(form);
  ++form.revision;
  ShowTimelineFields(form);
}

void ShowTimelineFields(TimelineForm& form) {
  for (int i = 0; i < kTimelineFieldCount; ++i) form.fields[i] = FieldText(form, static_cast<TimelineField>(i));
  form.typing.reset();
}

void ShowLanes(TimelineForm& form) {
  const int count = static_cast<int>(Entries(form).size());
  const TSceneSeqEntry* open = form.selected >= 0 && form.selected < count ? &Entries(form)[form.selected] : nullptr;
  form.geometry.lanesEntry = open ? form.selected : -1;
  form.geometry.laneCount = open ? static_cast<int>(open->Tracks.size()) : 0;
  if (form.keys.entry != form.geometry.lanesEntry) form.keys = {form.geometry.lanesEntry, {}};
  std::erase_if(form.keys.keys, [open](const KeyRef& key) {
    const AutomationTrack* track = open ? FindTrack(open->Tracks, key.param) : nullptr;
    return !track || key.index >= track->Keys.size();
  });
}

void RecordTimelineChange(TimelineForm& form, const std::function<void()>& change) {
  Recorded(form, std::nullopt, change);
  ShowTimelineFields(form);
}

void SelectEntry(TimelineForm& form, int entry) {
  const int count = static_cast<int>(Entries(form).size());
  form.selected = entry >= 0 && entry < count ? entry : -1;
  ShowSelected(form);
  if (form.host.history) EndTyping(*form.host.history, form.host.scene->LiveParams);
  ShowTimelineFields(form);
}

void PressAt(TimelineForm& form, int xPx, int yPx, bool loopDrag) {
  const TimelineHit hit = HitTest(form.geometry, *form.host.sequence, xPx, yPx);
  const uint32_t pointerMs = TimeOfPixel(form.geometry, xPx);
  form.drag = {};
  if (hit.spot == TimelineSpot::Axis) {
    form.drag.spot = TimelineSpot::Axis;
    form.drag.loop = loopDrag;
    form.drag.grabMs = pointerMs;
    if (!loopDrag && form.host.Seek) form.host.Seek(pointerMs);
    if (!loopDrag) form.geometry.view.followCursor = true;
    return;
  }
  if (hit.spot == TimelineSpot::None) return;
  if (hit.spot == TimelineSpot::Lane) return PressInLane(form, xPx, yPx, {});
  SelectEntry(form, hit.entry);
  if (hit.spot == TimelineSpot::Row) return;
  form.drag.spot = hit.spot;
  form.drag.entry = hit.entry;
  form.drag.grabMs = pointerMs;
  form.drag.grabXPx = xPx;
  form.drag.original = Entries(form)[hit.entry];
  form.drag.before = TimelineSnapshot(form);
}

void DragTo(TimelineForm& form, int xPx, int yPx, bool snapOff) {
  const uint32_t pointerMs = TimeOfPixel(form.geometry, xPx);
  switch (form.drag.spot) {
    case TimelineSpot::None:
    case TimelineSpot::Row: return;
    case TimelineSpot::Lane: return DragInLane(form, xPx, yPx, snapOff);
    case TimelineSpot::Axis:
      if (!form.drag.loop) {
        if (form.host.Seek) form.host.Seek(pointerMs);
      } else if (form.host.SetLoop && pointerMs != form.drag.grabMs) {
        form.host.SetLoop(std::min(pointerMs, form.drag.grabMs), std::max(pointerMs, form.drag.grabMs));
      }
      return;
    default:
      if (form.drag.entry >= static_cast<int>(Entries(form).size())) return;
      if (!form.drag.moved && std::abs(xPx - form.drag.grabXPx) < kDragStartPx) return;
      form.drag.moved = true;
      DragEntry(form, pointerMs, snapOff);
      ShowTimelineFields(form);
      Changed(form);
  }
}

void Release(TimelineForm& form) {
  const TimelineDrag drag = std::move(form.drag);
  form.drag = {};
  if (drag.spot == TimelineSpot::None || drag.spot == TimelineSpot::Axis) return;
  if (form.host.history)
    RecordSequenceChange(*form.host.history, form.host.scene->LiveParams, drag.before, TimelineSnapshot(form),
                         std::nullopt);
  if (drag.spot == TimelineSpot::Lane) ReleasedInLane(form, drag);
}

namespace {

// "guess": an empty bpm filled from the onset envelope's tempo, one undo step.
void GuessBpmFromMusic(TimelineForm& form) {
  if (form.bpm) return form.host.ShowMessage(kMsgGuessNeedsEmptyBpm);
  const std::shared_ptr<const SoundEnvelopes>& envelopes = form.host.scene->Envelopes;
  const std::optional<double> guess =
      envelopes ? GuessBpm(envelopes->levels[size_t(SoundSource::Onset)]) : std::nullopt;
  if (!guess) return form.host.ShowMessage(kMsgGuessNoBeat);
  Recorded(form, std::nullopt, [&] {
    form.bpm = guess;
    SetNotesBpm(form.notes, form.bpm);
  });
}

}  // namespace

void ClickTimelineButton(TimelineForm& form, TimelineButton button) {
  if (form.host.history) EndTyping(*form.host.history, form.host.scene->LiveParams);
  const int selected = form.selected;
  switch (button) {
    case TimelineButton::Add:
      Insert(form, static_cast<int>(Entries(form).size()), NewEntry(form), kEntrySeparator);
      break;
    case TimelineButton::Duplicate:
      if (selected >= 0) {
        TSceneSeqEntry copy = Entries(form)[selected];
        const uint32_t lengthMs = copy.EndTime - std::min(copy.StartTime, copy.EndTime);
        copy.StartTime = std::min<uint32_t>(copy.EndTime + 1, kMaxEffectTime);
        copy.EndTime = std::min<uint32_t>(copy.StartTime + lengthMs, kMaxEffectTime);
        Insert(form, selected + 1, copy, form.notes.separators[selected]);
      }
      break;
    case TimelineButton::Delete:
      if (selected >= 0)
        Recorded(form, std::nullopt, [&] {
          Entries(form).erase(Entries(form).begin() + selected);
          form.notes.separators.erase(form.notes.separators.begin() + selected);
        });
      break;
    case TimelineButton::Up: Swap(form, selected, selected - 1); break;
    case TimelineButton::Down: Swap(form, selected, selected + 1); break;
    case TimelineButton::Save: Save(form); break;
    case TimelineButton::AddTrack: AddTrackForSelectedParam(form); break;
    case TimelineButton::GuessBpm: GuessBpmFromMusic(form); break;
  }
  ShowTimelineFields(form);
}

void SwitchPreview(TimelineForm& form, bool on) { form.preview = on; }

void TypeTimelineText(TimelineForm& form, TimelineField field, const std::string& text) {
  const int index = static_cast<int>(field);
  if (form.fields[index] == text) return;
  form.fields[index] = text;
  form.typing = field;
}

void FinishTimelineText(TimelineForm& form, TimelineField field) {
  const int index = static_cast<int>(field);
  form.typing.reset();
  if (form.host.history) EndTyping(*form.host.history, form.host.scene->LiveParams);
  const std::string text = form.fields[index];
  if (IsEntryField(field) && form.selected < 0) return;
  const bool followField = field == TimelineField::FollowGain || field == TimelineField::FollowOffset;
  if ((field == TimelineField::KeyValue && form.keys.keys.empty()) || (followField && SelectedFollowParam(form) < 0)) {
    form.fields[index] = "";
    return;
  }
  if (text.empty() && field != TimelineField::Bpm) {
    form.fields[index] = FieldText(form, field);  // an emptied field shows the value kept
    return;
  }
  const FieldValue parsed = field == TimelineField::KeyValue ? ParseKeyValue(form, text) : ParseField(field, text);
  if (!parsed.fault.empty()) {
    form.fields[index] = FieldText(form, field);  // before the message: its box takes the focus
    form.host.ShowMessage(parsed.fault);
    return;
  }
  if (text == FieldText(form, field)) return;
  Recorded(form, std::nullopt, [&] {
    if (field == TimelineField::KeyValue) return SetSelectedKeyValues(form, static_cast<float>(*parsed.value));
    if (followField) return SetSelectedFollowNumber(form, field, static_cast<float>(*parsed.value));
    if (field != TimelineField::Bpm) return Store(form, field, *parsed.value);
    form.bpm = parsed.value;
    SetNotesBpm(form.notes, form.bpm);
  });
  form.fields[index] = FieldText(form, field);
}

void FinishTimelineTyping(TimelineForm& form) {
  if (form.typing) FinishTimelineText(form, *form.typing);
}
