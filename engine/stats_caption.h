#pragma once
// The statistics line written into the output window's title every frame while "Stats" is on.
#include <cstdint>
#include <string>

#include "engine/demo_clock.h"

struct CaptionSizes {
  uint32_t clientWidthPx = 0, clientHeightPx = 0;  // the output window's client area
  uint32_t ViewWidth = 0, ViewHeight = 0;          // the drawing area between the letterbox bars
};

// "F.c: 640/480 A.s: 640/360 f: 12 ° t: 12000 (20%) ms ° fx-t: 6000ms ° fps: 60 ° afps: 59"; the
// degree signs are UTF-8. demoLengthMs is at least 1.
std::string StatsCaption(const CaptionSizes& sizes, const DemoClock& clock, uint32_t demoLengthMs);

// The caption extended by the music library's load: " ° mcpu: " + Round(cpuPercent) + "%".
std::string WithMusicCpu(const std::string& caption, float cpuPercent);
