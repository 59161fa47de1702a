#pragma once
// Where a parameter of a sequence entry first fails to evaluate (its oscillating value rounds outside
// the signed 32-bit range), found exactly and without trying every demo time: a span of demo times is
// dropped whole when bounds on its effect times and on the oscillator over them prove that no value
// there leaves the range; the spans that remain are halved until they are short enough to evaluate
// millisecond by millisecond with the evaluator the frames use. A tracked base value is bounded over a
// span by the track's values at its ends and the keys within it: between two keys every curve stays
// between the keys' values. A followed base value is bounded by those times the follow's factor over
// every envelope level 0..1. The work is counted against a budget, so an oscillator that no bound can
// settle (its peaks just outside the range but never met at a whole millisecond) ends the search
// undecided instead of running for hours.
#include <cstdint>

#include "scene/param_table.h"
#include "scene/sequence.h"
#include "scene/sound_envelopes.h"

struct FailureSearch {
  enum class Outcome { NeverFails, Fails, Undecided };
  Outcome outcome = Outcome::NeverFails;
  uint32_t demoTimeMs = 0;  // Fails: the first failing demo time; Undecided: the first one not settled
  uint32_t fxTimeMs = 0;    // Fails: the effect time there
};

// Where a parameter's base value comes from in an entry: its preset, the entry's track of it (keys within
// ParamKeyRange), and the entry's follow of it through envelopes (both given or neither).
struct BaseSource {
  const AutomationTrack* track = nullptr;
  const ParamFollow* follow = nullptr;
  const SoundEnvelopes* envelopes = nullptr;
};

// Searches demo times 0..lastDemoTimeMs of entry for the first at which param (entry `index` of the
// table, an integer type whose base value its type holds) fails to evaluate; its base value taken from
// `base` as the frames take it (the track's at the entry's local time, followed at the demo time).
// Every bound or millisecond tried takes one unit of budget.
FailureSearch FindFirstFailure(const TSceneSeqEntry& entry, const TScene1ParamInterface& param, int index,
                               uint32_t lastDemoTimeMs, uint64_t& budget, const BaseSource& base = {});
