#pragma once
// The progress bar of the commands that draw many frames (--export, --render), on standard error.
#include <chrono>
#include <cstdint>

// Writes over the current line: "[#####     ] 120/600 frames  40.0 frames/s  12 s left", with the rate
// from the frames drawn since start. Only on a terminal: in a log (a part of a split export, a batch
// job) the bar would be noise.
void ShowFrameProgress(uint64_t done, uint64_t total, std::chrono::steady_clock::time_point start);
