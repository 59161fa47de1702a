// BMP reading through stb_image, with the size checked from the header before any pixel memory is taken.
#include "render/bmp_decode.h"

#include <filesystem>
#include <fstream>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace {

uint32_t Read32(const std::vector<stbi_uc>& bytes, size_t offset) {
  return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
         uint32_t(bytes[offset + 3]) << 24;
}

// An uncompressed file must hold every row its header promises (the decoder would read zeros instead).
bool HoldsItsPixels(const std::vector<stbi_uc>& bytes, uint32_t widthPx, uint32_t heightPx) {
  if (bytes.size() < 30) return false;
  const uint32_t compression = bytes.size() >= 34 && Read32(bytes, 14) >= 40 ? Read32(bytes, 30) : 0;
  const bool uncompressed = compression == 0 || compression == 3;
  if (!uncompressed) return true;
  const uint32_t bitsPerPixel = uint32_t(bytes[28]) | uint32_t(bytes[29]) << 8;
  const uint64_t rowBytes = (uint64_t(widthPx) * bitsPerPixel + 31) / 32 * 4;
  return uint64_t(Read32(bytes, 10)) + rowBytes * heightPx <= bytes.size();
}

}  // namespace

bool ReadBmpFile(const std::string& path, RgbaImage& image) {
  std::error_code error;
  const uint64_t fileBytes = std::filesystem::file_size(path, error);
  if (error || fileBytes == 0 || fileBytes > kMaxBmpFileBytes) return false;
  std::ifstream file(path, std::ios::binary);
  std::vector<stbi_uc> bytes(fileBytes);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(fileBytes))) return false;

  int widthPx = 0, heightPx = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), int(bytes.size()), &widthPx, &heightPx, &channels)) return false;
  if (widthPx <= 0 || heightPx <= 0 || uint32_t(widthPx) > kMaxBmpSidePx || uint32_t(heightPx) > kMaxBmpSidePx)
    return false;
  if (!HoldsItsPixels(bytes, uint32_t(widthPx), uint32_t(heightPx))) return false;

  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &widthPx, &heightPx, &channels, 4);
  if (pixels == nullptr) return false;
  image.widthPx = uint32_t(widthPx);
  image.heightPx = uint32_t(heightPx);
  image.rgba.assign(pixels, pixels + size_t(widthPx) * size_t(heightPx) * 4);
  stbi_image_free(pixels);
  return true;
}
