#pragma once
// The display modes every adapter offers: the classic sizes 320 × 240 .. 1600 × 1200, each in
// D3DFMT_R5G6B5 and D3DFMT_X8R8G8B8 at 60, 72, 75 and 85 Hz, ordered by size, then format, then rate.
// They are emulated on any monitor: the back buffer has the mode's size and is scaled to the screen.
#include <vector>

#include "gpu/d3d8.h"

const std::vector<D3DDISPLAYMODE>& ClassicDisplayModes();
