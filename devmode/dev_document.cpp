#include "devmode/dev_document.h"

#include <algorithm>
#include <filesystem>

#include "authoring/undo_history.h"
#include "engine/playback.h"
#include "devmode/sequence_preview.h"
#include "scene/preset_file.h"
#include "scene/safe_file.h"
#include "tweak/live_set_state.h"
#include "tweak/param_editing.h"
#include "tweak/preset_operations.h"
#include "tweak/time_control.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"
#include "devmode/authoring_wiring.h"
#include "devmode/document_recording.h"
#include "devmode/quit_signals.h"
#include "devmode/recovery_file.h"
#include "timeline/timeline_messages.h"
#include "devmode/devmode_messages.h"

namespace {

// The answer's index; nullopt when the question could not be asked now.
std::optional<size_t> Ask(DevDocument& document, const std::string& question, const std::vector<std::string>& answers) {
  if (!document.windows.Ask) return std::nullopt;
  document.asking = true;
  const std::optional<size_t> answer = document.windows.Ask(question, answers);
  document.asking = false;
  if (!answer) return std::nullopt;
  return std::min(*answer, answers.size() - 1);
}

// The tweak window shows its model again at the next frame (the timeline shows its own at every frame).
void Refresh(DevDocument& document) {
  if (document.tweak) document.tweak->changed = true;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool LiveSetUnsaved(const DevDocument& document) { return document.tweak && LiveSetUnsaved(*document.tweak); }

// The tweak window's info and time range follow the sequence's length and count.
void ShowSequenceInTweak(DevDocument& document) {
  if (!document.tweak) return;
  document.tweakHost.DemoLength = document.engine.sequence.DemoLength;
  document.tweakHost.SequenceCount = document.engine.SequenceCount;
  SequenceChanged(*document.tweak);
}

// The preset list and the info follow presets that appeared on disk.
void ShowPresetCount(DevDocument& document) {
  TweakForm& form = *document.tweak;
  const int count = document.engine.scene.PresetCount;
  if (static_cast<int>(form.controls.PresetList.items.size()) == count) return;
  form.controls.PresetList.items = PresetListItems(count);
  UpdateInfo(form);
}

void PresetReloaded(DevDocument& document, int presetNumber) {
  TweakForm& form = *document.tweak;
  ShowPresetCount(document);
  if (presetNumber == form.controls.PresetList.selected && LiveSetUnsaved(form)) {
    document.heldPreset = presetNumber;
    form.controls.notice = PresetFileName(presetNumber) + kChangedOnDiskHeld;
  } else {
    PresetFileReloaded(form, presetNumber);
  }
  Refresh(document);
}

void SequenceReloaded(DevDocument& document) {
  ShowSequenceInTweak(document);
  if (document.timeline) {
    TimelineSequenceReloaded(*document.timeline);
    document.savedSequence = TimelineSnapshot(*document.timeline);
    document.countedRevision.reset();
  }
  document.sequenceHeld = false;
  Refresh(document);
}

// The sequence file read again on the user's request, as one undo step.
void ReloadHeldSequence(DevDocument& document) {
  TimelineForm& timeline = *document.timeline;
  const SequenceSnapshot before = TimelineSnapshot(timeline);
  ReloadSequenceFile(document.watch, document.engine.sequence, document.engine.SequenceCount, document.events);
  if (UndoHistory* history = document.timelineHost.history)
    RecordSequenceChange(*history, document.engine.scene.LiveParams, before, TimelineSnapshot(timeline), std::nullopt);
}

// An earlier session's file is removed only once it was offered.
void RemoveRecovery(DevDocument& document) {
  if (document.recoveryPath.empty() || !document.recoveryOffered) return;
  std::error_code ignored;
  std::filesystem::remove(document.recoveryPath, ignored);
  document.recoveryWritten.clear();
}

// What the file at fullName holds now: the defaults when it cannot be read (the set then shows as unsaved).
TScene1ParamIArray FileContent(const std::string& fullName) {
  TScene1ParamIArray content = InitParamTable();
  std::optional<TextLines> lines;
  if (TextLines::FromFile(fullName, lines).empty()) {
    try {
      ReadScenePreset(*lines, content);
    } catch (const std::runtime_error&) {
      content = InitParamTable();
    }
  }
  return content;
}

// The recovered work in place, unsaved, each part one undo step.
void RestoreWork(DevDocument& document, const RecoveredWork& work) {
  TweakForm& form = *document.tweak;
  if (work.liveSet) {
    const LiveSetState before = TakeLiveSet(form);
    NoteFileContent(form, work.liveSet->source.savedFile, FileContent(work.liveSet->source.savedFile));
    PutLiveSet(form, *work.liveSet);
    RecordChange(form.history, before, TakeLiveSet(form), std::nullopt);
    ShowNoParam(form);
  }
  if (work.sequence && document.timeline) {
    const SequenceSnapshot before = TimelineSnapshot(*document.timeline);
    PutTimelineSnapshot(*document.timeline, *work.sequence);
    RecordSequenceChange(form.history, document.engine.scene.LiveParams, before, *work.sequence, std::nullopt);
  }
}

// "1 unsaved change", "3 unsaved changes".
std::string UnsavedChangesText(int changes) {
  return std::to_string(changes) + kStatusUnsavedChange + (changes == 1 ? "" : "s");
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? separator : "") + parts[i];
  return text;
}

std::string UnsavedWorkText(const DevDocument& document) {
  std::vector<std::string> parts;
  if (LiveSetUnsaved(document)) {
    std::string part = kUnsavedLiveSet;
    if (!document.tweak->savedSetFile.empty())
      part += kUnsavedLiveSetFrom + FileName(document.tweak->savedSetFile) + ")";
    parts.push_back(part);
  }
  if (SequenceUnsaved(document))
    parts.push_back(kUnsavedSequence + UnsavedChangesText(UnsavedSequenceChanges(document)) + ")");
  return kUnsavedWork + Joined(parts, kUnsavedAnd);
}

// The timeline's status line for the sequence's count of unsaved changes.
std::string StatusLine(const DevDocument& document, int changes) {
  std::vector<std::string> parts;
  if (document.sequenceHeld) parts.push_back(FileName(document.watch.sequence.path) + kChangedOnDiskHeld);
  if (changes > 0) parts.push_back(UnsavedChangesText(changes));
  else if (!document.sequenceSavedAt.empty()) parts.push_back(kStatusSequenceSaved + document.sequenceSavedAt);
  return Joined(parts, kStatusSeparator);
}

// Undo or redo in the history the tweak window and the timeline share.
void UndoOrRedo(DevDocument& document, bool redo) {
  std::optional<SequenceSnapshot> sequence;
  if (document.timeline) sequence = TimelineSnapshot(*document.timeline);
  SequenceSnapshot* edited = sequence ? &*sequence : nullptr;
  if (redo) RedoChange(*document.tweak, edited);
  else UndoChange(*document.tweak, edited);
  if (sequence && !(*sequence == TimelineSnapshot(*document.timeline)))
    PutTimelineSnapshot(*document.timeline, *sequence);
  // Keystrokes not finished in a timeline field end here: every field shows what is stored.
  if (document.timeline) ShowTimelineFields(*document.timeline);
}

// The engine's count and the tweak window's info and time range follow the timeline's changes.
void FollowTimeline(DevDocument& document) {
  if (!document.timeline || document.timeline->revision == document.followedRevision) return;
  document.followedRevision = document.timeline->revision;
  document.engine.SequenceCount = static_cast<uint8_t>(document.engine.sequence.SequenceEntries.size());
  ShowSequenceInTweak(document);
  Refresh(document);
}

// The timeline shows the demo time, the section loop, the preset picked in "set" and the parameter
// selected in the tweak window (for "add track") as they are now.
void ShowClockInTimeline(DevDocument& document) {
  if (!document.timeline) return;
  TimelineForm& timeline = *document.timeline;
  timeline.cursorMs = document.engine.clock.DemoTime;
  if (document.authoring) {
    timeline.loopInMs = document.authoring->clock.loopInMs;
    timeline.loopOutMs = document.authoring->clock.loopOutMs;
  }
  if (!document.tweak) return;
  timeline.pickedPreset = document.tweak->controls.PresetList.selected;
  timeline.selectedParam = document.tweak->controls.ParamList.selected;
}

// The count of unsaved changes, counted again only when the sequence or its saved state changed.
int CountUnsavedChanges(DevDocument& document) {
  if (document.countedRevision != document.timeline->revision) {
    document.unsavedChanges = UnsavedSequenceChanges(document);
    document.countedRevision = document.timeline->revision;
  }
  return document.unsavedChanges;
}

std::optional<ClockCommand> ClockCommandOf(DevCommand command) {
  switch (command) {
    case DevCommand::TogglePause: return ClockCommand::TogglePause;
    case DevCommand::SetLoopIn: return ClockCommand::SetLoopIn;
    case DevCommand::SetLoopOut: return ClockCommand::SetLoopOut;
    case DevCommand::ClearLoop: return ClockCommand::ClearLoop;
    default: return std::nullopt;
  }
}

}  // namespace

