#pragma once
// Editing keys in the selected entry's automation lanes, without a window toolkit. A click in a lane adds
// a key at the pointer holding the curve's value there (outside the entry's span it only clears the
// selection); a press on a key selects it (with addToSelection
// it toggles it) and a drag moves the selected keys in time, or with scale stretches their times around
// the first of them; a drag from an empty spot selects the keys in its box. Dragged and added times snap
// as entries do (the other keys are magnets too) unless snapOff (Alt held). A key never goes before its
// entry's start nor past its last ms, except that a key already past the end (the entry was shortened)
// stays where it is and is only dragged back. Every gesture is one undo step, and a press that moves
// less than kDragStartPx changes nothing.
#include <string>

#include "authoring/field_values.h"
#include "timeline/timeline_form.h"

// The entry whose lanes are open; nullptr when none is.
TSceneSeqEntry* OpenEntry(TimelineForm& form);
const TSceneSeqEntry* OpenEntry(const TimelineForm& form);

struct LanePress {
  bool scale = false;           // Shift: stretch the selected keys' times
  bool addToSelection = false;  // Ctrl: toggle the key, or add the box to the selection
  bool snapOff = false;         // Alt: the added key's time on the whole ms
};

void PressInLane(TimelineForm& form, int xPx, int yPx, LanePress press);
// The pointer moved with the button held (DragTo calls it).
void DragInLane(TimelineForm& form, int xPx, int yPx, bool snapOff);
// The button went up after a press in a lane (Release calls it after recording the drag's change).
void ReleasedInLane(TimelineForm& form, const TimelineDrag& drag);

// Selects the key under the pointer (when it is not selected already), as a right click does before its
// menu; false when there is none.
bool SelectKeyAt(TimelineForm& form, int xPx, int yPx);

// Removes the selected keys (a track left without keys goes); false when no key is selected.
bool DeleteSelectedKeys(TimelineForm& form);
// Every selected key takes the curve after the first one's (step, linear, smooth, ramp, step...), or curve.
bool CycleKeyCurve(TimelineForm& form);
void SetKeyCurve(TimelineForm& form, KeyCurve curve);

// "add track": a lane for the parameter selected in the tweak window, with one key at the entry's local
// time under the cursor (0 when the cursor is outside the entry) holding the live set's base value.
// Refused with a message when no entry or no parameter is selected, or the entry has that track already.
void AddTrackForSelectedParam(TimelineForm& form);

// The value field: the selected keys' value ("" when none is selected or their values differ), the typed
// text as a value every selected key's parameter takes (or the message why not), and storing it.
std::string SelectedKeyValueText(const TimelineForm& form);
FieldValue ParseKeyValue(const TimelineForm& form, const std::string& text);
void SetSelectedKeyValues(TimelineForm& form, float value);

// A lane's name: the short name of its parameter ("BG_r"), and the source it follows ("BG_r ~ low").
std::string LaneName(const TimelineForm& form, int param);
