#pragma once
// Every text the tweak window shows: captions it sets at run time, message boxes and error texts.
#include "scene/scene_messages.h"

// Window.
inline constexpr const char* kCaptionDesign = "kx-4";  // until the window is set up
inline constexpr const char* kCaptionRunning = "[ tweak control ] v0.95b";
inline constexpr const char* kNoValue = "no value";  // editing fields before a selection
inline constexpr const char* kOpenDialogTitle = "open/save path and file";

// Info label, four lines: textures[0..T-1], / scene1presets[0..P-1], / scene1presetsSeqs[0..S-1] / TotalLength: Lms
inline constexpr const char* kInfoTextures = "textures[0..";
inline constexpr const char* kInfoPresets = "scene1presets[0..";
inline constexpr const char* kInfoSequence = "scene1presetsSeqs[0..";
inline constexpr const char* kInfoListEnd = "], ";
inline constexpr const char* kInfoSequenceEnd = "] ";
inline constexpr const char* kInfoLength = "TotalLength: ";
inline constexpr const char* kInfoLengthUnit = "ms";

// Our own fifth info line while a section loop point is set: "loop: " in ".." out "ms", "?" for a point
// not set, and " (off)" after it while loop-in is not before loop-out.
inline constexpr const char* kInfoLoop = "loop: ";
inline constexpr const char* kInfoLoopTo = "..";
inline constexpr const char* kInfoLoopUnset = "?";
inline constexpr const char* kInfoLoopOff = " (off)";

// Preset list items: "scene" N (a pick puts the preset's file name, PresetFileName, into ScenePresetFile).
inline constexpr const char* kPresetItem = "scene";
inline constexpr const char* kInitialPresetFile = "scene1.txt";

// Time control button: "reset: " position "ms".
inline constexpr const char* kTimeResetPrefix = "reset: ";
inline constexpr const char* kTimeResetUnit = "ms";
inline constexpr const char* kTimeResetInitial = "reset: 0ms";

// Base value checks.
inline constexpr const char* kMsgWordClipped = "value clipped [ > 65535 ]";
inline constexpr const char* kMsgByteClipped = "value clipped [ > 255 ]";
inline constexpr const char* kMsgBoolInvalid = "invalid value [ must be 0 or 1 ]";

// Preset operations; the full file name is put in front of the "saved"/"loaded" texts.
// Development mode on the installed demo (saving is off).
inline constexpr const char* kMsgInstalledDemoReadOnly =
    "the installed demo is read-only: `quarnel --new DIR` makes a copy to edit";
inline constexpr const char* kMsgSaveError = "Save Error: ";  // + file name ": " reason
inline constexpr const char* kMsgSaved = " saved!";
inline constexpr const char* kMsgSavedAndRefreshed = " saved and preset list refreshed!";
inline constexpr const char* kMsgRefreshFoundNoPresets = kMsgNoPresets;
inline constexpr const char* kMsgFileNotFound = " Load Error: File not found";
inline constexpr const char* kMsgLoadError = "Load Error: ";  // + file name ": " reason
inline constexpr const char* kMsgLoaded = " loaded!";

// The notice line: after the file name of a reloaded preset.
inline constexpr const char* kNoticeReloaded = " changed on disk: reloaded, Ctrl+Z to undo";

// "save" over another preset's file, and "save as new" with every number taken.
inline constexpr const char* kAskOverwrite = " exists: overwrite it with the live set?";
inline constexpr const char* kAskOverwriteCameFrom = "\n(the live set came from ";  // + file + ")"
inline constexpr const char* kAnswerOverwrite = "overwrite";
// A pick or a load over an unsaved live set:
// "The live set has unsaved changes (from scene0.txt).\nSave them before it is replaced?"
inline constexpr const char* kAskReplaceUnsaved = "The live set has unsaved changes";
inline constexpr const char* kAskReplaceUnsavedFrom = " (from ";  // + file + ")"
inline constexpr const char* kAskReplaceUnsavedSave = ".\nSave them before it is replaced?";
inline constexpr const char* kAnswerSave = "save";
inline constexpr const char* kAnswerDiscard = "discard";
inline constexpr const char* kAnswerCancel = "cancel";
inline constexpr const char* kMsgNoFreePresetNumber = "scene0.txt to scene254.txt all exist: no free preset number";

// Time jump whose start tick would leave the signed 32-bit range.
inline constexpr const char* kMsgTimeJumpOverflow = "Integer overflow: the running time stays as it is";

// A value set from outside the window (a controller, a remote message) that no field would take.
inline constexpr const char* kMsgOutsideNoSuchParam = "no such parameter";
inline constexpr const char* kMsgOutsideValueOutOfRange = "value outside the parameter's range";
inline constexpr const char* kMsgOutsideNoMorphPreset = "no preset picked to morph towards";
inline constexpr const char* kMsgOutsideMorphOutOfRange = "morph share outside 0..1";

// Our own: the "controllers" group's notices.
inline constexpr const char* kNoticeLearnOn = "learn: touch a field or pick a button, then move a control";
inline constexpr const char* kNoticeMoveControl = "learn: move a control for ";  // + the target
inline constexpr const char* kNoticeMappedTo = " mapped to ";                     // control + this + target
inline constexpr const char* kNoticeMappingRemoved = "mapping removed: ";         // + "CC 21: base BG_r"
