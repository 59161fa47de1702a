#pragma once
// Evaluation of one parameter at an effect time: its base value, moved by its oscillator form.
// fxTimeMs is the effect time in milliseconds (0..4294967295), taken exactly as a real number.
// The integer evaluators raise RangeError when the base value rounds outside the type (whatever the
// form) or an oscillating value rounds outside the signed 32-bit range.
#include <cstdint>
#include <string>

#include "scene/param_table.h"

// Base value plus oscillator, in double precision; the base value alone for form 0 and forms above 6.
double OscValue(const TScene1ParamInterface& param, uint32_t fxTimeMs);

// Whether an oscillating value may round outside the signed 32-bit range at some effect time: OscValue's
// formula with the sine or cosine at its extremes (0 for the absolute forms). False for a static value.
bool OscillationMayLeave32Bits(const TScene1ParamInterface& param);

// The text of the RangeError an oscillating value outside the signed 32-bit range raises.
std::string OscOutOfRangeText(const TScene1ParamInterface& param);

uint8_t EvalBool(const TScene1ParamInterface& param,
                 uint32_t fxTimeMs);  // static: |Round(b)| mod 256; oscillating: 0..1
uint8_t EvalByte(const TScene1ParamInterface& param, uint32_t fxTimeMs);   // 0..255
uint16_t EvalWord(const TScene1ParamInterface& param, uint32_t fxTimeMs);  // 0..65535
float EvalSing(const TScene1ParamInterface& param, uint32_t fxTimeMs);     // no rounding, no clamping

// The text the tweak window shows for each form, index = form 0..6.
inline constexpr const char* kOscFormTexts[7] = {
    "0: static value",       "1: sin(time*x)*y",         "2: cos(time*x)*y",         "3: abs(sin(time*x))*y",
    "4: abs(cos(time*x))*y", "5: (sin(time*x)*y/2)+y/2", "6: (cos(time*x)*y/2)+y/2",
};
