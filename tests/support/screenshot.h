#pragma once
// The whole screen of the X display in DISPLAY as a picture, read through ImageMagick's import.
#include <fstream>
#include <string>
#include <vector>

#include "gpu/rgba_image.h"
#include "support/run_command.h"

// ppmPath: a scratch file. Empty picture when the screen could not be read.
inline RgbaImage TakeScreenshot(const std::string& ppmPath) {
  RunCommand("import -window root -depth 8 ppm:" + ppmPath);
  std::ifstream file(ppmPath, std::ios::binary);
  std::string magic;
  RgbaImage image;
  int maxValue = 0;
  file >> magic >> image.widthPx >> image.heightPx >> maxValue;
  file.get();
  if (!file || magic != "P6" || maxValue != 255) return {};
  std::vector<char> rgb(size_t(image.widthPx) * image.heightPx * 3);
  if (!file.read(rgb.data(), static_cast<std::streamsize>(rgb.size()))) return {};
  image.rgba.reserve(rgb.size() / 3 * 4);
  for (size_t i = 0; i < rgb.size(); i += 3)
    image.rgba.insert(image.rgba.end(), {uint8_t(rgb[i]), uint8_t(rgb[i + 1]), uint8_t(rgb[i + 2]), 255});
  return image;
}
