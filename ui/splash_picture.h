#pragma once
// The picture at the left of the launcher: a glowing sphere in a ring tunnel, computed, no file; and the
// program's icon made of it, at any size.
#include <cstdint>
#include <vector>

constexpr int kSplashSizePx = 128;
constexpr int kWindowIconPx = 64;  // the windows' icon (window managers scale it as they need)

// kSplashSizePx × kSplashSizePx pixels, rows from the top, 3 bytes each (red, green, blue).
std::vector<uint8_t> SplashPicture();

// The icon, sizePx × sizePx pixels (16..1024), rows from the top, 4 bytes each (red, green, blue, alpha):
// the splash picture with rounded corners. Below 48 pixels the tunnel's fine rings would be noise, so
// small icons show the sphere larger on one bright ring instead. Edges are smoothed (4 × 4 samples).
std::vector<uint8_t> IconPicture(int sizePx);