void ConnectDocument(DevDocument& document) {
  DemoEngine& engine = document.engine;
  if (document.authoring) ConnectAuthoringClock(*document.authoring, engine);
  WatchDataFiles(document.watch, engine.settings.dataDir, engine.scene.PresetCount);
  document.events.Report = engine.host.ShowMessage;
}

void FillDocumentTweakHost(DevDocument& document, bool developmentMode) {
  TweakHost& host = document.tweakHost;
  FillTweakHost(host, document.engine, developmentMode, document.watch);
  if (!developmentMode) return;
  host.ShutdownDemo = [&document] { RequestQuit(document); };
  host.Key = [&document](int keysym, bool ctrl, bool shift) { return DevKey(document, keysym, ctrl, shift); };
  host.Ask = [&document](const std::string& question, const std::vector<std::string>& answers) {
    return Ask(document, question, answers);
  };
  host.Confirm = [&document](const std::string& question, const std::string& yes) {
    return Ask(document, question, {yes, kAnswerCancel}) == std::optional<size_t>(0);
  };
  host.RecordKeys = [&document](const TScene1ParamIArray& before, const TScene1ParamIArray& after,
                                std::optional<int> run, bool typing) {
    return RecordKeys(document, before, after, run, typing);
  };
}

void AttachTweak(DevDocument& document, TweakForm& form) {
  document.tweak = &form;
  document.engine.host.ShowNotice = [&form](const std::string& text) {
    if (form.controls.notice == text) return;
    form.controls.notice = text;
    form.changed = true;
  };
  if (!document.tweakHost.readOnly) {
    document.recoveryPath = RecoveryPath(document.engine.settings.dataDir);
    RemoveStaleSaves(document.engine.settings.dataDir);  // what a save killed at the wrong moment left
  }
  // The reload's report went to the engine's messages in ConnectDocument; its events now go to the document.
  document.events.PresetReloaded = [&document](int presetNumber) { PresetReloaded(document, presetNumber); };
  document.events.SequenceReloaded = [&document] { SequenceReloaded(document); };
  document.events.SequenceHasOwnEdits = [&document] { return SequenceUnsaved(document); };
  document.events.SequenceHeldBack = [&document] {
    document.sequenceHeld = true;
    document.sequenceReloadOffered = false;
  };
  AttachControllers(document);
}

