#pragma once
// Reading BMP files: uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit pictures (also with bit-field masks),
// stored bottom-up or top-down, with the Windows header (40 bytes or its V4/V5 extensions) or the 12-byte
// OS/2 header; at most 8192 × 8192 pixels and 300 MB. Compressed (RLE, JPEG, PNG) BMPs are refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gpu/rgba_image.h"

constexpr uint32_t kMaxBmpSidePx = 8192;           // larger headers are refused before decoding
constexpr uint64_t kMaxBmpFileBytes = 300u << 20;  // larger files are refused before reading

// Decodes the BMP in bytes into image, rows from the top (opaque alpha where the file has none). Returns
// "" on success; the reason for a corrupt, unsupported or too large picture, with nothing allocated for
// the pixels.
[[nodiscard]] std::string DecodeBmp(const uint8_t* bytes, size_t size, RgbaImage& image);

// The picture size a BMP file's header gives, read without decoding (and without waiting on a FIFO);
// false when path is no regular file or its header is not a BMP's.
bool ReadBmpSize(const std::string& path, uint32_t& widthPx, uint32_t& heightPx);

// DecodeBmp of the file at path; a reason as well for a missing or unreadable file or one that is not a
// regular file (what it is: a folder, a FIFO, ...).
[[nodiscard]] std::string ReadBmpFile(const std::string& path, RgbaImage& image);
