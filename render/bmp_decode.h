#pragma once
// Reading BMP files (uncompressed 8-, 24- and 32-bit, and what else stb_image's BMP reader takes).
#include <string>

#include "render/rgba_image.h"

constexpr uint32_t kMaxBmpSidePx = 8192;            // larger headers are refused before decoding
constexpr uint64_t kMaxBmpFileBytes = 300u << 20;   // larger files are refused before reading

// Fills image (opaque alpha where the file has none); false for a missing, unreadable, corrupt or too
// large file, with nothing allocated for the pixels.
bool ReadBmpFile(const std::string& path, RgbaImage& image);