void FillDocumentTimelineHost(DevDocument& document) {
  DemoEngine& engine = document.engine;
  TimelineHost& host = document.timelineHost;
  host.sequence = &engine.sequence;
  host.scene = &engine.scene;
  host.history = &document.tweak->history;
  host.dataDir = engine.settings.dataDir;
  host.readOnly = document.tweakHost.readOnly;
  host.Seek = [&document](uint32_t demoTimeMs) { (void)SeekDemo(document, demoTimeMs); };
  if (AuthoringSession* session = document.authoring.get()) {
    host.SetLoop = [&document, session](uint32_t inMs, uint32_t outMs) {
      SetLoopIn(session->clock, inMs);
      SetLoopOut(session->clock, outMs);
      ShowLoopInfo(session->clock, *document.tweak);
      ShowClockInTimeline(document);
      Refresh(document);
    };
  }
  host.SequenceSaved = [&document] {
    NoteOwnWrite(document.watch, document.watch.sequence.path);
    document.savedSequence = TimelineSnapshot(*document.timeline);
    document.countedRevision.reset();
    document.sequenceSavedAt = document.windows.WallClock ? document.windows.WallClock() : "";
    document.sequenceHeld = false;
  };
  host.ShowMessage = document.engine.host.ShowMessage;
  host.Key = [&document](int keysym, bool ctrl, bool shift) { return DevKey(document, keysym, ctrl, shift); };
}

