#include "tweak/param_editing.h"

#include <algorithm>
#include <cstdio>

#include "authoring/field_values.h"
#include "scene/decimal_text.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"

namespace {

TScene1ParamInterface* SelectedParam(TweakForm& form) {
  const int i = form.controls.ParamList.selected;
  if (i < 0 || i >= kParamCount) return nullptr;
  return &form.host.scene->LiveParams[i];
}

// Stores the field's real number in target; the field's message, or "" when stored.
std::string StoreFloat(const std::string& text, float& target) {
  const FieldValue parsed = RealField(text);
  if (parsed.value) target = static_cast<float>(*parsed.value);
  return parsed.fault;
}

bool IsWholeType(ParamType type) {
  return type == ParamType::Bool || type == ParamType::Byte || type == ParamType::Word;
}

std::string SelectParam(TweakForm& form, int index) {
  form.controls.ParamList.selected = index;
  return ShowSelectedParam(form);
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
  c.ParamList.selected = -1;
  EnableEditing(form, false);
  c.BaseVal.text = c.Osc1.text = c.Osc2.text = kNoValue;
}

std::string ShowSelectedParam(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return "";
  TweakControls& c = form.controls;
  EnableEditing(form, true);
  // Each text set below may run its change handler, which stores the shown value back; read the entry
  // again after every step.
  std::string fault = SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, param->BaseVal));
  if (!fault.empty()) return fault;
  if (param->OscForm != 0) {
    if (fault = SetFieldText(form, TweakField::Osc1, FormatOscValue(param->Osc1)); !fault.empty()) return fault;
    if (fault = SetFieldText(form, TweakField::Osc2, FormatOscValue(param->Osc2)); !fault.empty()) return fault;
    // A form above 6 (possible in a file) matches no item: nothing is selected.
    c.OscFormular.selected = param->OscForm < c.OscFormular.items.size() ? param->OscForm : -1;
  } else {
    c.Osc1.enabled = c.Osc2.enabled = false;
    if (fault = SetFieldText(form, TweakField::Osc1, "0"); !fault.empty()) return fault;
    if (fault = SetFieldText(form, TweakField::Osc2, "0"); !fault.empty()) return fault;
    c.OscFormular.selected = 0;
  }
  return "";
}

std::string ParamListClick(TweakForm& form) { return ShowSelectedParam(form); }

std::string FirstParamClick(TweakForm& form) { return SelectParam(form, 0); }

std::string LastParamClick(TweakForm& form) { return SelectParam(form, kParamCount - 1); }

std::string PrevParamPageClick(TweakForm& form) {
  const int current = form.controls.ParamList.selected;
  return SelectParam(form, current - kParamPageSize < 0 ? 0 : current - kParamPageSize);
}

std::string NextParamPageClick(TweakForm& form) {
  const int current = form.controls.ParamList.selected;
  const int next = current + kParamPageSize;
  return SelectParam(form, next > kParamCount - 1 ? kParamCount - 1 : next);
}

std::string OscFormularChange(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  TweakControls& c = form.controls;
  if (!param || c.OscFormular.selected < 0) return "";
  param->OscForm = static_cast<uint8_t>(c.OscFormular.selected);
  if (param->OscForm == 0) {
    c.Osc1.enabled = c.Osc2.enabled = false;
    return "";
  }
  c.Osc1.enabled = c.Osc2.enabled = true;
  if (const std::string fault = StoreFloat(c.Osc1.text, param->Osc1); !fault.empty()) return fault;
  return StoreFloat(c.Osc2.text, param->Osc2);
}

std::string BaseValChange(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  const std::string text = form.controls.BaseVal.text;
  if (!param || text.empty()) return "";
  if (!IsWholeParam(param->Name)) {
    // A name with an unknown prefix (possible after loading a file) is edited as a real number, the
    // precision the preset file keeps it in.
    return StoreFloat(text, param->BaseVal);
  }
  const FieldValue parsed = CountField(text);
  if (!parsed.value) return parsed.fault;
  const int32_t value = static_cast<int32_t>(*parsed.value);
  if (TypeOfName(param->Name) == ParamType::Bool) {
    if (value == 0 || value == 1) {
      param->BaseVal = static_cast<float>(value);
      return "";
    }
    form.host.ShowMessage(kMsgBoolInvalid);
    return SetFieldText(form, TweakField::BaseVal, "0");  // stores 0
  }
  const int32_t limit = TypeOfName(param->Name) == ParamType::Word ? UINT16_MAX : UINT8_MAX;
  if (value > limit) {
    form.host.ShowMessage(limit == UINT16_MAX ? kMsgWordClipped : kMsgByteClipped);
    if (const std::string fault = SetFieldText(form, TweakField::BaseVal, std::to_string(limit)); !fault.empty())
      return fault;
  }
  param->BaseVal = static_cast<float>(std::min(value, limit));
  return "";
}

std::string Osc1Change(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  if (!param || form.controls.Osc1.text.empty()) return "";
  return StoreFloat(form.controls.Osc1.text, param->Osc1);
}

std::string Osc2Change(TweakForm& form) {
  TScene1ParamInterface* param = SelectedParam(form);
  if (!param || form.controls.Osc2.text.empty()) return "";
  return StoreFloat(form.controls.Osc2.text, param->Osc2);
}

std::string BaseValUpClick(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return "";
  float x = 0;
  if (const std::string fault = StoreFloat(form.controls.BaseVal.text, x); !fault.empty()) return fault;
  return SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, x + 1.0f));
}

std::string BaseValDownClick(TweakForm& form) {
  const TScene1ParamInterface* param = SelectedParam(form);
  if (!param) return "";
  float x = 0;
  if (const std::string fault = StoreFloat(form.controls.BaseVal.text, x); !fault.empty()) return fault;
  if (x - 1.0f >= 0 || TypeOfName(param->Name) == ParamType::Sing)
    return SetFieldText(form, TweakField::BaseVal, FormatBaseValue(param->Name, x - 1.0f));
  return "";
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

std::string RunFieldChange(TweakForm& form, TweakField field) {
  switch (field) {
    case TweakField::BaseVal: return BaseValChange(form);
    case TweakField::Osc1: return Osc1Change(form);
    case TweakField::Osc2: return Osc2Change(form);
    case TweakField::ScenePresetPath:
    case TweakField::ScenePresetFile: break;
  }
  return "";
}

std::string SetFieldText(TweakForm& form, TweakField field, const std::string& text) {
  EditField& edit = FieldOf(form, field);
  if (edit.text == text) return "";
  edit.text = text;
  return RunFieldChange(form, field);
}
