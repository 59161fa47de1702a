#include "authoring/midi_mapping.h"

#include <algorithm>
#include <cmath>

#include "authoring/authoring_messages.h"

namespace {

// Soft takeover: a control within one coarse step of the value has met it.
constexpr double kTakeoverReach = 1.0 / 127.0;
constexpr double kButtonThreshold = 0.5;  // a control change presses a button going up through here
constexpr double kOscFrequencyTop = 0.01;  // radians per ms

bool Accepts(const ControllerTarget& target, MidiEventKind kind) {
  return IsValueTarget(target) ? kind != MidiEventKind::Note : kind != MidiEventKind::Bend;
}

MidiControl ControlOf(const MidiEvent& event) {
  return {event.kind, event.channel, event.kind == MidiEventKind::Bend ? uint8_t{0} : event.number};
}

void Learn(ControllerMap& map, const MidiEvent& event, const ControllerEffects& effects) {
  ControllerMapping mapping;
  mapping.control = ControlOf(event);
  mapping.target = *map.armed;
  if (IsValueTarget(mapping.target) && effects.Range) {
    const KeyRange range = effects.Range(mapping.target);
    mapping.minimum = range.minimum;
    mapping.maximum = range.maximum;
  }
  mapping.position = event.position;
  std::erase_if(map.mappings, [&](const ControllerMapping& other) {
    return other.control == mapping.control || other.target == mapping.target;
  });
  map.mappings.push_back(mapping);
  map.armed.reset();
  ++map.revision;
  if (effects.Learned) effects.Learned(mapping);
}

void MoveValue(ControllerMapping& mapping, double position, const ControllerEffects& effects) {
  const std::optional<double> current = effects.Value ? effects.Value(mapping.target) : std::nullopt;
  if (!current) return;
  const KeyRange range = !IsParamTarget(mapping.target) && effects.Range ? effects.Range(mapping.target)
                                                                         : KeyRange{mapping.minimum, mapping.maximum};
  const double span = range.maximum - range.minimum;
  if (mapping.engaged && mapping.setValue != current) mapping.engaged = false;  // moved by something else
  if (!mapping.engaged) {
    const double at = span == 0 ? position : (*current - range.minimum) / span;
    const bool passed = mapping.position && (*mapping.position - at) * (position - at) <= 0;
    mapping.engaged = passed || std::fabs(position - at) <= kTakeoverReach;
    if (!mapping.engaged) return;
  }
  const std::string fault = effects.Set ? effects.Set(mapping.target, range.minimum + position * span) : "";
  if (!fault.empty() && effects.Fault) effects.Fault(fault);
  mapping.setValue = effects.Value(mapping.target);
}

void Act(ControllerMapping& mapping, const MidiEvent& event, const ControllerEffects& effects) {
  if (IsValueTarget(mapping.target)) {
    MoveValue(mapping, event.position, effects);
  } else {
    const bool pressed = event.kind == MidiEventKind::Note ||
                         (mapping.position.value_or(0) < kButtonThreshold && event.position >= kButtonThreshold);
    if (pressed && effects.Press) effects.Press(mapping.target);
  }
  mapping.position = event.position;
}

std::string WithChannel(std::string name, uint8_t channel) {
  return channel == 0 ? name : name + kMidiChannelText + std::to_string(channel + 1);
}

}  // namespace

bool IsValueTarget(const ControllerTarget& target) { return target.kind != TargetKind::Button; }

bool IsParamTarget(const ControllerTarget& target) {
  return target.kind == TargetKind::BaseVal || target.kind == TargetKind::Osc1 || target.kind == TargetKind::Osc2;
}

void FeedMidi(ControllerMap& map, std::span<const uint8_t> bytes, const ControllerEffects& effects) {
  map.parser.Feed(bytes, [&](const MidiEvent& event) { HandleMidiEvent(map, event, effects); });
}

void HandleMidiEvent(ControllerMap& map, const MidiEvent& event, const ControllerEffects& effects) {
  if (map.learning && map.armed && Accepts(*map.armed, event.kind)) return Learn(map, event, effects);
  const MidiControl control = ControlOf(event);
  bool moved = false;
  for (ControllerMapping& mapping : map.mappings) {
    if (mapping.control != control) continue;
    Act(mapping, event, effects);
    moved = true;
  }
  if (moved) ++map.revision;
}

void RemoveMapping(ControllerMap& map, size_t index) {
  if (index >= map.mappings.size()) return;
  map.mappings.erase(map.mappings.begin() + static_cast<std::ptrdiff_t>(index));
  ++map.revision;
}

KeyRange DefaultRange(const ControllerTarget& target, const TScene1ParamIArray& params) {
  const int index = std::clamp(target.param, 0, kParamCount - 1);
  const bool real = EvaluationType(index) == ParamType::Sing;
  const KeyRange keys = ParamKeyRange(index);
  const double size = std::max(std::fabs(static_cast<double>(params[index].BaseVal)), 1.0);
  switch (target.kind) {
    case TargetKind::BaseVal: {
      const double value = params[index].BaseVal;
      return real ? KeyRange{value - size, value + size} : keys;
    }
    case TargetKind::Osc1: return {0, kOscFrequencyTop};
    case TargetKind::Osc2: return {0, real ? size : (keys.maximum - keys.minimum) / 2};
    case TargetKind::TimeSlider:
    case TargetKind::MorphSlider:
    case TargetKind::Button: break;
  }
  return {0, 1};
}

std::string ControlName(const MidiControl& control) {
  switch (control.kind) {
    case MidiEventKind::Control: return WithChannel(kMidiControlText + std::to_string(control.number), control.channel);
    case MidiEventKind::Note: return WithChannel(kMidiNoteText + std::to_string(control.number), control.channel);
    case MidiEventKind::Bend: return WithChannel(kMidiBendText, control.channel);
  }
  return "";
}

std::string TargetName(const ControllerTarget& target, const TScene1ParamIArray& params) {
  switch (target.kind) {
    case TargetKind::BaseVal:
    case TargetKind::Osc1:
    case TargetKind::Osc2: {
      const int index = std::clamp(target.param, 0, kParamCount - 1);
      return std::string(kTargetKindNames[static_cast<int>(target.kind)]) + " " +
             std::string(ShortName(params[index].Name));
    }
    case TargetKind::TimeSlider: return kMidiTimeSliderText;
    case TargetKind::MorphSlider: return kMidiMorphSliderText;
    case TargetKind::Button: break;
  }
  const std::string name = kButtonActionNames[static_cast<int>(target.button)];
  return target.button == ButtonAction::Preset ? name + " " + std::to_string(target.preset) : name;
}

std::string MarkOf(const ControllerMap& map, const ControllerTarget& target) {
  std::string mark;
  for (const ControllerMapping& mapping : map.mappings)
    if (mapping.target == target) mark += (mark.empty() ? "" : ", ") + ControlName(mapping.control);
  return mark;
}
