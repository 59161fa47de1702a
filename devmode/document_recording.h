#pragma once
// Recording keys in development mode's document. With the tweak window's "rec" on, the timeline's preview
// on and an entry selected with the cursor inside it, the live set is put aside and the tweak window
// shows and edits the entry's values at the cursor instead: its preset (the live set when that is the
// preset picked in "set", as the preview draws it) with its tracks applied at the entry's local time.
// Every change of a base value made there becomes a key of the entry at that time; a gesture (a typing
// run at the time it began, a slider drag or a controller run at the times it passes) is one undo step
// of the sequence with its keys thinned (devmode/key_recording.h). No window toolkit here.
#include <optional>
#include <string>

#include "devmode/dev_document.h"

// Why keys cannot be recorded now; "" when they can.
std::string RecordingBlocked(const DevDocument& document);

// Once per frame before drawing: with "rec" on and nothing in the way, the live set put aside and the
// entry's values at the cursor in the tweak window (its fields too while none is being typed in);
// otherwise the live set back in place, and with "rec" on the notice line says why (once for each reason).
void FollowRecording(DevDocument& document);

// The tweak host's RecordKeys: the change from before to after as keys of the selected entry at the
// cursor's local time; the notice line's text.
std::string RecordKeys(DevDocument& document, const TScene1ParamIArray& before, const TScene1ParamIArray& after,
                       std::optional<int> run, bool typing);
