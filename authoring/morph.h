#pragma once
// The morph: a parameter set blended from where it stood towards a preset. Real numbers (base value and
// both oscillator values) go along a straight line, whole numbers (switches, bytes - a colour's channels
// each on its own - and words) along the same line rounded, and what has no in-between (a switch, an
// oscillator form, a name) flips at the middle. share 0 gives the start set and 1 the target exactly.
#include "scene/param_table.h"

// The blend of from towards to at share (clamped to 0..1).
TScene1ParamIArray MorphParams(const TScene1ParamIArray& from, const TScene1ParamIArray& to, double share);
