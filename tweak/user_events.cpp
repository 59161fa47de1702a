#include "tweak/user_events.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "authoring/morph.h"
#include "scene/automation.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"
#include "scene/round.h"
#include "tweak/live_set_state.h"
#include "tweak/param_editing.h"
#include "tweak/preset_operations.h"
#include "tweak/randomizer.h"
#include "tweak/time_control.h"
#include "tweak/tweak_messages.h"
#include "tweak/tweak_setup.h"

namespace {

// Shows a handler's fault, if any, as the general error handler would show it.
void ShowFault(TweakForm& form, const std::string& fault) {
  if (!fault.empty()) form.host.ShowMessage(fault);
}

constexpr int kOutsideRunBase = 100;  // above every TweakField
constexpr int kMorphRun = 99;         // above every TweakField, below the runs from outside

// The morph gesture is over: the next move of the slider blends from the set as it is then.
void DropMorphGesture(TweakForm& form) {
  form.morphFrom.reset();
  form.morphShare = 0;
  form.controls.Morph.position = form.controls.Morph.minimum;
}

// After the live set was replaced: the editing fields show its values. Showing a value runs the field's
// change handler, which stores the shown (rounded) text back; the set is put back exactly afterwards,
// except a whole-number base value that the field clipped into its type's range, which is stored as a
// selection stores it (a byte of 300 read from a file becomes 255). A value the field refuses (a negative
// byte) is reported and stays.
void ShowReplacedSet(TweakForm& form) {
  TScene1ParamIArray& live = form.host.scene->LiveParams;
  const TScene1ParamIArray replaced = live;
  if (form.controls.BaseVal.enabled) ShowFault(form, ShowSelectedParam(form));
  const int selected = form.controls.ParamList.selected;
  const bool keepShown = selected >= 0 && selected < kParamCount && IsWholeParam(live[selected].Name);
  const float shownBase = keepShown ? live[selected].BaseVal : 0.0f;
  live = replaced;
  if (keepShown) live[selected].BaseVal = shownBase;
}

bool IsEditingField(TweakField field) {
  return field == TweakField::BaseVal || field == TweakField::Osc1 || field == TweakField::Osc2;
}

// Runs action with form.recording set, also when it throws.
template <typename Action>
void WhileRecording(TweakForm& form, Action action) {
  form.recording = true;
  try {
    action();
  } catch (...) {
    form.recording = false;
    throw;
  }
  form.recording = false;
}

// Runs an action with "rec" on: what it changed goes to the program as keys. When the program put no
// live set aside (it could not record), the change is taken back.
template <typename Action>
void RecordedAsKeys(TweakForm& form, std::optional<int> run, bool typing, Action action) {
  TScene1ParamIArray& live = form.host.scene->LiveParams;
  const TScene1ParamIArray before = live;
  WhileRecording(form, action);
  const std::string notice = form.host.RecordKeys(before, live, run, typing);
  if (!form.heldLiveSet && !SameParams(before, live)) {
    live = before;
    form.typingFrom.reset();
    ShowReplacedSet(form);
  }
  if (!notice.empty()) form.controls.notice = notice;
}

// Runs an action and records what it changed in the live set as one undo step. typingIn: the field a
// keystroke went to, so that a run of them in one field makes one step. An action that runs while
// another one is recorded (a reload while the other's message box is open) belongs to that one's step.
template <typename Action>
void Recorded(TweakForm& form, std::optional<TweakField> typingIn, Action action) {
  if (form.recording) return action();
  const std::optional<int> run = typingIn ? std::optional<int>(static_cast<int>(*typingIn)) : std::nullopt;
  if (form.controls.RecordKeys && form.host.RecordKeys)
    return RecordedAsKeys(form, run, typingIn && IsEditingField(*typingIn), action);
  const LiveSetState before = TakeLiveSet(form);
  WhileRecording(form, action);
  RecordChange(form.history, before, TakeLiveSet(form), run);
}

// The start of something the user did: the previous notice has been read.
void UserAction(TweakForm& form) { form.controls.notice.clear(); }

bool IsFileOperation(TweakButton button) {
  return button == TweakButton::Search || button == TweakButton::Load || button == TweakButton::Save ||
         button == TweakButton::SaveAsNew;
}

// Runs the button's handler; its fault, or "".
std::string RunButton(TweakForm& form, TweakButton button) {
  switch (button) {
    case TweakButton::FirstParam: return FirstParamClick(form);
    case TweakButton::LastParam: return LastParamClick(form);
    case TweakButton::PrevParamPage: return PrevParamPageClick(form);
    case TweakButton::NextParamPage: return NextParamPageClick(form);
    case TweakButton::BaseValUp: return BaseValUpClick(form);
    case TweakButton::BaseValDown: return BaseValDownClick(form);
    case TweakButton::TimeReset: return TimeResetClick(form);
    case TweakButton::Rand: RandomizeClick(form); break;
    case TweakButton::Var: VaryClick(form); break;
    case TweakButton::Search: SearchClick(form); break;
    case TweakButton::Load: LoadClick(form); break;
    case TweakButton::Save: SaveClick(form); break;
    case TweakButton::SaveAsNew: SaveAsNewClick(form); break;
    case TweakButton::OuttaHere: QuitClick(form); break;
  }
  return "";
}

// The selected parameter's record, when one is selected.
TScene1ParamInterface* SelectedRecord(TweakForm& form) {
  const int selected = form.controls.ParamList.selected;
  return selected >= 0 && selected < kParamCount ? &form.host.scene->LiveParams[selected] : nullptr;
}

void TypeTextUnrecorded(TweakForm& form, TweakField field, const std::string& text) {
  EditField& edit = FieldOf(form, field);
  if (edit.text == text) return;
  edit.text = text;
  if (const TScene1ParamInterface* param = SelectedRecord(form); param && !form.typingFrom)
    form.typingFrom.emplace(form.controls.ParamList.selected, *param);
  // A text that is not a value (yet) stores nothing: it is judged when it is finished.
  (void)RunFieldChange(form, field);
}

// The field shows the value stored for the selected parameter.
void ShowStoredValue(TweakForm& form, TweakField field) {
  const TScene1ParamInterface* param = SelectedRecord(form);
  if (!param) return;
  const bool oscillating = param->OscForm != 0;
  switch (field) {
    case TweakField::BaseVal: form.controls.BaseVal.text = FormatBaseValue(param->Name, param->BaseVal); break;
    case TweakField::Osc1: form.controls.Osc1.text = oscillating ? FormatOscValue(param->Osc1) : "0"; break;
    case TweakField::Osc2: form.controls.Osc2.text = oscillating ? FormatOscValue(param->Osc2) : "0"; break;
    case TweakField::ScenePresetPath:
    case TweakField::ScenePresetFile: break;
  }
}

// A finished text is stored, or, when the field rejects it (or it is empty), the parameter gets back the
// record it had when the field was entered. Either way the field then shows what is stored.
void FinishTextUnrecorded(TweakForm& form, TweakField field) {
  if (!IsEditingField(field)) return;
  const std::optional<std::pair<int, TScene1ParamInterface>> from = std::exchange(form.typingFrom, std::nullopt);
  const auto restore = [&] {
    if (from && from->first == form.controls.ParamList.selected)
      form.host.scene->LiveParams[from->first] = from->second;
    ShowStoredValue(form, field);
  };
  if (FieldOf(form, field).text.empty()) return restore();
  if (const std::string fault = RunFieldChange(form, field); !fault.empty()) {
    restore();  // before the message: its box takes the focus, which finishes the field again
    return form.host.ShowMessage(fault);
  }
  ShowStoredValue(form, field);
}

}  // namespace

