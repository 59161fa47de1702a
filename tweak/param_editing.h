#pragma once
// Editing one parameter of the live set: the parameter list, its navigation, the base and oscillator
// fields with their per-type checks, and "add"/"sub". Handlers raise ConversionError or RangeError for
// a text their field cannot take; the stored value then stays as it was.
#include "tweak/tweak_controls.h"

inline constexpr int kParamPageSize = 11;  // rows the parameter list shows at once

// The list entry of parameter index (0..76): "005 sing:_TweakY".
std::string ParamListItem(int index, const ParamName& name);

void ShowSelectedParam(TweakForm& form);
// No parameter selected: the editing fields say "no value" and are off.
void ShowNoParam(TweakForm& form);
void ListBox1Click(TweakForm& form);
void FirstParamClick(TweakForm& form);
void LastParamClick(TweakForm& form);
void PrevParamPageClick(TweakForm& form);
void NextParamPageClick(TweakForm& form);

void OscFormularChange(TweakForm& form);
void BaseValChange(TweakForm& form);
void Osc1Change(TweakForm& form);
void Osc2Change(TweakForm& form);
void BaseValUpClick(TweakForm& form);    // "add"
void BaseValDownClick(TweakForm& form);  // "sub"

// Whether the parameter's base value is a whole number (bool, byte, word).
bool IsWholeParam(const ParamName& name);

// The field's control in the model.
EditField& FieldOf(TweakForm& form, TweakField field);

// Sets a field's text as the program does: when the text changes, the field's change handler runs.
void SetFieldText(TweakForm& form, TweakField field, const std::string& text);

// The handler of a field's text change (nothing for the two path fields).
void RunFieldChange(TweakForm& form, TweakField field);

// Enables or disables the six editing controls together.
void EnableEditing(TweakForm& form, bool enabled);
