#pragma once
// The tweak window's "controllers" group: the "learn" switch, the targets a control can be learned for,
// the list of mappings (a pick removes one), and the marks of mapped fields. It works on the form's
// ControllerMap (TweakForm::controllers, development mode only: without one nothing here acts) and
// shows what it did in the notice line.
#include <string>
#include <vector>

#include "authoring/midi_mapping.h"
#include "tweak/tweak_controls.h"

// The switch: learning on or off; off drops an armed target.
void SetLearning(TweakForm& form, bool on);
// The user touched an editing field (BaseVal, Osc1, Osc2: of the selected parameter) or a slider:
// while learning, it is armed for the next control moved.
void TouchField(TweakForm& form, TweakField field);
void TouchTimeSlider(TweakForm& form);
void TouchMorphSlider(TweakForm& form);

// The buttons a note (or a controller's button) can press: rand, var, save, F5..F8, and every preset's pick.
std::vector<ControllerTarget> ButtonTargets(const TweakForm& form);
std::vector<std::string> ButtonTargetItems(const TweakForm& form);
// Picks ButtonTargets()[index] to be learned: it turns learning on and is armed.
void ArmButton(TweakForm& form, size_t index);

// The mappings as the menu lists them ("CC 21: base BG_r"), and removing one by its place there.
std::vector<std::string> MappingItems(const TweakForm& form);
void RemoveMappingItem(TweakForm& form, size_t index);

// The controls mapped to an editing field (of the selected parameter) or to a slider, "" for none.
std::string FieldMark(const TweakForm& form, TweakField field);
std::string TimeSliderMark(const TweakForm& form);
std::string MorphSliderMark(const TweakForm& form);

// A mapping was learned: the notice line says which.
void NoteLearned(TweakForm& form, const ControllerMapping& mapping);
