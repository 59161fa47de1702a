#include "tweak/user_events.h"

#include <algorithm>

#include "scene/errors.h"
#include "tweak/param_editing.h"
#include "tweak/preset_operations.h"
#include "tweak/randomizer.h"
#include "tweak/time_control.h"
#include "tweak/tweak_setup.h"

namespace {

// Runs a handler; what it raises is shown as the general error handler would show it.
template <typename Handler>
void Guarded(TweakForm& form, Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    form.host.ShowMessage(error.what());
  }
}

// Runs an action and records what it changed in the live set as one undo step. typingIn: the field a
// keystroke went to, so that a run of them in one field makes one step.
template <typename Action>
void Recorded(TweakForm& form, std::optional<TweakField> typingIn, Action action) {
  const TScene1ParamIArray before = form.host.scene->LiveParams;
  action();
  const std::optional<int> run = typingIn ? std::optional<int>(static_cast<int>(*typingIn)) : std::nullopt;
  RecordChange(form.history, before, form.host.scene->LiveParams, run);
}

// After the live set was replaced: the editing fields show its values. Showing a value runs the field's
// change handler, which stores the shown (rounded) text back; the set is put back exactly afterwards.
void ShowReplacedSet(TweakForm& form) {
  const TScene1ParamIArray replaced = form.host.scene->LiveParams;
  if (form.controls.BaseVal.enabled) ShowSelectedParam(form);
  form.host.scene->LiveParams = replaced;
}

bool IsEditingField(TweakField field) {
  return field == TweakField::BaseVal || field == TweakField::Osc1 || field == TweakField::Osc2;
}

void (*HandlerOf(TweakButton button))(TweakForm&) {
  switch (button) {
    case TweakButton::FirstParam: return FirstParamClick;
    case TweakButton::LastParam: return LastParamClick;
    case TweakButton::PrevParamPage: return PrevParamPageClick;
    case TweakButton::NextParamPage: return NextParamPageClick;
    case TweakButton::BaseValUp: return BaseValUpClick;
    case TweakButton::BaseValDown: return BaseValDownClick;
    case TweakButton::Rand: return Button1Click;
    case TweakButton::Var: return Button3Click;
    case TweakButton::TimeReset: return TimeResetClick;
    case TweakButton::Search: return Button4Click;
    case TweakButton::Load: return openClick;
    case TweakButton::Save: return saveClick;
    case TweakButton::OuttaHere: break;
  }
  return Button2Click;
}

void TypeTextUnrecorded(TweakForm& form, TweakField field, const std::string& text) {
  EditField& edit = FieldOf(form, field);
  if (edit.text == text) return;
  edit.text = text;
  if (!IsEditingField(field)) return;
  form.reportedText[static_cast<int>(field)].reset();
  try {
    RunFieldChange(form, field);
  } catch (const ConversionError&) {
    // Not a number yet: wait until the text is finished.
  } catch (const std::exception& error) {
    form.host.ShowMessage(error.what());
  }
}

void FinishTextUnrecorded(TweakForm& form, TweakField field) {
  if (!IsEditingField(field)) return;
  const std::string text = FieldOf(form, field).text;
  if (text.empty() || IsNumberForField(form, field, text)) return;  // stored while it was typed
  std::optional<std::string>& reported = form.reportedText[static_cast<int>(field)];
  if (reported == text) return;
  reported = text;
  Guarded(form, [&] { RunFieldChange(form, field); });
}

}  // namespace

void ClickButton(TweakForm& form, TweakButton button) {
  Recorded(form, std::nullopt, [&] { Guarded(form, [&] { HandlerOf(button)(form); }); });
}

void TypeText(TweakForm& form, TweakField field, const std::string& text) {
  Recorded(form, field, [&] { TypeTextUnrecorded(form, field, text); });
}

void FinishText(TweakForm& form, TweakField field) {
  Recorded(form, std::nullopt, [&] { FinishTextUnrecorded(form, field); });
}

void SelectItem(TweakForm& form, TweakList list, int index) {
  TweakControls& c = form.controls;
  ListControl& control =
      list == TweakList::ListBox1 ? c.ListBox1 : list == TweakList::OscFormular ? c.OscFormular : c.PresetList;
  control.selected = std::clamp(index, -1, static_cast<int>(control.items.size()) - 1);
  Recorded(form, std::nullopt, [&] {
    switch (list) {
      case TweakList::ListBox1: Guarded(form, [&] { ListBox1Click(form); }); break;
      case TweakList::OscFormular: Guarded(form, [&] { OscFormularChange(form); }); break;
      case TweakList::PresetList: Guarded(form, [&] { PresetListChange(form); }); break;
    }
  });
}

void MoveScrollBar(TweakForm& form, TweakScrollBar bar, int position) {
  ScrollBar& control = bar == TweakScrollBar::Possibility ? form.controls.Possibility : form.controls.TimeScale;
  const int moved = std::clamp(position, control.minimum, control.maximum);
  if (moved == control.position) return;
  control.position = moved;
  if (bar == TweakScrollBar::TimeScale) TimeScaleChange(form);
}

void PressKey(TweakForm& form, int keyCode) { FormKeyDown(form, keyCode); }

void UndoChange(TweakForm& form) {
  if (Undo(form.history, form.host.scene->LiveParams)) ShowReplacedSet(form);
}

void RedoChange(TweakForm& form) {
  if (Redo(form.history, form.host.scene->LiveParams)) ShowReplacedSet(form);
}

void PresetFileReloaded(TweakForm& form, int presetNumber) {
  const SceneState& scene = *form.host.scene;
  if (form.controls.PresetList.selected != presetNumber || presetNumber < 0 ||
      presetNumber >= static_cast<int>(scene.ScenePresets.size()))
    return;
  Recorded(form, std::nullopt, [&] {
    form.host.scene->LiveParams = scene.ScenePresets[presetNumber];
    ShowReplacedSet(form);
  });
}
