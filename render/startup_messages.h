#pragma once
// The start-up texts of the renderer's share of the demo start-up, as the program shows them.
#include <cstdint>
#include <string>

inline constexpr char kDeviceInitPrefix[] = "d3d8 init failed! Error: ";
inline constexpr char kGeometryInitPrefix[] = "Geometry Init Error: ";
inline constexpr char kSpriteInitFailedText[] = "Sprite Init Error: could not create sprite!";
inline constexpr char kNoTexturesText[] = "Loading Error: no textures found!";

// Our own: an offscreen picture size the 16-bit size fields cannot hold.
inline std::string OffscreenSizeText(uint32_t widthPx, uint32_t heightPx) {
  return "picture size " + std::to_string(widthPx) + "x" + std::to_string(heightPx) +
         " is outside 1x1 .. 8192x8192";
}
inline constexpr char kNoPixelsText[] = "the device cannot read back its pixels";
inline std::string PngWriteFailedText(const std::string& path) { return "cannot write " + path; }