void ClickButton(TweakForm& form, TweakButton button) {
  UserAction(form);
  if (IsFileOperation(button)) ReleaseLiveSet(form);
  Recorded(form, std::nullopt, [&] { ShowFault(form, RunButton(form, button)); });
}

void TypeText(TweakForm& form, TweakField field, const std::string& text) {
  UserAction(form);
  if (!IsEditingField(field)) {  // the file field: no value of the live set
    FieldOf(form, field).text = text;
    return;
  }
  Recorded(form, field, [&] { TypeTextUnrecorded(form, field, text); });
}

void FinishText(TweakForm& form, TweakField field) {
  Recorded(form, std::nullopt, [&] { FinishTextUnrecorded(form, field); });
}

void SelectItem(TweakForm& form, TweakList list, int index) {
  UserAction(form);
  TweakControls& c = form.controls;
  if (list == TweakList::MorphPreset) {
    c.MorphPreset = std::clamp(index, -1, static_cast<int>(c.PresetList.items.size()) - 1);
    return;
  }
  if (list == TweakList::PresetList) ReleaseLiveSet(form);
  ListControl& control = list == TweakList::ParamList     ? c.ParamList
                         : list == TweakList::OscFormular ? c.OscFormular
                                                          : c.PresetList;
  // One step: a pick, with the save its question may run first.
  Recorded(form, std::nullopt, [&] {
    if (list == TweakList::PresetList && !MayReplaceLiveSet(form)) return;
    control.selected = std::clamp(index, -1, static_cast<int>(control.items.size()) - 1);
    switch (list) {
      case TweakList::ParamList: ShowFault(form, ParamListClick(form)); break;
      case TweakList::OscFormular: ShowFault(form, OscFormularChange(form)); break;
      case TweakList::PresetList: PresetListChange(form); break;
      case TweakList::MorphPreset: break;
    }
  });
}

