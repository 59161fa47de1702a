#pragma once
// The picture at the left of the launcher: a glowing sphere in a ring tunnel, computed, no file.
#include <cstdint>
#include <vector>

constexpr int kSplashSizePx = 128;

// kSplashSizePx × kSplashSizePx pixels, rows from the top, 3 bytes each (red, green, blue).
std::vector<uint8_t> SplashPicture();
