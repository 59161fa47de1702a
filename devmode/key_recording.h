#pragma once
// Recording keys from the tweak window: what one gesture (a typing run, a slider drag, a controller run,
// a single click) wrote into an entry's tracks, and how its samples become keys. A gesture's samples
// replace the keys the track held within the span of time they cover, and are thinned to what
// changes the picture as they come: a sample stays a key unless the straight line from the key before
// it to the sample after it gives every sample in between within the parameter's resolution. The first
// and the latest sample are always keys. Keys of a gesture of several samples go on linearly; a single
// sample on an existing key's time keeps that key's curve. No window toolkit here.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "scene/automation.h"
#include "scene/sequence_file.h"

// One parameter's samples in a gesture and the keys they thin to.
struct SampledParam {
  std::map<uint32_t, float> samples;  // local ms of the entry -> base value; a later one at a time replaces
  std::vector<AutomationKey> kept;    // the samples that stay keys, the latest one left out
};

struct KeyGesture {
  std::optional<int> run;              // the undo run it belongs to; nullopt: a single action
  int entry = 0;                       // the entry its keys go to
  SequenceSnapshot before;             // the sequence as the gesture found it
  std::optional<uint32_t> typedAtMs;   // a typing run: every keystroke at the local time where it began
  std::map<int, SampledParam> params;  // by parameter index
};

// How far a value may be off before it changes the picture: 0.5 for a whole-number parameter, a small
// share of the value for a real one.
double KeyTolerance(int param, double value);

// Adds a sample of parameter param. A sample after all others costs the samples since the last kept key;
// one at or before the latest time thins the parameter's samples again from the start.
void AddSample(int param, SampledParam& sampled, uint32_t timeMs, float value);

// The tracks as the gesture leaves them: before, with each parameter's thinned samples written.
AutomationTracks RecordedTracks(const AutomationTracks& before, const std::map<int, SampledParam>& params);
