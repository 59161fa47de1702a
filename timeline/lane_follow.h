#pragma once
// Making a lane's parameter follow the soundtrack (scene/sound_envelopes.h), without a window toolkit: the
// lane's menu picks the source (or none), and while the selected keys are all in one followed lane the
// field row's "gain" and "offset" edit its follow. Each change is one undo step. A parameter that follows
// without keys shows no lane: "add track" gives it one (its key holds the base value, so what is drawn
// stays the same).
#include <optional>
#include <string>

#include "scene/sound_envelopes.h"
#include "timeline/timeline_form.h"

// The open entry's follow of param; nullptr when it has none.
const ParamFollow* FollowOf(const TimelineForm& form, int param);

// Lane `lane` of the open entry follows source (a new follow: gain 1, offset 0; a follow that changes
// its source keeps them), or with nullopt follows nothing.
void SetLaneFollow(TimelineForm& form, int lane, std::optional<SoundSource> source);

// The parameter whose follow the fields edit: the selected keys' lane when they are all in one lane that
// follows; -1 otherwise.
int SelectedFollowParam(const TimelineForm& form);

// The gain or offset field (TimelineField::FollowGain, FollowOffset): its text ("" with no followed lane
// selected), and storing a value typed there.
std::string SelectedFollowText(const TimelineForm& form, TimelineField field);
void SetSelectedFollowNumber(TimelineForm& form, TimelineField field, float value);