void AttachTimeline(DevDocument& document, TimelineForm& form) {
  document.timeline = &form;
  document.savedSequence = TimelineSnapshot(form);
  document.followedRevision = form.revision;
  document.countedRevision.reset();
  ShowClockInTimeline(document);
}

bool SequenceUnsaved(const DevDocument& document) {
  return document.timeline && !(*document.timeline->host.sequence == document.savedSequence.sequence &&
                                document.timeline->notes == document.savedSequence.notes);
}

int UnsavedSequenceChanges(const DevDocument& document) {
  if (!SequenceUnsaved(document)) return 0;
  const SceneSequence& now = *document.timeline->host.sequence;
  const SequenceNotes& nowNotes = document.timeline->notes;
  const SceneSequence& saved = document.savedSequence.sequence;
  const SequenceNotes& savedNotes = document.savedSequence.notes;
  // Entries: the larger of those gone and those new, so that an edited entry counts once and a deleted
  // one does not count the ones after it; a new order alone counts once.
  std::vector<TSceneSeqEntry> gone = saved.SequenceEntries;
  std::vector<TSceneSeqEntry> added;
  for (const TSceneSeqEntry& entry : now.SequenceEntries) {
    const auto match = std::find(gone.begin(), gone.end(), entry);
    if (match == gone.end()) added.push_back(entry);
    else gone.erase(match);
  }
  int changes = static_cast<int>(std::max(gone.size(), added.size()));
  if (changes == 0 && !(saved.SequenceEntries == now.SequenceEntries)) changes = 1;
  changes += saved.DemoLength != now.DemoLength;
  changes += saved.ScreenCinemaWidthRatio != now.ScreenCinemaWidthRatio;
  changes += saved.Mp3FileName != now.Mp3FileName;
  changes += !(savedNotes.comments == nowNotes.comments) || !(savedNotes.labels == nowNotes.labels);
  return std::max(changes, 1);  // a separator line that moved alone is a change too
}

bool WorkUnsaved(const DevDocument& document) { return LiveSetUnsaved(document) || SequenceUnsaved(document); }

void RequestQuit(DevDocument& document) {
  if (document.asking) return;
  if (document.timeline) FinishTimelineTyping(*document.timeline);
  if (WorkUnsaved(document)) {
    const size_t answer =
        Ask(document, UnsavedWorkText(document) + kUnsavedQuestion, {kAnswerSaveAll, kAnswerDiscard, kAnswerCancel})
            .value_or(2);
    Refresh(document);
    if (answer == 2 || (answer == 0 && !SaveAll(document))) return;
  }
  RemoveRecovery(document);  // saved, or discarded on purpose
  SaveControllersNow(document, 0);
  ShutdownDemo(document.engine);
}

bool SaveAll(DevDocument& document) {
  if (LiveSetUnsaved(document)) ClickButton(*document.tweak, TweakButton::Save);
  if (SequenceUnsaved(document)) ClickTimelineButton(*document.timeline, TimelineButton::Save);
  Refresh(document);
  return !WorkUnsaved(document);
}

