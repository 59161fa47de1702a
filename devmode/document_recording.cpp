#include "devmode/document_recording.h"

#include <algorithm>

#include "devmode/devmode_messages.h"
#include "devmode/key_recording.h"
#include "scene/automation.h"
#include "tweak/live_set_state.h"
#include "tweak/param_editing.h"
#include "tweak/user_events.h"

namespace {

const TSceneSeqEntry& SelectedEntry(const DevDocument& document) {
  return document.engine.sequence.SequenceEntries[static_cast<size_t>(document.timeline->selected)];
}

uint32_t LocalMs(const DevDocument& document) {
  return document.engine.clock.DemoTime - SelectedEntry(document).StartTime;
}

// What the preview draws for the selected entry at the cursor.
TScene1ParamIArray EntryValues(const DevDocument& document) {
  const TSceneSeqEntry& entry = SelectedEntry(document);
  const TweakForm& form = *document.tweak;
  TScene1ParamIArray values = entry.PresetNumber == form.controls.PresetList.selected
                                  ? TakeLiveSet(form).params
                                  : document.engine.scene.ScenePresets[entry.PresetNumber];
  ApplyTracks(entry.Tracks, LocalMs(document), values);
  return values;
}

// The tweak window shows the entry's values at the cursor; its fields only while none is typed in.
void ShowEntryAtCursor(DevDocument& document) {
  TweakForm& form = *document.tweak;
  TweakControls& c = form.controls;
  const std::string shown = c.BaseVal.text + '\n' + c.Osc1.text + '\n' + c.Osc2.text;
  document.engine.scene.LiveParams = EntryValues(document);
  if (!form.typingFrom && c.BaseVal.enabled) (void)ShowSelectedParam(form);
  if (shown != c.BaseVal.text + '\n' + c.Osc1.text + '\n' + c.Osc2.text) form.changed = true;
}

bool OscillatorChanged(const TScene1ParamInterface& before, const TScene1ParamInterface& after) {
  return before.OscForm != after.OscForm || before.Osc1 != after.Osc1 || before.Osc2 != after.Osc2;
}

}  // namespace

std::string RecordingBlocked(const DevDocument& document) {
  if (!document.tweak || !document.timeline || !document.timeline->preview) return kNoticeRecNoPreview;
  const int selected = document.timeline->selected;
  if (selected < 0 || selected >= static_cast<int>(document.engine.sequence.SequenceEntries.size()))
    return kNoticeRecNoEntry;
  const TSceneSeqEntry& entry = SelectedEntry(document);
  if (!EntryVisible(entry, document.engine.clock.DemoTime)) return kNoticeRecOutsideEntry;
  if (entry.PresetNumber >= document.engine.scene.PresetCount ||
      entry.PresetNumber >= document.engine.scene.ScenePresets.size())
    return kNoticeRecNoPreset;
  return "";
}

void FollowRecording(DevDocument& document) {
  if (!document.tweak) return;
  TweakForm& form = *document.tweak;
  const std::string blocked = form.controls.RecordKeys ? RecordingBlocked(document) : "";
  if (blocked != document.recordingBlocked) {
    document.recordingBlocked = blocked;
    if (!blocked.empty()) {
      form.controls.notice = blocked;
      form.changed = true;
    }
  }
  if (!form.controls.RecordKeys || !blocked.empty()) {
    ReleaseLiveSet(form);
    document.gesture.reset();
    return;
  }
  HoldLiveSet(form);
  ShowEntryAtCursor(document);
}

std::string RecordKeys(DevDocument& document, const TScene1ParamIArray& before, const TScene1ParamIArray& after,
                       std::optional<int> run, bool typing) {
  if (SameParams(before, after)) return "";
  if (std::string blocked = RecordingBlocked(document); !blocked.empty()) return blocked;
  TweakForm& form = *document.tweak;
  if (!form.heldLiveSet) {  // "rec" came on since the last frame: the edit was made on the live set
    document.engine.scene.LiveParams = before;
    HoldLiveSet(form);
  }
  const int entry = document.timeline->selected;
  const uint32_t localMs = LocalMs(document);
  KeyGesture* gesture = document.gesture ? &*document.gesture : nullptr;
  if (!gesture || !run || gesture->run != run || form.history.typingIn != run || gesture->entry != entry) {
    const std::optional<uint32_t> typedAtMs = typing ? std::optional(localMs) : std::nullopt;
    gesture = &document.gesture.emplace(KeyGesture{run, entry, TimelineSnapshot(*document.timeline), typedAtMs, {}});
  }
  const uint32_t atMs = gesture->typedAtMs.value_or(localMs);
  std::string notice;
  for (int i = 0; i < kParamCount; ++i) {
    if (before[i].BaseVal != after[i].BaseVal) {
      const KeyRange range = ParamKeyRange(i);
      const double value = std::clamp<double>(after[i].BaseVal, range.minimum, range.maximum);
      AddSample(i, gesture->params[i], atMs, static_cast<float>(value));
    }
    if (OscillatorChanged(before[i], after[i])) notice = kNoticeRecBaseValuesOnly;
  }
  if (!gesture->params.empty()) {
    AutomationTracks& tracks = document.engine.sequence.SequenceEntries[static_cast<size_t>(entry)].Tracks;
    tracks =
        RecordedTracks(gesture->before.sequence.SequenceEntries[static_cast<size_t>(entry)].Tracks, gesture->params);
    RecordSequenceChange(form.history, form.heldLiveSet->params, gesture->before, TimelineSnapshot(*document.timeline),
                         run);
    ++document.timeline->revision;
  }
  ShowEntryAtCursor(document);
  return notice;
}
