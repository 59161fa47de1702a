#pragma once
// Controller mappings: which MIDI control drives which part of the scene, and what a control's move
// does. A control change or pitch bend moves a value: a parameter's base value, its oscillator values
// x and y (osc1, osc2), the tweak window's time slider (running time) or its morph slider (the share
// 0..1 towards the morph preset); a note (or a control change going up through the middle, for a
// controller's buttons) presses a button: rand, var, save, the development keys F5..F8, or a preset pick.
//
// A control's position 0..1 is scaled linearly to its mapping's range, minimum at 0 and maximum at 1
// (minimum above maximum turns a control round); a slider's range is the slider's own, asked at every
// move. Soft takeover: a mapping acts only once its control has met the target's current value (come
// within one coarse step of it, or passed it between two moves), so the first touch of a knob never
// makes the value jump; a value changed by anything else (the mouse, an undo, a preset pick) lets go of
// the control until it meets the value again.
//
// Learn: while learning is on, a target touched in the tweak window is armed; the next control moved
// (a note or control change for a button, a control change or bend for a value) is mapped to it,
// replacing any mapping of that control and of that target. What the mapping changes goes through
// the caller's effects: no window or document here.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "authoring/midi_parser.h"
#include "scene/automation.h"
#include "scene/param_table.h"

struct MidiControl {
  MidiEventKind kind = MidiEventKind::Control;
  uint8_t channel = 0;  // 0..15
  uint8_t number = 0;   // controller or note 0..127; 0 for a bend
  bool operator==(const MidiControl&) const = default;
};

enum class TargetKind : uint8_t { BaseVal, Osc1, Osc2, TimeSlider, MorphSlider, Button };
enum class ButtonAction : uint8_t { Rand, Var, Save, F5, F6, F7, F8, Preset };
inline constexpr int kButtonActionCount = 8;
// The targets' names in controllers.txt and on screen, index = TargetKind (a button is named by its
// action), and the buttons' names, index = ButtonAction (a preset pick is "preset N").
inline constexpr const char* kTargetKindNames[] = {"base", "osc1", "osc2", "time", "morph"};
inline constexpr const char* kButtonActionNames[kButtonActionCount] = {"rand", "var", "save", "F5",
                                                                       "F6",   "F7",  "F8",   "preset"};

struct ControllerTarget {
  TargetKind kind = TargetKind::BaseVal;
  int param = 0;                            // BaseVal, Osc1, Osc2: the parameter 0..76
  ButtonAction button = ButtonAction::Rand;  // Button
  int preset = 0;                           // ButtonAction::Preset: the preset number
  bool operator==(const ControllerTarget&) const = default;
};

bool IsValueTarget(const ControllerTarget& target);
// A part of a parameter (base value, osc1, osc2): its mapping has a range of its own.
bool IsParamTarget(const ControllerTarget& target);

struct ControllerMapping {
  MidiControl control;
  ControllerTarget target;
  double minimum = 0, maximum = 1;  // the value at position 0 and at 1 (parameter parts only)
  std::optional<double> position;   // the control's last position 0..1; nullopt: not known yet
  bool engaged = false;             // soft takeover: the control has met the value
  std::optional<double> setValue;   // the value it set last while engaged
};

// What the mappings act on, given by the program.
struct ControllerEffects {
  std::function<std::optional<double>(const ControllerTarget&)> Value;  // now; nullopt: none (nothing acts)
  // A slider's range; for a parameter part the range a newly learned mapping takes.
  std::function<KeyRange(const ControllerTarget&)> Range;
  std::function<std::string(const ControllerTarget&, double value)> Set;  // "" when stored, else why not
  std::function<void(const ControllerTarget&)> Press;
  std::function<void(const ControllerMapping&)> Learned;  // a mapping was made by learning
  std::function<void(const std::string&)> Fault;          // a value Set refused
};

struct ControllerMap {
  std::vector<ControllerMapping> mappings;
  bool learning = false;
  std::optional<ControllerTarget> armed;  // touched while learning: the next control moved maps to it
  uint64_t revision = 0;                  // counts the changes of mappings and positions
  MidiParser parser;
  // Lines of controllers.txt that were refused, written back as they were so that none is lost.
  std::vector<std::string> refusedLines;
};

// Reads MIDI bytes and does what their events do.
void FeedMidi(ControllerMap& map, std::span<const uint8_t> bytes, const ControllerEffects& effects);
void HandleMidiEvent(ControllerMap& map, const MidiEvent& event, const ControllerEffects& effects);

// Removes mapping index (out of range: nothing).
void RemoveMapping(ControllerMap& map, size_t index);

// The range a new mapping of a parameter part takes, from the parameter's record now: a base value
// the parameter type's key range (ParamKeyRange), a real's its value ± its size (at least 1); osc x
// (angular frequency) 0..0.01 radians per ms (a swing of 628 ms and slower); osc y (amplitude) half the
// key range's span, a real's 0..its size (at least 1).
KeyRange DefaultRange(const ControllerTarget& target, const TScene1ParamIArray& params);

// "CC 21", "CC 21 ch 2", "note 60", "bend", "bend ch 3": a control as the window shows it.
std::string ControlName(const MidiControl& control);
// "base BG_r", "osc1 BG_r", "osc2 BG_r", "time slider", "morph slider", "rand", "F5", "preset 2".
std::string TargetName(const ControllerTarget& target, const TScene1ParamIArray& params);
// The mappings of target, by control name, "" when none: "CC 21" or "CC 21, note 60".
std::string MarkOf(const ControllerMap& map, const ControllerTarget& target);