void MoveScrollBar(TweakForm& form, TweakScrollBar bar, int position) {
  UserAction(form);
  ScrollBar& control = bar == TweakScrollBar::Possibility ? form.controls.Possibility : form.controls.TimeScale;
  const int moved = std::clamp(position, control.minimum, control.maximum);
  if (moved == control.position) return;
  control.position = moved;
  if (bar == TweakScrollBar::TimeScale) TimeScaleChange(form);
}

void PressKey(TweakForm& form, int keyCode) { HideOrQuitKey(form, keyCode); }

namespace {
// One step back (Undo) or forward (Redo) with the live set's source, and with sequence (nullptr: none
// edited) for a step of the sequence; ends the run of keystrokes.
void StepLiveSet(TweakForm& form, SequenceSnapshot* sequence,
                 bool (*step)(UndoHistory&, LiveSetState&, SequenceSnapshot*)) {
  UserAction(form);
  ReleaseLiveSet(form);
  form.typingFrom.reset();
  DropMorphGesture(form);
  LiveSetState live = TakeLiveSet(form);
  if (!step(form.history, live, sequence)) return;
  PutLiveSet(form, live);
  ShowReplacedSet(form);
}
}  // namespace

void UndoChange(TweakForm& form, SequenceSnapshot* sequence) { StepLiveSet(form, sequence, Undo); }

void RedoChange(TweakForm& form, SequenceSnapshot* sequence) { StepLiveSet(form, sequence, Redo); }

void PresetFileReloaded(TweakForm& form, int presetNumber) {
  SceneState& scene = *form.host.scene;
  if (presetNumber < 0 || presetNumber >= static_cast<int>(scene.ScenePresets.size())) return;
  const std::string file = DataFolderPath(form.host.dataDir) + PresetFileName(presetNumber);
  const TScene1ParamIArray& content = scene.ScenePresets[presetNumber];
  if (form.controls.PresetList.selected != presetNumber) return NoteFileContent(form, file, content);
  ReleaseLiveSet(form);
  const TScene1ParamIArray before = scene.LiveParams;
  Recorded(form, std::nullopt, [&] {
    scene.LiveParams = content;
    SetLiveSetFile(form, file, content);
    ShowReplacedSet(form);
  });
  if (!SameParams(before, scene.LiveParams)) form.controls.notice = PresetFileName(presetNumber) + kNoticeReloaded;
}

