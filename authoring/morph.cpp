#include "authoring/morph.h"

#include <algorithm>

#include "scene/round.h"

namespace {

float Between(float from, float to, double share) { return static_cast<float>(from + (double(to) - from) * share); }

}  // namespace

TScene1ParamIArray MorphParams(const TScene1ParamIArray& from, const TScene1ParamIArray& to, double share) {
  share = std::clamp(share, 0.0, 1.0);
  if (share == 0) return from;
  if (share == 1) return to;
  const bool pastMiddle = share >= 0.5;
  TScene1ParamIArray blend = from;
  for (int i = 0; i < kParamCount; ++i) {
    const TScene1ParamInterface& a = from[i];
    const TScene1ParamInterface& b = to[i];
    TScene1ParamInterface& mixed = blend[i];
    if (pastMiddle) {
      mixed.Name = b.Name;
      mixed.OscForm = b.OscForm;
    }
    switch (EvaluationType(i)) {
      case ParamType::Bool: mixed.BaseVal = pastMiddle ? b.BaseVal : a.BaseVal; break;
      case ParamType::Byte:
      case ParamType::Word: mixed.BaseVal = static_cast<float>(Round(Between(a.BaseVal, b.BaseVal, share))); break;
      default: mixed.BaseVal = Between(a.BaseVal, b.BaseVal, share); break;
    }
    mixed.Osc1 = Between(a.Osc1, b.Osc1, share);
    mixed.Osc2 = Between(a.Osc2, b.Osc2, share);
  }
  return blend;
}
