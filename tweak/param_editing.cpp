#include "tweak/param_editing.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "scene/decimal_text.h"
#include "scene/errors.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"

namespace {

TScene1ParamInterface* SelectedParam(TweakForm& form) {
  const int i = form.controls.ListBox1.selected;
  if (i < 0 || i >= kParamCount) return nullptr;
  return &form.host.scene->LiveParams[i];
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// A real number that fits a 32-bit float.
float ParseFloatOrRaise(const std::string& text) {
  const std::optional<double> value = ParseReal(text);
  if (!value) throw ConversionError(Quoted(text) + kMsgNotANumberHere);
  if (std::fabs(*value) > FLT_MAX) throw RangeError(Quoted(text) + kMsgTooLargeForFloat);
  return static_cast<float>(*value);
}

// A whole number 0..2147483647.
int32_t ParseCountOrRaise(const std::string& text) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value) throw ConversionError(Quoted(text) + kMsgNotAWholeNumber);
  if (*value < 0) throw RangeError(Quoted(text) + kMsgNegative);
  return *value;
}

bool IsWholeType(ParamType type) {
  return type == ParamType::Bool || type == ParamType::Byte || type == ParamType::Word;
}

void SelectParam(TweakForm& form, int index) {
  form.controls.ListBox1.selected = index;
  ShowSelectedParam(form);
}

}  // namespace

std::string ParamListItem(int index, const ParamName& name) {
  char number[8];
  std::snprintf(number, sizeof number, "%03d", index);
  return std::string(number) + " " + name.Text();
}

void EnableEditing(TweakForm& form, bool enabled) {
  TweakControls& c = form.controls;
  c.BaseVal.enabled = c.Osc1.enabled = c.Osc2.enabled = c.OscFormular.enabled = enabled;
  c.BaseValUpEnabled = c.BaseValDownEnabled = enabled;
}

void ShowNoParam(TweakForm& form) {
  TweakControls& c = form.controls;
  c.ListBox1.selected = -1;
  EnableEditing(form, false);
  c.BaseVal.text = c.Osc1.text = c.Osc2.text = kNoValue;
}

void ShowSelectedParam(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return;
  TweakControls& c = form.controls;
  EnableEditing(form, true);
  // Each text set below may run its change handler, which stores the shown value back; read the entry
  // again after every step.
  SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, param->BaseVal));
  if (param->OscForm != 0) {
    SetFieldText(form, TweakField::Osc1, FormatOscValue(param->Osc1));
    SetFieldText(form, TweakField::Osc2, FormatOscValue(param->Osc2));
    // A form above 6 (possible in a file) matches no item: nothing is selected.
    c.OscFormular.selected = param->OscForm < c.OscFormular.items.size() ? param->OscForm : -1;
  } else {
    c.Osc1.enabled = c.Osc2.enabled = false;
    SetFieldText(form, TweakField::Osc1, "0");
    SetFieldText(form, TweakField::Osc2, "0");
    c.OscFormular.selected = 0;
  }
}

void ListBox1Click(TweakForm& form) { ShowSelectedParam(form); }

void FirstParamClick(TweakForm& form) { SelectParam(form, 0); }

void LastParamClick(TweakForm& form) { SelectParam(form, kParamCount - 1); }

void PrevParamPageClick(TweakForm& form) {
  const int current = form.controls.ListBox1.selected;
  SelectParam(form, current - kParamPageSize < 0 ? 0 : current - kParamPageSize);
}

void NextParamPageClick(TweakForm& form) {
  const int current = form.controls.ListBox1.selected;
  const int next = current + kParamPageSize;
  SelectParam(form, next > kParamCount - 1 ? kParamCount - 1 : next);
}

void OscFormularChange(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  TweakControls& c = form.controls;
  if (!param || c.OscFormular.selected < 0) return;
  param->OscForm = static_cast<uint8_t>(c.OscFormular.selected);
  if (param->OscForm == 0) {
    c.Osc1.enabled = c.Osc2.enabled = false;
    return;
  }
  c.Osc1.enabled = c.Osc2.enabled = true;
  param->Osc1 = ParseFloatOrRaise(c.Osc1.text);
  param->Osc2 = ParseFloatOrRaise(c.Osc2.text);
}

void BaseValChange(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  const std::string text = form.controls.BaseVal.text;
  if (!param || text.empty()) return;
  switch (TypeOfName(param->Name)) {
    case ParamType::Word:
    case ParamType::Byte: {
      const int32_t limit = TypeOfName(param->Name) == ParamType::Word ? 65535 : 255;
      int32_t value = ParseCountOrRaise(text);
      if (value > limit) {
        value = limit;
        form.host.ShowMessage(limit == 65535 ? kMsgWordClipped : kMsgByteClipped);
        SetFieldText(form, TweakField::BaseVal, std::to_string(limit));
      }
      param->BaseVal = static_cast<float>(value);
      break;
    }
    case ParamType::Bool: {
      const int32_t value = ParseCountOrRaise(text);
      if (value == 0 || value == 1) {
        param->BaseVal = static_cast<float>(value);
      } else {
        form.host.ShowMessage(kMsgBoolInvalid);
        SetFieldText(form, TweakField::BaseVal, "0");  // stores 0
      }
      break;
    }
    // A name with an unknown prefix (possible after loading a file) is edited as a real number, the
    // precision the preset file keeps it in.
    case ParamType::Sing:
    case ParamType::Other:
      param->BaseVal = ParseFloatOrRaise(text);
      break;
  }
}

void Osc1Change(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  if (!param || form.controls.Osc1.text.empty()) return;
  param->Osc1 = ParseFloatOrRaise(form.controls.Osc1.text);
}

void Osc2Change(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  if (!param || form.controls.Osc2.text.empty()) return;
  param->Osc2 = ParseFloatOrRaise(form.controls.Osc2.text);
}

void BaseValUpClick(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return;
  const float x = ParseFloatOrRaise(form.controls.BaseVal.text);
  SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, x + 1.0f));
}

void BaseValDownClick(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return;
  const float x = ParseFloatOrRaise(form.controls.BaseVal.text);
  if (x - 1.0f >= 0 || TypeOfName(param->Name) == ParamType::Sing)
    SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, x - 1.0f));
}

bool IsWholeParam(const ParamName& name) { return IsWholeType(TypeOfName(name)); }

EditField& FieldOf(TweakForm& form, TweakField field) {
  TweakControls& c = form.controls;
  switch (field) {
    case TweakField::BaseVal: return c.BaseVal;
    case TweakField::Osc1: return c.Osc1;
    case TweakField::Osc2: return c.Osc2;
    case TweakField::ScenePresetPath: return c.ScenePresetPath;
    case TweakField::ScenePresetFile: break;
  }
  return c.ScenePresetFile;
}

void RunFieldChange(TweakForm& form, TweakField field) {
  switch (field) {
    case TweakField::BaseVal: BaseValChange(form); break;
    case TweakField::Osc1: Osc1Change(form); break;
    case TweakField::Osc2: Osc2Change(form); break;
    case TweakField::ScenePresetPath:
    case TweakField::ScenePresetFile: break;
  }
}

void SetFieldText(TweakForm& form, TweakField field, const std::string& text) {
  EditField& edit = FieldOf(form, field);
  if (edit.text == text) return;
  edit.text = text;
  RunFieldChange(form, field);
}
