#include "scene/param_eval.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "scene/errors.h"
#include "scene/printable_text.h"
#include "scene/round.h"
#include "scene/scene_messages.h"

namespace {

// The name as a message shows it: a file may give an entry any text as its name.
std::string ShownName(const TScene1ParamInterface& param) { return QuotedText(param.Name.Text(), 40); }

bool Oscillates(const TScene1ParamInterface& param) { return param.OscForm >= 1 && param.OscForm <= 6; }

std::string NumberText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0f", value);
  return buffer;
}

// |Round(b)|, raising RangeError above `maximum`.
double StaticMagnitude(const TScene1ParamInterface& param, double maximum) {
  const double magnitude = std::fabs(Round(param.BaseVal));
  if (magnitude > maximum)
    throw RangeError(ShownName(param) + kMsgStaticOutOfRange + NumberText(magnitude) + kMsgStaticOutsideRange + "0.." +
                     NumberText(maximum));
  return magnitude;
}

// Round(OscValue) clamped to 0..maximum, raising RangeError outside the signed 32-bit range.
double ClampedOscillation(const TScene1ParamInterface& param, uint32_t fxTimeMs, double maximum) {
  const double rounded = Round(OscValue(param, fxTimeMs));
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) throw RangeError(OscOutOfRangeText(param));
  return std::clamp(rounded, 0.0, maximum);
}

}  // namespace

double OscValue(const TScene1ParamInterface& param, uint32_t fxTimeMs) {
  const double b = param.BaseVal, x = param.Osc1, y = param.Osc2;
  const double angle = static_cast<double>(fxTimeMs) * x;
  switch (param.OscForm) {
    case 1: return std::sin(angle) * y + b;
    case 2: return std::cos(angle) * y + b;
    case 3: return std::fabs(std::sin(angle) * y) + b;
    case 4: return std::fabs(std::cos(angle) * y) + b;
    case 5: return std::sin(angle) * y / 2 + (y / 2 + b);
    case 6: return std::cos(angle) * y / 2 + (y / 2 + b);
    default: return b;
  }
}

// The bounds follow OscValue's order of operations, so that no value it computes lies beyond them.
bool OscillationMayLeave32Bits(const TScene1ParamInterface& param) {
  if (!Oscillates(param)) return false;
  const double b = param.BaseVal, y = param.Osc2, amplitude = std::fabs(y);
  double low = b - amplitude, high = amplitude + b;
  if (param.OscForm == 3 || param.OscForm == 4) low = b;
  if (param.OscForm == 5 || param.OscForm == 6) low = -amplitude / 2 + (y / 2 + b), high = amplitude / 2 + (y / 2 + b);
  return !(Round(low) >= INT32_MIN && Round(high) <= INT32_MAX);
}

std::string OscOutOfRangeText(const TScene1ParamInterface& param) { return ShownName(param) + kMsgOscOutOfRange; }

uint8_t EvalBool(const TScene1ParamInterface& param, uint32_t fxTimeMs) {
  // Static: the low 8 bits of |Round(b)|, so 2 stays 2 and 256 becomes 0. Beyond 2^63 no integer holds it.
  const double magnitude = StaticMagnitude(param, 9.2e18);
  if (Oscillates(param)) return static_cast<uint8_t>(ClampedOscillation(param, fxTimeMs, 1));
  return static_cast<uint8_t>(static_cast<uint64_t>(magnitude) & 0xFF);
}

uint8_t EvalByte(const TScene1ParamInterface& param, uint32_t fxTimeMs) {
  const double magnitude = StaticMagnitude(param, UINT8_MAX);
  return static_cast<uint8_t>(Oscillates(param) ? ClampedOscillation(param, fxTimeMs, UINT8_MAX) : magnitude);
}

uint16_t EvalWord(const TScene1ParamInterface& param, uint32_t fxTimeMs) {
  const double magnitude = StaticMagnitude(param, 65535);
  return static_cast<uint16_t>(Oscillates(param) ? ClampedOscillation(param, fxTimeMs, 65535) : magnitude);
}

float EvalSing(const TScene1ParamInterface& param, uint32_t fxTimeMs) {
  if (!Oscillates(param)) return param.BaseVal;
  const double value = OscValue(param, fxTimeMs);
  // A sum beyond the float range becomes infinite, as the hardware conversion would make it.
  if (std::fabs(value) > FLT_MAX) return value > 0 ? INFINITY : -INFINITY;
  return static_cast<float>(value);
}
