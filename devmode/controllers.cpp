#include "devmode/controllers.h"

#include <cmath>
#include <cstdio>

#include "authoring/controllers_file.h"
#include "devmode/dev_document.h"
#include "devmode/devmode_messages.h"
#include "scene/file_read.h"
#include "scene/safe_file.h"
#include "tweak/controller_events.h"
#include "tweak/user_events.h"

namespace {

void Notice(TweakForm& form, const std::string& text) {
  form.controls.notice = text;
  form.changed = true;
}

ParamPart PartOf(TargetKind kind) {
  return kind == TargetKind::Osc1 ? ParamPart::Osc1 : kind == TargetKind::Osc2 ? ParamPart::Osc2 : ParamPart::BaseVal;
}

std::optional<double> ValueOf(const TweakForm& form, const ControllerTarget& target) {
  if (target.kind == TargetKind::TimeSlider) return form.controls.TimeScale.position;
  if (target.kind == TargetKind::MorphSlider)  // no preset picked: the slider does nothing
    return form.controls.MorphPreset >= 0 ? std::optional<double>(MorphShare(form)) : std::nullopt;
  if (!IsValueTarget(target) || target.param < 0 || target.param >= kParamCount) return std::nullopt;
  const TScene1ParamInterface& param = form.host.scene->LiveParams[target.param];
  if (target.kind == TargetKind::BaseVal) return param.BaseVal;
  if (param.OscForm == 0) return std::nullopt;  // no oscillator: its values are not shown or kept
  return target.kind == TargetKind::Osc1 ? param.Osc1 : param.Osc2;
}

void Press(DevDocument& document, const ControllerTarget& target) {
  TweakForm& form = *document.tweak;
  switch (target.button) {
    case ButtonAction::Rand: return ClickButton(form, TweakButton::Rand);
    case ButtonAction::Var: return ClickButton(form, TweakButton::Var);
    case ButtonAction::Save: return ClickButton(form, TweakButton::Save);
    case ButtonAction::F5: return RunDevCommand(document, DevCommand::TogglePause);
    case ButtonAction::F6: return RunDevCommand(document, DevCommand::SetLoopIn);
    case ButtonAction::F7: return RunDevCommand(document, DevCommand::SetLoopOut);
    case ButtonAction::F8: return RunDevCommand(document, DevCommand::ClearLoop);
    case ButtonAction::Preset:
      if (target.preset < static_cast<int>(form.controls.PresetList.items.size()))
        SelectItem(form, TweakList::PresetList, target.preset);
      return;
  }
}

ControllerEffects EffectsOf(DevDocument& document) {
  TweakForm& form = *document.tweak;
  ControllerEffects effects;
  effects.Value = [&form](const ControllerTarget& target) { return ValueOf(form, target); };
  effects.Range = [&form](const ControllerTarget& target) {
    const ScrollBar& slider = form.controls.TimeScale;
    return target.kind == TargetKind::TimeSlider    ? KeyRange{double(slider.minimum), double(slider.maximum)}
           : target.kind == TargetKind::MorphSlider ? KeyRange{0, 1}
                                                    : DefaultRange(target, form.host.scene->LiveParams);
  };
  effects.Set = [&form](const ControllerTarget& target, double value) -> std::string {
    if (target.kind == TargetKind::MorphSlider) return SetMorphFromOutside(form, value);
    if (target.kind != TargetKind::TimeSlider) return SetParamFromOutside(form, target.param, PartOf(target.kind), value);
    MoveScrollBar(form, TweakScrollBar::TimeScale, static_cast<int>(std::lround(value)));
    return "";
  };
  effects.Press = [&document](const ControllerTarget& target) { Press(document, target); };
  effects.Learned = [&form](const ControllerMapping& mapping) { NoteLearned(form, mapping); };
  effects.Fault = [&form](const std::string& text) { Notice(form, text); };
  return effects;
}

// Reads the file into the mappings; its refused lines go to the notice line (the first) and standard
// error (every one).
void ReadFile(DevDocument& document) {
  DocumentControllers& controllers = document.controllers;
  controllers.stamp = StampOf(controllers.path);
  std::string text;
  if (!controllers.stamp.exists) return;
  if (const std::string fault = ReadWholeFile(controllers.path, kMaxTextFileBytes, text); !fault.empty())
    return Notice(*document.tweak, fault);
  ControllersRead read = ReadControllers(text, controllers.path);
  ControllerMap& map = controllers.map;
  map.mappings = std::move(read.mappings);
  map.refusedLines = std::move(read.refusedLines);
  controllers.savedRevision = ++map.revision;
  for (const std::string& fault : read.faults) std::fprintf(stderr, "quarnel: %s\n", fault.c_str());
  if (!read.faults.empty())
    Notice(*document.tweak, read.faults.front() + (read.faults.size() > 1 ? kNoticeMoreFaults : ""));
}

void Save(DevDocument& document, uint64_t wallMs) {
  DocumentControllers& controllers = document.controllers;
  const std::string fault = ReplaceFile(controllers.path, ControllersText(controllers.map));
  controllers.savedAtMs = wallMs;
  if (!fault.empty()) {
    if (fault != controllers.saveFault) Notice(*document.tweak, fault);
    controllers.saveFault = fault;
    return;
  }
  controllers.saveFault.clear();
  controllers.stamp = StampOf(controllers.path);
  controllers.savedRevision = controllers.map.revision;
}

}  // namespace

void AttachControllers(DevDocument& document) {
  DocumentControllers& controllers = document.controllers;
  controllers.path = document.engine.settings.dataDir + "/" + kControllersFileName;
  controllers.readOnly = document.tweakHost.readOnly;
  document.tweak->controllers = &controllers.map;
  ReadFile(document);
}

void OpenMidiInput(DevDocument& document, MidiSystem system) {
  if (!document.tweak) return;
  std::vector<std::string> listening;
  const std::string fault = MidiInput::Open(system, document.controllers.input, &listening);
  std::string text = fault.empty() && listening.empty() ? kNoticeNoMidiDevice : fault;
  for (const std::string& name : listening) text += (text.empty() ? kNoticeMidiListening : ", ") + name;
  // A fault of controllers.txt read just before stays in front.
  if (document.tweak->controls.notice.empty()) Notice(*document.tweak, text);
}

void ControllersFrame(DevDocument& document) {
  if (!document.controllers.input) return;
  const std::vector<uint8_t> bytes = document.controllers.input->TakeBytes();
  if (!bytes.empty()) FeedControllers(document, bytes);
}

void FeedControllers(DevDocument& document, std::span<const uint8_t> bytes) {
  if (!document.tweak) return;
  FeedMidi(document.controllers.map, bytes, EffectsOf(document));
  document.tweak->changed = true;
}

void PollControllers(DevDocument& document, uint64_t wallMs) {
  DocumentControllers& controllers = document.controllers;
  if (!document.tweak || controllers.path.empty()) return;
  const FileStamp now = StampOf(controllers.path);
  if (now.exists && now != controllers.stamp) ReadFile(document);
  if (!controllers.savedAtMs || wallMs >= *controllers.savedAtMs + kControllersSaveIntervalMs)
    SaveControllersNow(document, wallMs);
}

void SaveControllersNow(DevDocument& document, uint64_t wallMs) {
  const DocumentControllers& controllers = document.controllers;
  if (document.tweak && !controllers.path.empty() && !controllers.readOnly &&
      controllers.map.revision != controllers.savedRevision)
    Save(document, wallMs);
}
