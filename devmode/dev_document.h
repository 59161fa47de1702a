#pragma once
// Development mode as one document: the live set the tweak window edits and the sequence the timeline
// edits, their shared undo history, the authoring clock, the sequence preview, the hot reload and the
// recovery file, with one answer to "is there unsaved work?". The document decides what quitting, an
// outside change of a file and the keys shared by the three windows do; it changes the windows' models
// and marks them, the program's frame step shows them, and the windows ask the user what it asks
// (DevWindows). A run outside development mode uses only the frame, the hot reload and the hidden tweak
// window's host. No window toolkit here.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "authoring/hot_reload.h"
#include "engine/demo_engine.h"
#include "scene/sequence_file.h"
#include "timeline/timeline_form.h"
#include "devmode/dev_keys.h"
#include "tweak/tweak_controls.h"
#include "devmode/authoring_session.h"
#include "devmode/key_recording.h"
#include "devmode/osc_control.h"
#include "devmode/controllers.h"

// What the document asks of the program around it; empty functions do nothing.
struct DevWindows {
  // A question and its answers: the first is Enter's, the safe one last (Escape's, and the close box's);
  // a question whose Enter answer is the safe one has it first and last (shown once). The index of the
  // answer picked, nullopt when it cannot be asked now (another box is open). Empty: nullopt.
  std::function<std::optional<size_t>(const std::string& question, const std::vector<std::string>& answers)> Ask;
  std::function<void()> ShowWindows;       // F2: the tweak window and the timeline, also after closing
  std::function<std::string()> WallClock;  // "14:02:11", for the status line
};

struct DevDocument {
  explicit DevDocument(DemoEngine& running) : engine(running) {}
  DemoEngine& engine;
  std::unique_ptr<AuthoringSession> authoring;  // development mode and --start only
  DataWatch watch;
  ReloadEvents events;
  TweakHost tweakHost;
  TweakForm* tweak = nullptr;  // the tweak window's model; development mode only
  TimelineHost timelineHost;
  TimelineForm* timeline = nullptr;  // the timeline's model once its window is open
  DevWindows windows;
  std::unique_ptr<OscControl> osc;  // --osc: the remote control, polled at every frame

  SequenceSnapshot savedSequence;           // the sequence as its file holds it (saved or read)
  std::string sequenceSavedAt;              // wall-clock time of the last save in this session
  std::optional<int> heldPreset;            // a picked preset's file changed on disk over an unsaved live set
  bool sequenceHeld = false;                // the sequence file changed on disk over unsaved sequence edits
  bool sequenceReloadOffered = false;       // the user was asked about the held sequence change already
  bool asking = false;                      // a question of the document is open
  uint64_t followedRevision = 0;            // the timeline's revision the engine and the tweak window follow
  std::optional<uint64_t> countedRevision;  // the timeline's revision unsavedChanges was counted at
  int unsavedChanges = 0;

  // The recovery file (devmode/recovery_file.h); empty outside development mode and on the installed demo.
  std::string recoveryPath;
  bool recoveryOffered = false;  // an earlier session's file was answered (or there was none)
  std::string recoveryWritten;   // the text this session last wrote there; empty while it wrote none
  std::optional<uint64_t> recoveryWrittenAtMs;
  std::string recoveryFault;  // the last failure to write it, shown once

  // Recording keys (devmode/document_recording.h): the gesture being recorded, and why the last frame
  // could not record ("" when it could or "rec" is off).
  std::optional<KeyGesture> gesture;
  std::string recordingBlocked;
  DocumentControllers controllers;  // MIDI controllers: development mode only
};

inline constexpr uint64_t kRecoveryIntervalMs = 10000;

// Once InitDemo succeeded and the demo clock started: the authoring clock (when there is a session) and
// the hot reload's watch and reports.
void ConnectDocument(DevDocument& document);

// Before the tweak window opens: its host, with "outta here" and F10 asking first, the shared keys and
// the overwrite question.
void FillDocumentTweakHost(DevDocument& document, bool developmentMode);
// Development mode, once the tweak window is set up: reloads and edits go through its model.
void AttachTweak(DevDocument& document, TweakForm& form);

// Before the timeline opens: its host, tied to the engine, the clock, the tweak window and the document.
void FillDocumentTimelineHost(DevDocument& document);
// Once the timeline is set up: the sequence as it stands counts as saved.
void AttachTimeline(DevDocument& document, TimelineForm& form);

// Whether the sequence differs from its file, and in how many places (entries, length, ratio, MP3, notes).
bool SequenceUnsaved(const DevDocument& document);
int UnsavedSequenceChanges(const DevDocument& document);
bool WorkUnsaved(const DevDocument& document);

// Quitting (Escape over the output, F10, "outta here", the output's close box): with unsaved work it
// asks once: save all (quits only when every save succeeded), discard, or cancel. A request while the
// question is open is ignored.
void RequestQuit(DevDocument& document);
// Saves the unsaved live set (to the file field's file) and the unsaved sequence; true when nothing is
// left unsaved.
bool SaveAll(DevDocument& document);

// Moves the demo to demoTimeMs from the next frame on, as the running timing's reset and the timeline do;
// false when the start tick would leave its range (nothing moves then).
bool SeekDemo(DevDocument& document, uint32_t demoTimeMs);

// A command of the keys shared by the three windows.
void RunDevCommand(DevDocument& document, DevCommand command);
// A key the tweak window or the timeline handed on: its shared command (dev_keys.h); true when it has one.
bool DevKey(DevDocument& document, int keysym, bool ctrl, bool shift);
// The output window's keys: Space pauses, the rest as DevKey. True when the key was used.
bool OutputWindowKey(DevDocument& document, int keysym, bool ctrl, bool shift);

// The hot reload's poll: the data files read again where they changed on disk, an earlier session's
// recovery file offered (OfferRecovery), a held outside change offered for reload once (the reload is
// one undo step), and the recovery file kept (KeepRecovery) at the program's wall clock wallMs.
void PollDocument(DevDocument& document, uint64_t wallMs);

// One frame at the program's tick realMs (its milliseconds): the engine and the tweak window follow the
// timeline's changes since the last frame, the remote control's messages are taken (PollOsc), the
// authoring clock gives the frame's tick, the recording of keys follows "rec" and the cursor
// (FollowRecording), the controllers' input is taken, DemoIdle draws (with the timeline's preview on:
// the whole sequence, the live set standing in for the preset picked in "set"), the remote control's
// followers get the frame's time (FollowOsc), and ShowDocument.
void DocumentFrame(DevDocument& document, uint32_t realMs);
// DocumentFrame's steps that draw nothing: the engine and the tweak window follow the timeline, the
// timeline shows the demo time, the section loop and the picked preset, the titles' "*" and the
// timeline's status line the unsaved work; a changed tweak title marks its model.
void ShowDocument(DevDocument& document);

// The recovery file. The first poll offers an earlier session's file (restore: the work comes back as
// one undo step, unsaved; discard: the file goes). From then on, while work is unsaved, its state is
// written there when it changed, at most every kRecoveryIntervalMs (at once with `now`: a signal ends
// the program); once nothing is unsaved (saved, undone, or discarded on quitting) the file is removed.
void OfferRecovery(DevDocument& document);
void KeepRecovery(DevDocument& document, uint64_t nowMs, bool now);
// A quit signal that arrived (devmode/quit_signals.h): the recovery file written, then the end by it.
void EndOnQuitSignal(DevDocument& document, uint64_t wallMs);