bool SeekDemo(DevDocument& document, uint32_t demoTimeMs) {
  // Several seeks may come between two frames: each one starts from the time the last one set.
  DemoClock& clock = document.engine.clock;
  const bool moved = JumpStartTick(clock.StartTick, clock.DemoTime, static_cast<int32_t>(demoTimeMs));
  if (moved) clock.DemoTime = demoTimeMs;
  ShowClockInTimeline(document);
  return moved;
}

void RunDevCommand(DevDocument& document, DevCommand command) {
  if (const std::optional<ClockCommand> clockCommand = ClockCommandOf(command)) {
    const std::optional<double> bpm = document.timeline ? document.timeline->bpm : std::nullopt;
    if (document.authoring) ApplyClockCommand(*document.authoring, *clockCommand, document.tweak, bpm);
  } else if (command == DevCommand::Quit) {
    return RequestQuit(document);
  } else if (command == DevCommand::ShowWindows) {
    if (document.windows.ShowWindows) document.windows.ShowWindows();
  } else if (document.tweak && (command == DevCommand::Undo || command == DevCommand::Redo)) {
    UndoOrRedo(document, command == DevCommand::Redo);
  }
  Refresh(document);
}

bool DevKey(DevDocument& document, int keysym, bool ctrl, bool shift) {
  const std::optional<DevCommand> command = DevCommandOfKey(keysym, ctrl, shift);
  if (!command) return false;
  RunDevCommand(document, *command);
  return true;
}

bool OutputWindowKey(DevDocument& document, int keysym, bool ctrl, bool shift) {
  if (keysym == ' ' && !ctrl) {
    RunDevCommand(document, DevCommand::TogglePause);
    return true;
  }
  return DevKey(document, keysym, ctrl, shift);
}

namespace {

void OfferHeldReload(DevDocument& document) {
  if (document.asking || !document.tweak) return;
  // A preset held for edits that are gone since (saved, or another preset picked): nothing to ask.
  const TweakForm& form = *document.tweak;
  if (document.heldPreset && !(*document.heldPreset == form.controls.PresetList.selected && LiveSetUnsaved(form)))
    document.heldPreset.reset();
  const bool offerSequence = document.sequenceHeld && document.timeline && !document.sequenceReloadOffered;
  if (!document.heldPreset && !offerSequence) return;
  const std::string file =
      document.heldPreset ? PresetFileName(*document.heldPreset) : FileName(document.watch.sequence.path);
  // Enter, Escape and the close box keep the author's version.
  const std::optional<size_t> answer =
      Ask(document, file + kAskReloadChanged, {kAnswerKeepMine, kAnswerReload, kAnswerKeepMine});
  if (!answer) return;  // asked at a later poll
  if (document.heldPreset) {
    const int number = *document.heldPreset;
    document.heldPreset.reset();
    if (*answer == 1) PresetFileReloaded(*document.tweak, number);
  } else {
    document.sequenceReloadOffered = true;
    if (*answer == 1) ReloadHeldSequence(document);
  }
  Refresh(document);
}

}  // namespace

void EndOnQuitSignal(DevDocument& document, uint64_t wallMs) {
  const int signalNumber = ArrivedQuitSignal();
  if (signalNumber == 0) return;
  KeepRecovery(document, wallMs, true);
  SaveControllersNow(document, wallMs);
  EndByQuitSignal(signalNumber);
}

void PollDocument(DevDocument& document, uint64_t wallMs) {
  FollowTimeline(document);
  DemoEngine& engine = document.engine;
  PollDataFiles(document.watch, engine.scene, engine.sequence, engine.SequenceCount, document.events);
  OfferRecovery(document);
  OfferHeldReload(document);
  KeepRecovery(document, wallMs, false);
  PollControllers(document, wallMs);
}

