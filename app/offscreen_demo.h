#pragma once
// The demo without a window: start-up on an offscreen device, frames drawn at any demo time. Messages go
// to stderr. Used by --render and the video export.
#include <cstdint>
#include <string>

#include "app/demo_engine.h"

// Starts the demo of dataDir offscreen with a back buffer of widthPx x heightPx, music off and a fixed
// random seed, so the same frame always looks the same. False (after printing why) when it cannot start.
bool StartOffscreenDemo(DemoEngine& engine, const std::string& dataDir, uint32_t widthPx, uint32_t heightPx);

// The back buffer after the frame of demoTimeMs; false when it cannot be read.
bool RenderOffscreenFrame(DemoEngine& engine, uint32_t demoTimeMs, RgbaImage& image);

// quarnel --render MS OUT.png [--size WxH] [DATA_DIR]. Returns the exit status.
int RunRender(uint32_t demoTimeMs, const std::string& pngPath, uint32_t widthPx, uint32_t heightPx,
              const std::string& dataDir);
