#pragma once
// Writer of uncompressed 24-bit Windows bitmaps (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows,
// each row padded to a multiple of 4 bytes), the texture format the demo loads.
#include <string>
#include <vector>

#include "tools/image.h"

// The complete file contents for the picture.
std::vector<uint8_t> EncodeBmp(const Image& image);

// Writes the picture to path; "" when written, otherwise "path: reason".
std::string WriteBmp(const std::string& path, const Image& image);
