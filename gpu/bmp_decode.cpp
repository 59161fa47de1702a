// BMP reading through stb_image, with the size checked from the header before any pixel memory is taken.
#include "gpu/bmp_decode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "gpu/gpu_messages.h"
#include "scene/file_read.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kOs2HeaderBytes = 12;
constexpr uint32_t kUncompressed = 0, kBitFields = 3;  // the compression field's values we read

uint32_t Read16(const uint8_t* bytes, size_t offset) {
  return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8;
}
uint32_t Read32(const uint8_t* bytes, size_t offset) { return Read16(bytes, offset) | Read16(bytes, offset + 2) << 16; }

// Only uncompressed files (plain or with bit-field masks) are read, and such a file must hold every row
// its header promises (the decoder would read zeros instead, and a few bytes could claim 8192 × 8192
// pixels). The bit depth follows the width, height and plane fields: 16-bit ones in the OS/2 header,
// 32-bit ones in the others, which also give the compression.
bool UncompressedAndWhole(const uint8_t* bytes, size_t size, uint32_t widthPx, uint32_t heightPx) {
  if (size < kFileHeaderBytes + 4) return false;
  const uint32_t headerBytes = Read32(bytes, kFileHeaderBytes);
  const size_t depthOffset = kFileHeaderBytes + (headerBytes == kOs2HeaderBytes ? 10 : 14);
  const size_t compressionOffset = depthOffset + 2;
  if (size < compressionOffset + (headerBytes == kOs2HeaderBytes ? 0 : 4)) return false;
  const uint32_t compression = headerBytes == kOs2HeaderBytes ? 0 : Read32(bytes, compressionOffset);
  if (compression != kUncompressed && compression != kBitFields) return false;
  const uint64_t rowBytes = (uint64_t(widthPx) * Read16(bytes, depthOffset) + 31) / 32 * 4;
  return uint64_t(Read32(bytes, 10)) + rowBytes * heightPx <= size;
}

// The name of the compression a Windows-header BMP declares when it is one we refuse ("RLE8", ...);
// empty for an uncompressed picture or a header too short to tell.
std::string RefusedCompression(const uint8_t* bytes, size_t size) {
  constexpr size_t kCompressionOffset = kFileHeaderBytes + 16;
  if (size < kCompressionOffset + 4 || bytes[0] != 'B' || bytes[1] != 'M') return "";
  if (Read32(bytes, kFileHeaderBytes) == kOs2HeaderBytes) return "";
  switch (Read32(bytes, kCompressionOffset)) {
    case 1: return "RLE8";
    case 2: return "RLE4";
    case 4: return "JPEG";
    case 5: return "PNG";
    default: return "";
  }
}

}  // namespace

std::string DecodeBmp(const uint8_t* bytes, size_t size, RgbaImage& image) {
  if (size == 0) return kBmpEmptyText;
  if (size > kMaxBmpFileBytes) return kBmpTooLargeText;
  if (const std::string compression = RefusedCompression(bytes, size); !compression.empty())
    return compression + kBmpCompressedText;
  int widthPx = 0, heightPx = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, int(size), &widthPx, &heightPx, &channels))
    return kBmpNotReadText + std::string(stbi_failure_reason()) + ")";
  // A negative height in the header means rows stored from the top.
  const int64_t rows = std::llabs(int64_t(heightPx));
  if (widthPx <= 0 || rows == 0 || uint32_t(widthPx) > kMaxBmpSidePx || rows > int64_t(kMaxBmpSidePx))
    return kBmpBadSizeText;
  if (!UncompressedAndWhole(bytes, size, uint32_t(widthPx), uint32_t(rows))) return kBmpCompressedOrShortText;

  stbi_uc* pixels = stbi_load_from_memory(bytes, int(size), &widthPx, &heightPx, &channels, 4);
  if (pixels == nullptr) return kBmpNotReadText + std::string(stbi_failure_reason()) + ")";
  image.widthPx = uint32_t(widthPx);
  image.heightPx = uint32_t(heightPx);
  image.rgba.assign(pixels, pixels + size_t(widthPx) * size_t(heightPx) * 4);
  stbi_image_free(pixels);
  return "";
}

bool ReadBmpSize(const std::string& path, uint32_t& widthPx, uint32_t& heightPx) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  uint8_t header[kFileHeaderBytes + 12];
  const bool read = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                    pread(fd, header, sizeof header, 0) == ssize_t(sizeof header);
  close(fd);
  if (!read || header[0] != 'B' || header[1] != 'M') return false;
  if (Read32(header, kFileHeaderBytes) == kOs2HeaderBytes) {
    widthPx = Read16(header, 18), heightPx = Read16(header, 20);
    return true;
  }
  // A negative height means rows stored from the top.
  const int64_t width = int32_t(Read32(header, 18)), height = int32_t(Read32(header, 22));
  if (width < 0) return false;
  widthPx = uint32_t(width), heightPx = uint32_t(std::llabs(height));
  return true;
}

std::string ReadBmpFile(const std::string& path, RgbaImage& image) {
  std::string bytes;
  int errorCode = 0;
  // The reader's text after "path: " names the reason: a folder, a FIFO, a link to nothing, ...
  if (const std::string fault = ReadWholeFile(path, kMaxBmpFileBytes, bytes, &errorCode); !fault.empty())
    return errorCode == EFBIG ? kBmpTooLargeText : fault.substr(path.size() + 2);
  return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
}
