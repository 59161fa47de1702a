#pragma once
// Rounding used everywhere a value is rounded: to the nearest integer, halves to the even neighbour.
#include <cmath>

// Round(2.5) == 2, Round(3.5) == 4, Round(-0.5) == -0. The result is still a double so that callers can
// range-check it before converting.
inline double Round(double value) { return std::nearbyint(value); }
