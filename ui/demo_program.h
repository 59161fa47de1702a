#pragma once
// The windowed program: the launcher, then the demo in its output window, frames at most at the
// display's refresh (or --max-fps).
#include <string>

#include "engine/play_options.h"

// Runs until the demo ends; returns 0 after a normal end, 1 after a fatal error.
int RunDemoProgram(bool developmentMode, const std::string& dataDir, const PlayOptions& options = {});
