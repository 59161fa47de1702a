#pragma once
// Recording keys from the tweak window: what one gesture (a typing run, a slider drag, a controller run,
// a single click) wrote into an entry's tracks, and how its samples become keys. A gesture's samples
// replace the keys the track held strictly inside the span of time they cover (a key at one of their
// times takes the sample's value), and are then thinned to what changes the picture: a sample's key goes
// when the track without it still gives every sample of the gesture within the parameter's resolution.
// No window toolkit here.
#include <cstdint>
#include <map>
#include <optional>

#include "scene/automation.h"
#include "scene/sequence_file.h"

// One parameter's samples of a gesture: local ms of the entry -> base value; a later sample at the same
// time replaces the earlier one.
using KeySamples = std::map<uint32_t, float>;

struct KeyGesture {
  std::optional<int> run;             // the undo run it belongs to; nullopt: a single action
  int entry = 0;                      // the entry its keys go to
  SequenceSnapshot before;            // the sequence as the gesture found it
  std::optional<uint32_t> typedAtMs;  // a typing run: every keystroke at the local time where it began
  std::map<int, KeySamples> samples;  // by parameter index
};

// How far a value may be off before it changes the picture: 0.5 for a whole-number parameter, a small
// share of the value for a real one.
double KeyTolerance(int param, double value);

// The tracks as the gesture leaves them: before, with each parameter's samples written and thinned.
AutomationTracks RecordedTracks(const AutomationTracks& before, const std::map<int, KeySamples>& samples);
