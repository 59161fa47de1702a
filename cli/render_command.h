#pragma once
// quarnel --render: one frame of the demo drawn offscreen, as the export draws it, into a PNG.
#include <cstdint>
#include <string>

#include "draw/offscreen_demo.h"

// Loads dataDir as the start-up does and writes the frame of demo time demoTimeMs (widthPx x heightPx,
// 1..8192 each) to pngPath, as the export at rate draws it after the frames before it.
// Returns the exit status; faults go to stderr.
int RunRender(uint32_t demoTimeMs, const std::string& pngPath, FrameRate rate, uint32_t widthPx, uint32_t heightPx,
              const std::string& dataDir);
