#pragma once
// The timeline window as plain data and the handlers of what the user does in it, with no window
// toolkit: the window mirrors this model and reports events to it; tests drive it without a screen.
// Every change of the sequence lands in host.sequence (the one the frames draw), counts up the form's
// revision and is one step in the undo history the tweak window shares. Times are ms of demo time,
// positions pixels.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scene/scene_update.h"
#include "scene/sequence_file.h"
#include "timeline/key_lanes.h"
#include "timeline/timeline_geometry.h"
#include "tweak/tweak_host.h"
#include "authoring/undo_history.h"

// What the timeline needs from the running program; it outlives the form.
struct TimelineHost {
  SceneSequence* sequence = nullptr;  // edited in place; the next frame draws it
  SceneState* scene = nullptr;        // the live set (for undo) and the presets' count
  UndoHistory* history = nullptr;     // the tweak window's
  std::string dataDir = "data";       // the sequence is dataDir/sceneseq.txt
  bool readOnly = false;              // the installed demo: "save sequence" is off

  std::function<void(uint32_t demoTimeMs)> Seek;               // jump as the running-timing reset does
  std::function<void(uint32_t inMs, uint32_t outMs)> SetLoop;  // the section loop (F6/F7)
  std::function<void()> SequenceSaved;                         // the file was written by us: no reload
  std::function<void(const std::string&)> ShowMessage;
  // A key (an X keysym) no control of the window used: as TweakHost::Key.
  std::function<bool(int keysym, bool ctrl, bool shift)> Key;
};

// The eight numbers of an entry, then the sequence's length, ratio, the timeline's beats per minute and
// the value of the selected keys.
enum class TimelineField {
  Preset,
  Start,
  End,
  Factor,
  Offset,
  Wobble,
  Frequency,
  Amplitude,
  Length,
  Ratio,
  Bpm,
  KeyValue,
  FollowGain,
  FollowOffset
};
inline constexpr int kTimelineFieldCount = 14;
inline constexpr int kEntryFieldCount = 8;

enum class TimelineButton { Add, Duplicate, Delete, Up, Down, Save, AddTrack, GuessBpm };
inline constexpr int kTimelineButtonCount = 8;

// How far the pointer moves before a pressed bar (or end) follows it: a click with a shaking hand moves nothing.
inline constexpr int kDragStartPx = 3;

struct TimelineDrag {
  TimelineSpot spot = TimelineSpot::None;  // None: no drag; Axis: seeking (or the loop with the loop flag)
  bool loop = false;
  int entry = -1;
  uint32_t grabMs = 0;  // the demo time under the pointer when the drag began
  int grabXPx = 0;      // the pointer's x then
  bool moved = false;   // the pointer went kDragStartPx away from it: the entry follows
  TSceneSeqEntry original;
  SequenceSnapshot before;
  // In a lane: the key pressed (none: a click adds a key, a drag draws a box) and the keys selected at
  // the press (those a drag moves, or those the box adds to).
  int lane = -1;
  std::optional<KeyRef> grabbedKey;
  std::vector<KeyRef> pressSelection;
  bool scale = false;           // the drag scales the keys' times around the first of them
  bool addToSelection = false;  // the press toggles a key, the box adds to the selection
  bool snapOff = false;         // as the pointer last moved (Alt held)
  int grabYPx = 0, pointerXPx = 0, pointerYPx = 0;
};

// The keys selected in the selected entry's lanes, in KeyRef order.
struct KeySelection {
  int entry = -1;
  std::vector<KeyRef> keys;
};

struct TimelineForm {
  explicit TimelineForm(TimelineHost& h) : host(h) {}
  TimelineHost& host;
  SequenceNotes notes;
  int selected = -1;                                    // entry, -1 for none
  std::array<std::string, kTimelineFieldCount> fields;  // the texts shown
  std::optional<TimelineField> typing;                  // the field typed in and not finished yet
  std::optional<double> bpm;
  bool preview = false;       // the output draws the whole sequence
  uint64_t revision = 0;      // counts the changes of the sequence and its notes
  TimelineGeometry geometry;  // of the drawing area: its size set by the window
  TimelineDrag drag;
  std::string title;   // the window's title, "timeline" and a "*" while the sequence has unsaved changes
  std::string status;  // the status line: saved, unsaved changes, a change on disk
  // What the program around shows the timeline, brought up to date at every frame and by its requests.
  uint32_t cursorMs = 0;                        // the demo time of the last frame
  std::optional<uint32_t> loopInMs, loopOutMs;  // the section loop
  int pickedPreset = -1;                        // the preset picked in the tweak window's "set"; -1: none
  int selectedParam = -1;                       // the parameter selected in the tweak window; -1: none
  KeySelection keys;
};

// The sequence with its notes as the timeline holds them now.
SequenceSnapshot TimelineSnapshot(const TimelineForm& form);

// Reads the notes of the sequence file and fills the fields.
void SetUpTimeline(TimelineForm& form);
// Puts the sequence and its notes in place (an undo step, say).
void PutTimelineSnapshot(TimelineForm& form, const SequenceSnapshot& snapshot);
// The sequence was read again from its file (hot reload): new notes, selection kept when it still exists.
void TimelineSequenceReloaded(TimelineForm& form);

// Mouse in the drawing area. Left button on the axis seeks (and drags the time); with loopDrag (the
// right button or Shift) it sets the section loop to the dragged range. On a bar it selects the entry
// and moves it, on a bar's end it moves that end; times snap (timeline_snap.h) unless snapOff (Alt held),
// and no entry is dragged past the demo's end. An entry follows only once the pointer moved kDragStartPx
// from where it was pressed, and a drag that leaves the sequence as it was is no undo step; one drag is
// one undo step. A press in a lane is PressInLane's (lane_editing.h); DragTo and Release go on with it.
void PressAt(TimelineForm& form, int xPx, int yPx, bool loopDrag);
void DragTo(TimelineForm& form, int xPx, int yPx, bool snapOff = false);
void Release(TimelineForm& form);

void SelectEntry(TimelineForm& form, int entry);  // -1 clears; the rows scroll to show the entry
// The selected entry's lanes open in the geometry, one per track, and the key selection holds only keys
// that exist (after the sequence changed from outside the timeline, say).
void ShowLanes(TimelineForm& form);
// Runs a change of the sequence as one undo step; the lanes and fields follow.
void RecordTimelineChange(TimelineForm& form, const std::function<void()>& change);
void ClickTimelineButton(TimelineForm& form, TimelineButton button);
void SwitchPreview(TimelineForm& form, bool on);

// Typing in a field only changes its text. Finishing it (Enter, leaving the field) stores the value when
// the whole text is one the field takes, as one undo step; a bad text stores nothing, gets its message
// and the field shows the value kept again, as an emptied field does (an empty bpm: no beats).
void TypeTimelineText(TimelineForm& form, TimelineField field, const std::string& text);
void FinishTimelineText(TimelineForm& form, TimelineField field);
// The field typed in counts as finished (before quitting, say): its text is stored when valid.
void FinishTimelineTyping(TimelineForm& form);

// The fields show the model's values again (after an undo, say); keystrokes not finished there are dropped.
void ShowTimelineFields(TimelineForm& form);

// The bar's caption: the preset number and its file name, "3 scene3.txt".
std::string EntryLabel(const TSceneSeqEntry& entry);
