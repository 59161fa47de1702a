#pragma once
// The tweak window's logo: a 101 x 73 picture of our own, drawn in code. 24-bit RGB, rows top to bottom;
// the colour of the bottom-left pixel is the transparent colour, as for a bitmap drawn transparent.
#include <cstdint>
#include <vector>

inline constexpr int kLogoWidthPx = 101;
inline constexpr int kLogoHeightPx = 73;

// kLogoWidthPx * kLogoHeightPx * 3 bytes.
std::vector<uint8_t> LogoPixels();

// The same picture with an alpha channel: 0 where the pixel has the transparent colour, else 255.
std::vector<uint8_t> LogoPixelsWithAlpha();
