#pragma once
// A picture in memory: 8-bit red, green, blue, alpha per pixel, rows from the top.
#include <cstdint>
#include <string>
#include <vector>

struct RgbaImage {
  uint32_t widthPx = 0;
  uint32_t heightPx = 0;
  std::vector<uint8_t> rgba;  // widthPx × heightPx × 4 bytes

  const uint8_t* Pixel(uint32_t x, uint32_t y) const { return &rgba[(size_t(y) * widthPx + x) * 4]; }
};

// Writes the picture as a PNG file with ReplaceFile (a failed write keeps the previous file). Returns ""
// on success, or path + ": " + the reason (strerror's text).
[[nodiscard]] std::string WritePng(const std::string& path, const RgbaImage& image);