std::string SetParamFromOutside(TweakForm& form, int index, ParamPart part, double value) {
  if (index < 0 || index >= kParamCount) return kMsgOutsideNoSuchParam;
  const bool whole =
      part == ParamPart::OscForm || (part == ParamPart::BaseVal && EvaluationType(index) != ParamType::Sing);
  if (whole) value = Round(value);
  const bool valid = part == ParamPart::BaseVal   ? ValueInKeyRange(index, value)
                     : part == ParamPart::OscForm ? value >= 0 && value < std::size(kOscFormTexts)
                                                  : std::isfinite(value) && std::fabs(value) <= FLT_MAX;
  if (!valid) return kMsgOutsideValueOutOfRange;
  // Runs of one part of one parameter share a number no field of the window has.
  const int run = kOutsideRunBase + index * 4 + static_cast<int>(part);
  Recorded(form, static_cast<TweakField>(run), [&] {
    TScene1ParamInterface& param = form.host.scene->LiveParams[index];
    switch (part) {
      case ParamPart::BaseVal: param.BaseVal = static_cast<float>(value); break;
      case ParamPart::OscForm: param.OscForm = static_cast<uint8_t>(value); break;
      case ParamPart::Osc1: param.Osc1 = static_cast<float>(value); break;
      case ParamPart::Osc2: param.Osc2 = static_cast<float>(value); break;
    }
  });
  if (index == form.controls.ParamList.selected) ShowFault(form, ShowSelectedParam(form));
  form.changed = true;
  return "";
}

bool LiveSetUnsaved(const TweakForm& form) {
  const TScene1ParamIArray& live = form.heldLiveSet ? form.heldLiveSet->params : form.host.scene->LiveParams;
  return form.host.developmentMode && !SameParams(live, form.savedSet);
}

namespace {
// A morph gesture goes on until anything else is recorded; one that changed nothing yet goes on while
// the set is as it found it.
bool MorphGoingOn(const TweakForm& form) {
  return form.morphFrom &&
         (form.history.typingIn == kMorphRun || SameParams(*form.morphFrom, form.host.scene->LiveParams));
}

// Blends the set share 0..1 of the way towards the morph preset, within the gesture going on or one
// begun now; the slider shows the share.
void MorphTo(TweakForm& form, double share) {
  TweakControls& c = form.controls;
  SceneState& scene = *form.host.scene;
  const int target = c.MorphPreset;
  c.Morph.position = c.Morph.minimum + static_cast<int>(std::lround(share * (c.Morph.maximum - c.Morph.minimum)));
  if (!MorphGoingOn(form)) form.morphFrom = scene.LiveParams;
  form.morphShare = share;
  Recorded(form, static_cast<TweakField>(kMorphRun), [&] {
    scene.LiveParams = MorphParams(*form.morphFrom, scene.ScenePresets[target], share);
    ShowReplacedSet(form);
  });
  form.changed = true;
}

bool MorphPresetPicked(const TweakForm& form) {
  return form.controls.MorphPreset >= 0 && form.controls.MorphPreset < form.host.scene->PresetCount;
}
}  // namespace

void MoveMorph(TweakForm& form, int percent) {
  UserAction(form);
  if (!MorphPresetPicked(form)) return;
  const ScrollBar& slider = form.controls.Morph;
  const int position = std::clamp(percent, slider.minimum, slider.maximum);
  MorphTo(form, (position - slider.minimum) / double(slider.maximum - slider.minimum));
}

void EndMorph(TweakForm& form) {
  DropMorphGesture(form);
  if (form.history.typingIn == kMorphRun) EndTyping(form.history, TakeLiveSet(form).params);
}

std::string SetMorphFromOutside(TweakForm& form, double share) {
  if (!MorphPresetPicked(form)) return kMsgOutsideNoMorphPreset;
  if (!(share >= 0 && share <= 1)) return kMsgOutsideMorphOutOfRange;
  MorphTo(form, share);
  return "";
}

double MorphShare(const TweakForm& form) { return MorphGoingOn(form) ? form.morphShare : 0; }

void SwitchRecording(TweakForm& form, bool on) {
  UserAction(form);
  form.controls.RecordKeys = on;
  if (!on) ReleaseLiveSet(form);
}

void HoldLiveSet(TweakForm& form) {
  if (form.heldLiveSet) return;
  form.typingFrom.reset();
  EndTyping(form.history, form.host.scene->LiveParams);
  form.heldLiveSet = TakeLiveSet(form);
}

void ReleaseLiveSet(TweakForm& form) {
  if (!form.heldLiveSet) return;
  const LiveSetState live = *std::exchange(form.heldLiveSet, std::nullopt);
  form.typingFrom.reset();
  PutLiveSet(form, live);
  ShowReplacedSet(form);
  form.changed = true;
}
