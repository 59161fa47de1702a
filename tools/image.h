#pragma once
// An 8-bit RGB picture in memory. Rows run top to bottom, pixels left to right, 3 bytes R, G, B each.
#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
  int widthPx = 0;
  int heightPx = 0;
  std::vector<uint8_t> rgb;  // widthPx * heightPx * 3 bytes
};

// A black picture; widthPx, heightPx 1..65535.
inline Image MakeImage(int widthPx, int heightPx) {
  Image image;
  image.widthPx = widthPx;
  image.heightPx = heightPx;
  image.rgb.assign(static_cast<size_t>(widthPx) * heightPx * 3, 0);
  return image;
}
