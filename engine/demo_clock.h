#pragma once
// The playback clock. Ticks are milliseconds of a monotonic counter; all fields are 32-bit unsigned.
#include <cstdint>

struct DemoClock {
  uint32_t AvgFps = 0;      // frames per second since the clock start
  uint32_t Fps = 0;         // frames per second of the last frame that took at least 1 ms
  uint32_t FrameCount = 0;  // frames started since the clock start
  uint32_t StartTick = 0;   // tick at which demo time 0 lies
  uint32_t DemoTime = 0;    // elapsed demo time, ms
  uint32_t FxTime = 0;      // effect time of the layer evaluated last, ms
};

// Demo time 0 at tick nowMs, no frames yet.
inline void StartDemoClock(DemoClock& clock, uint32_t nowMs) {
  clock.FrameCount = 0;
  clock.DemoTime = 0;
  clock.StartTick = nowMs;
}
