#pragma once
// Writes small BMP files for the tests: 24- and 32-bit true colour, and 8-bit with a palette; with the
// 40-byte Windows header, rows bottom-up (the usual) or top-down (a negative height), or with the 12-byte
// OS/2 header (16-bit sizes, 3-byte palette entries).
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

enum class BmpLayout { BottomUp, TopDown, Os2 };

// pixels: 0xRRGGBB per pixel, rows from the top.
inline void WriteTestBmp(const std::string& path, int widthPx, int heightPx, const std::vector<uint32_t>& pixels,
                         int bitsPerPixel, BmpLayout layout = BmpLayout::BottomUp) {
  const bool os2 = layout == BmpLayout::Os2;
  const bool paletted = bitsPerPixel == 8;
  std::vector<uint32_t> palette;
  auto paletteIndex = [&palette](uint32_t colour) {
    for (size_t i = 0; i < palette.size(); ++i)
      if (palette[i] == colour) return uint8_t(i);
    palette.push_back(colour);
    return uint8_t(palette.size() - 1);
  };
  const int bytesPerPixel = bitsPerPixel / 8;
  const int rowBytes = (widthPx * bytesPerPixel + 3) / 4 * 4;
  std::vector<uint8_t> data(size_t(rowBytes) * heightPx, 0);
  for (int y = 0; y < heightPx; ++y) {
    uint8_t* row = &data[size_t(layout == BmpLayout::TopDown ? y : heightPx - 1 - y) * rowBytes];
    for (int x = 0; x < widthPx; ++x) {
      const uint32_t c = pixels[size_t(y) * widthPx + x];
      if (paletted) {
        row[x] = paletteIndex(c);
      } else {
        row[x * bytesPerPixel + 0] = uint8_t(c);
        row[x * bytesPerPixel + 1] = uint8_t(c >> 8);
        row[x * bytesPerPixel + 2] = uint8_t(c >> 16);
        if (bytesPerPixel == 4) row[x * 4 + 3] = 0;
      }
    }
  }
  const uint32_t paletteBytes = paletted ? 256 * (os2 ? 3 : 4) : 0;
  const uint32_t offset = 14 + (os2 ? 12 : 40) + paletteBytes;
  std::vector<uint8_t> file;
  auto put16 = [&file](uint32_t v) {
    file.push_back(uint8_t(v));
    file.push_back(uint8_t(v >> 8));
  };
  auto put32 = [&put16](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  file.push_back('B');
  file.push_back('M');
  put32(offset + uint32_t(data.size()));
  put32(0);
  put32(offset);
  if (os2) {
    put32(12);
    put16(uint32_t(widthPx));
    put16(uint32_t(heightPx));
    put16(1);
    put16(uint32_t(bitsPerPixel));
  } else {
    put32(40);
    put32(uint32_t(widthPx));
    put32(uint32_t(layout == BmpLayout::TopDown ? -heightPx : heightPx));
    put16(1);
    put16(uint32_t(bitsPerPixel));
    put32(0);  // uncompressed
    put32(uint32_t(data.size()));
    put32(2835);
    put32(2835);
    put32(paletted ? 256 : 0);
    put32(0);
  }
  for (uint32_t i = 0; i < 256 && paletted; ++i) {
    const uint32_t colour = i < palette.size() ? palette[i] : 0;
    if (os2) {
      file.push_back(uint8_t(colour));
      file.push_back(uint8_t(colour >> 8));
      file.push_back(uint8_t(colour >> 16));
    } else {
      put32(colour);
    }
  }
  file.insert(file.end(), data.begin(), data.end());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

// Two textures for scene tests: texture0.bmp a 64 x 64 disc of three coloured rings on see-through
// black, texture1.bmp a white 32 x 32 square.
inline void WriteRingAndWhiteTextures(const std::string& dir) {
  std::vector<uint32_t> disc(64 * 64, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const double r = std::hypot(x - 31.5, y - 31.5);
      if (r < 30) disc[size_t(y) * 64 + x] = r < 10 ? 0xFFE040 : r < 20 ? 0xFF4080 : 0x40C0FF;
    }
  WriteTestBmp(dir + "/texture0.bmp", 64, 64, disc, 24);
  WriteTestBmp(dir + "/texture1.bmp", 32, 32, std::vector<uint32_t>(32 * 32, 0xFFFFFF), 24);
}
