#pragma once
// What the user does in the tweak window, as the window reports it. Each entry point updates the
// control model, runs the handler the action raises, and shows an error the handler raises (conversion
// or range error) in a message box, the way the application's general error handler does.
//
// Typing and finishing: TypeText runs with every keystroke and stores each text that is a value for its
// field, so the picture follows; a text that is not (yet) one - "", "-", "1e", "1." - stores nothing
// and shows nothing while typing. The text counts as finished when the user presses Enter in the field
// or leaves it (FinishText): a finished text the field rejects gets its message, and the parameter
// gets back what it held when the field was entered; either way the field then shows what is stored.
// Typing into the file field changes no value of the live set.
#include "tweak/tweak_controls.h"

enum class TweakButton {
  FirstParam,
  LastParam,
  PrevParamPage,
  NextParamPage,  // list navigation
  BaseValUp,
  BaseValDown,  // "add", "sub"
  Rand,
  Var,        // "rand", "var"
  TimeReset,  // "reset: ...ms"
  Search,
  Load,
  Save,
  SaveAsNew,  // "search", "load", "save", "save as new"
  OuttaHere,  // "outta here"
};
enum class TweakList { ParamList, OscFormular, PresetList, MorphPreset };
enum class TweakScrollBar { Possibility, TimeScale };

void ClickButton(TweakForm& form, TweakButton button);
void TypeText(TweakForm& form, TweakField field, const std::string& text);
void FinishText(TweakForm& form, TweakField field);
void SelectItem(TweakForm& form, TweakList list, int index);            // index -1..items-1
void MoveScrollBar(TweakForm& form, TweakScrollBar bar, int position);  // clamped to the bar's range
void PressKey(TweakForm& form, int keyCode);                            // Escape hides, F10 quits

// A part of a parameter's record set from outside the window (a MIDI controller, an OSC message), as
// a finished text in its field would set it. value: a base value within the parameter's key range
// (scene/automation.h; a whole-number type's is rounded), an oscillator form 0..6, or a finite oscillator
// value. Changes of one part of one parameter that follow each other make one undo step, as the
// keystrokes of one field do. Returns "" when stored, otherwise why not (nothing changes then).
enum class ParamPart { BaseVal, OscForm, Osc1, Osc2 };
[[nodiscard]] std::string SetParamFromOutside(TweakForm& form, int index, ParamPart part, double value);

// The morph slider (0..100 %): the set blends from its values when the gesture began towards the preset
// picked in MorphPreset (authoring/morph.h); one gesture is one undo step. EndMorph (the slider let go)
// ends the gesture and puts the slider back at 0. Nothing while no preset is picked.
void MoveMorph(TweakForm& form, int percent);
void EndMorph(TweakForm& form);
// The morph slider moved from outside (a MIDI controller, an OSC message) to share 0..1 of the way, as
// the mouse moves it; such moves make one gesture (one undo step) until anything else is recorded.
// Returns "" when moved, otherwise why not (no preset picked, a share outside 0..1; nothing changes).
[[nodiscard]] std::string SetMorphFromOutside(TweakForm& form, double share);
// The share of the morph gesture going on, 0 when none is.
double MorphShare(const TweakForm& form);

// "rec" on or off. With it on (and host.RecordKeys set) every entry point above that changes a value of
// the set hands the change to host.RecordKeys instead of the live set's history; the file operations
// ("search", "load", "save", "save as new", a pick in "set", a reload) and undo put the live set back
// first (ReleaseLiveSet) and act on it as they do with the switch off.
void SwitchRecording(TweakForm& form, bool on);

// While keys are recorded: the live set with its source put aside (HoldLiveSet), LiveParams free for
// the recorded entry's values; ReleaseLiveSet puts it back and the fields show it. Both do nothing when
// there is nothing to do.
void HoldLiveSet(TweakForm& form);
void ReleaseLiveSet(TweakForm& form);

// Every entry point above records what it changed in the live set as one undo step; the keystrokes of
// TypeText that follow each other in one field make one step together.

// Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: one step back or forward in the history, which holds the timeline's
// steps too (sequence: the sequence it edits, nullptr while there is none); the editing fields show the
// restored values of the selected parameter.
void UndoChange(TweakForm& form, SequenceSnapshot* sequence = nullptr);
void RedoChange(TweakForm& form, SequenceSnapshot* sequence = nullptr);

// Every entry point above starts by clearing the notice line: it has been read.

// The program read data/sceneN.txt (presetNumber N) again into ScenePresets: when N is the preset picked
// in the preset list, the live set becomes it, as one undo step, and the notice line says so when that
// changed the live set ("scene0.txt changed on disk: reloaded, Ctrl+Z to undo"); otherwise the set
// stays and the file's new content is noted (an undo back to that file compares with it).
void PresetFileReloaded(TweakForm& form, int presetNumber);

// Whether the live set (the one put aside while keys are recorded) holds changes that its file
// (savedSetFile) lacks; never outside development mode.
bool LiveSetUnsaved(const TweakForm& form);
