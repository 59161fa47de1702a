#pragma once
// The running-time control: a scroll bar picks a demo time in ms, the button moves the clock's start
// tick so that the next frame's demo time continues from there. Ticks and times are ms.
#include <cstdint>

#include "tweak/tweak_controls.h"

// The start tick that puts demo time demoTimeMs (the last frame's) at positionMs. Both subtractions,
// d = position - demoTime and startTick - d, are made on signed 32-bit values; false (startTick kept)
// when either leaves that range.
bool JumpStartTick(uint32_t& startTick, uint32_t demoTimeMs, int32_t positionMs);

void TimeScaleChange(TweakForm& form);                      // the button caption follows the position
[[nodiscard]] std::string TimeResetClick(TweakForm& form);  // the jump; "" or the overflow's message
