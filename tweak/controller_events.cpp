#include "tweak/controller_events.h"

#include "tweak/tweak_messages.h"

namespace {

const TScene1ParamIArray& Params(const TweakForm& form) { return form.host.scene->LiveParams; }

// The target of an editing field for the selected parameter; nullopt for another field or no selection.
std::optional<ControllerTarget> FieldTarget(const TweakForm& form, TweakField field) {
  const int selected = form.controls.ParamList.selected;
  if (selected < 0 || selected >= kParamCount) return std::nullopt;
  switch (field) {
    case TweakField::BaseVal: return ControllerTarget{TargetKind::BaseVal, selected};
    case TweakField::Osc1: return ControllerTarget{TargetKind::Osc1, selected};
    case TweakField::Osc2: return ControllerTarget{TargetKind::Osc2, selected};
    case TweakField::ScenePresetPath:
    case TweakField::ScenePresetFile: break;
  }
  return std::nullopt;
}

void Arm(TweakForm& form, const ControllerTarget& target) {
  form.controllers->armed = target;
  form.controls.notice = kNoticeMoveControl + TargetName(target, Params(form));
  form.changed = true;
}

void TouchSlider(TweakForm& form, TargetKind slider) {
  if (form.controllers && form.controllers->learning) Arm(form, ControllerTarget{slider});
}

std::string SliderMark(const TweakForm& form, TargetKind slider) {
  return form.controllers ? MarkOf(*form.controllers, ControllerTarget{slider}) : "";
}

}  // namespace

void SetLearning(TweakForm& form, bool on) {
  if (!form.controllers) return;
  form.controllers->learning = on;
  form.controllers->armed.reset();
  form.controls.notice = on ? kNoticeLearnOn : "";
  form.changed = true;
}

void TouchField(TweakForm& form, TweakField field) {
  if (!form.controllers || !form.controllers->learning) return;
  if (const std::optional<ControllerTarget> target = FieldTarget(form, field)) Arm(form, *target);
}

void TouchTimeSlider(TweakForm& form) { TouchSlider(form, TargetKind::TimeSlider); }

void TouchMorphSlider(TweakForm& form) { TouchSlider(form, TargetKind::MorphSlider); }

std::vector<ControllerTarget> ButtonTargets(const TweakForm& form) {
  std::vector<ControllerTarget> targets;
  for (int action = 0; action < static_cast<int>(ButtonAction::Preset); ++action)
    targets.push_back({TargetKind::Button, 0, static_cast<ButtonAction>(action)});
  for (int preset = 0; preset < static_cast<int>(form.controls.PresetList.items.size()); ++preset)
    targets.push_back({TargetKind::Button, 0, ButtonAction::Preset, preset});
  return targets;
}

std::vector<std::string> ButtonTargetItems(const TweakForm& form) {
  std::vector<std::string> items;
  for (const ControllerTarget& target : ButtonTargets(form)) items.push_back(TargetName(target, Params(form)));
  return items;
}

void ArmButton(TweakForm& form, size_t index) {
  const std::vector<ControllerTarget> targets = ButtonTargets(form);
  if (!form.controllers || index >= targets.size()) return;
  form.controllers->learning = true;
  Arm(form, targets[index]);
}

std::vector<std::string> MappingItems(const TweakForm& form) {
  std::vector<std::string> items;
  if (!form.controllers) return items;
  for (const ControllerMapping& mapping : form.controllers->mappings)
    items.push_back(ControlName(mapping.control) + ": " + TargetName(mapping.target, Params(form)));
  return items;
}

void RemoveMappingItem(TweakForm& form, size_t index) {
  const std::vector<std::string> items = MappingItems(form);
  if (index >= items.size()) return;
  RemoveMapping(*form.controllers, index);
  form.controls.notice = kNoticeMappingRemoved + items[index];
  form.changed = true;
}

std::string FieldMark(const TweakForm& form, TweakField field) {
  const std::optional<ControllerTarget> target = FieldTarget(form, field);
  return form.controllers && target ? MarkOf(*form.controllers, *target) : "";
}

std::string TimeSliderMark(const TweakForm& form) { return SliderMark(form, TargetKind::TimeSlider); }

std::string MorphSliderMark(const TweakForm& form) { return SliderMark(form, TargetKind::MorphSlider); }

void NoteLearned(TweakForm& form, const ControllerMapping& mapping) {
  form.controls.notice = ControlName(mapping.control) + kNoticeMappedTo + TargetName(mapping.target, Params(form));
  form.changed = true;
}
