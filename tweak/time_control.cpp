#include "tweak/time_control.h"

#include <limits>

namespace {
bool FitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}
}  // namespace

bool JumpStartTick(uint32_t& startTick, uint32_t demoTimeMs, int32_t positionMs) {
  const int64_t difference = int64_t{positionMs} - int64_t{static_cast<int32_t>(demoTimeMs)};
  if (!FitsInt32(difference)) return false;
  const int64_t moved = int64_t{static_cast<int32_t>(startTick)} - difference;
  if (!FitsInt32(moved)) return false;
  startTick = static_cast<uint32_t>(static_cast<int32_t>(moved));
  return true;
}

void TimeScaleChange(TweakForm& form) {
  form.controls.TimeResetCaption = kTimeResetPrefix + std::to_string(form.controls.TimeScale.position) + kTimeResetUnit;
}

std::string TimeResetClick(TweakForm& form) {
  DemoClock& clock = *form.host.clock;
  if (!JumpStartTick(clock.StartTick, clock.DemoTime, form.controls.TimeScale.position)) return kMsgTimeJumpOverflow;
  return "";
}
