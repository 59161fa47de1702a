#pragma once
// The live set with its source (file, file field, picked preset) as one state, the way undo takes and
// restores it, and what the program knows each source file to hold (the unsaved mark compares with it).
#include "tweak/tweak_controls.h"

// The live set as it stands, or the one put aside while keys are recorded.
LiveSetState TakeLiveSet(const TweakForm& form);

// Puts state in place: the live set, the file field, the pick, and the file it came from with what that
// file was last known to hold.
void PutLiveSet(TweakForm& form, const LiveSetState& state);

// The file fullName holds content (the program read or wrote it); when it is the live set's file, the
// unsaved mark compares with it from now on.
void NoteFileContent(TweakForm& form, const std::string& fullName, const TScene1ParamIArray& content);

// The live set came from fullName, which holds content (empty: from no file).
void SetLiveSetFile(TweakForm& form, const std::string& fullName, const TScene1ParamIArray& content);
