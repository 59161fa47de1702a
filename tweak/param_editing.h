#pragma once
// Editing one parameter of the live set: the parameter list, its navigation, the base and oscillator
// fields with their per-type checks, and "add"/"sub". A handler returns "", or the message for a text its
// field cannot take (authoring/field_values.h); the stored value then stays as it was and the handler
// goes no further.
#include "tweak/tweak_controls.h"

inline constexpr int kParamPageSize = 11;  // rows the parameter list shows at once

// The list entry of parameter index (0..76): "005 sing:_TweakY".
std::string ParamListItem(int index, const ParamName& name);

[[nodiscard]] std::string ShowSelectedParam(TweakForm& form);
// No parameter selected: the editing fields say "no value" and are off.
void ShowNoParam(TweakForm& form);
[[nodiscard]] std::string ParamListClick(TweakForm& form);
[[nodiscard]] std::string FirstParamClick(TweakForm& form);
[[nodiscard]] std::string LastParamClick(TweakForm& form);
[[nodiscard]] std::string PrevParamPageClick(TweakForm& form);
[[nodiscard]] std::string NextParamPageClick(TweakForm& form);

[[nodiscard]] std::string OscFormularChange(TweakForm& form);
[[nodiscard]] std::string BaseValChange(TweakForm& form);
[[nodiscard]] std::string Osc1Change(TweakForm& form);
[[nodiscard]] std::string Osc2Change(TweakForm& form);
[[nodiscard]] std::string BaseValUpClick(TweakForm& form);    // "add"
[[nodiscard]] std::string BaseValDownClick(TweakForm& form);  // "sub"

// Whether the parameter's base value is a whole number (bool, byte, word).
bool IsWholeParam(const ParamName& name);

// The field's control in the model.
EditField& FieldOf(TweakForm& form, TweakField field);

// Sets a field's text as the program does: when the text changes, the field's change handler runs.
[[nodiscard]] std::string SetFieldText(TweakForm& form, TweakField field, const std::string& text);

// The handler of a field's text change (nothing for the two path fields).
[[nodiscard]] std::string RunFieldChange(TweakForm& form, TweakField field);

// Enables or disables the six editing controls together.
void EnableEditing(TweakForm& form, bool enabled);
