#include "tweak/logo.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t kKey[3] = {255, 0, 255};  // transparent colour

void Blend(std::vector<uint8_t>& rgb, int x, int y, const double colour[3], double coverage) {
  if (x < 0 || y < 0 || x >= kLogoWidthPx || y >= kLogoHeightPx - 1 || coverage <= 0) return;
  uint8_t* p = &rgb[(y * kLogoWidthPx + x) * 3];
  const bool empty = p[0] == kKey[0] && p[1] == kKey[1] && p[2] == kKey[2];
  for (int c = 0; c < 3; ++c) {
    const double under = empty ? 16.0 : p[c];  // the curve glows over a dark ground
    p[c] = static_cast<uint8_t>(std::clamp(under + (colour[c] - under) * std::min(coverage, 1.0), 0.0, 255.0));
  }
}

}  // namespace

std::vector<uint8_t> LogoPixels() {
  std::vector<uint8_t> rgb(kLogoWidthPx * kLogoHeightPx * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) std::copy(kKey, kKey + 3, &rgb[i]);
  // A Lissajous figure 3:2, its colour running from amber to violet, drawn as soft dots of shrinking
  // size: the oscillators the window edits, made visible.
  constexpr int kSteps = 1400;
  constexpr double kPi = 3.14159265358979323846;
  for (int s = 0; s < kSteps; ++s) {
    const double t = 2 * kPi * s / kSteps;
    const double cx = 50 + 46 * std::sin(3 * t + kPi / 2);
    const double cy = 36 + 32 * std::sin(2 * t);
    const double share = static_cast<double>(s) / kSteps;
    const double colour[3] = {255 - 135 * share, 150 - 90 * share, 20 + 235 * share};
    const double radius = 2.6 - 1.2 * share;
    for (int y = static_cast<int>(cy - 4); y <= static_cast<int>(cy + 4); ++y)
      for (int x = static_cast<int>(cx - 4); x <= static_cast<int>(cx + 4); ++x) {
        const double distance = std::hypot(x - cx, y - cy);
        Blend(rgb, x, y, colour, radius - distance);
      }
  }
  return rgb;
}

std::vector<uint8_t> LogoPixelsWithAlpha() {
  const std::vector<uint8_t> rgb = LogoPixels();
  const uint8_t* key = &rgb[((kLogoHeightPx - 1) * kLogoWidthPx) * 3];
  std::vector<uint8_t> rgba;
  rgba.reserve(kLogoWidthPx * kLogoHeightPx * 4);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const bool transparent = rgb[i] == key[0] && rgb[i + 1] == key[1] && rgb[i + 2] == key[2];
    rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], static_cast<uint8_t>(transparent ? 0 : 255)});
  }
  return rgba;
}
