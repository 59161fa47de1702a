#pragma once
// quarnel --render: one frame of the demo drawn offscreen, as the export draws it, into a PNG.
#include <cstdint>
#include <string>

// Loads dataDir as the start-up does and writes the frame of demo time demoTimeMs (widthPx x heightPx,
// 1..8192 each) to pngPath, after the frames an export at fps frames per second draws before it.
// Returns the exit status; faults go to stderr.
int RunRender(uint32_t demoTimeMs, const std::string& pngPath, uint32_t fps, uint32_t widthPx, uint32_t heightPx,
              const std::string& dataDir);