void OfferRecovery(DevDocument& document) {
  if (document.recoveryOffered || document.asking || !document.tweak) return;
  if (document.recoveryPath.empty() || !EntryExists(document.recoveryPath)) {
    document.recoveryOffered = true;
    return;
  }
  RecoveredWork work;
  const std::string fault = ReadRecovery(document.recoveryPath, work);
  if (!fault.empty()) {
    document.recoveryOffered = true;  // the file stays until this session writes its own
    document.engine.host.ShowMessage(kMsgRecoveryUnreadable + fault);
    return;
  }
  std::vector<std::string> parts;
  if (work.liveSet) {
    const std::string& file = work.liveSet->source.savedFile;
    parts.push_back(std::string(kUnsavedLiveSet) + (file.empty() ? "" : kUnsavedLiveSetFrom + FileName(file) + ")"));
  }
  if (work.sequence) parts.push_back(kRestoredSequence);
  // Enter, Escape and the close box restore: only "discard" lets the work go.
  const std::optional<size_t> answer = Ask(document, kAskRestore + Joined(parts, kUnsavedAnd) + kAskRestoreQuestion,
                                           {kAnswerRestore, kAnswerDiscard, kAnswerRestore});
  if (!answer) return;  // asked at a later poll
  document.recoveryOffered = true;
  if (*answer == 1) RemoveRecovery(document);
  else RestoreWork(document, work);
  Refresh(document);
}

void KeepRecovery(DevDocument& document, uint64_t nowMs, bool now) {
  if (document.recoveryPath.empty() || !document.recoveryOffered) return;
  if (!WorkUnsaved(document)) {
    if (!document.recoveryWritten.empty()) RemoveRecovery(document);
    return;
  }
  if (!now && document.recoveryWrittenAtMs && nowMs - *document.recoveryWrittenAtMs < kRecoveryIntervalMs) return;
  RecoveredWork work{DataFolderPath(document.engine.settings.dataDir), std::nullopt, std::nullopt};
  if (LiveSetUnsaved(document)) work.liveSet = TakeLiveSet(*document.tweak);
  if (SequenceUnsaved(document)) work.sequence = TimelineSnapshot(*document.timeline);
  const std::string text = RecoveryText(work);
  if (text == document.recoveryWritten) return;
  const std::string fault = WriteRecovery(document.recoveryPath, text);
  if (!fault.empty()) {
    if (fault != document.recoveryFault) document.engine.host.ShowMessage(kMsgRecoveryNotWritten + fault);
    document.recoveryFault = fault;
    return;
  }
  document.recoveryWritten = text;
  document.recoveryWrittenAtMs = nowMs;
  document.recoveryFault.clear();
}

void DocumentFrame(DevDocument& document, uint32_t realMs) {
  DemoEngine& engine = document.engine;
  FollowTimeline(document);
  PollOsc(document);
  const uint32_t tickMs = document.authoring ? AuthoringBeforeFrame(*document.authoring, realMs) : realMs;
  const bool preview = engine.settings.developmentMode && document.timeline && document.timeline->preview;
  engine.liveSetOnly = engine.settings.developmentMode && !preview;
  FollowRecording(document);
  ControllersFrame(document);
  // While keys are recorded the preview draws the live set put aside, not the values the tweak window shows.
  TScene1ParamIArray* held =
      document.tweak && document.tweak->heldLiveSet ? &document.tweak->heldLiveSet->params : nullptr;
  if (held) std::swap(*held, engine.scene.LiveParams);
  {
    std::optional<LiveSetStandIn> standIn;
    if (preview) standIn.emplace(engine.scene, document.tweak ? document.tweak->controls.PresetList.selected : -1);
    DemoIdle(engine, tickMs);
  }
  if (held) std::swap(*held, engine.scene.LiveParams);
  if (document.authoring) AuthoringAfterFrame(*document.authoring);
  FollowOsc(document);
  ShowDocument(document);
}

void ShowDocument(DevDocument& document) {
  FollowTimeline(document);
  ShowClockInTimeline(document);
  if (document.timeline) {
    const int changes = CountUnsavedChanges(document);
    document.timeline->title = std::string(kTimelineCaption) + (changes > 0 ? kUnsavedMark : "");
    document.timeline->status = StatusLine(document, changes);
  }
  if (!document.tweak) return;
  const std::string caption = std::string(kCaptionRunning) + (LiveSetUnsaved(document) ? kUnsavedMark : "");
  if (document.tweak->controls.caption == caption) return;
  document.tweak->controls.caption = caption;
  Refresh(document);
}
