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

  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &widthPx, &heightPx, &channels, 4);
  if (pixels == nullptr) return false;
  image.widthPx = uint32_t(widthPx);
  image.heightPx = uint32_t(heightPx);
  image.rgba.assign(pixels, pixels + size_t(widthPx) * size_t(heightPx) * 4);
  stbi_image_free(pixels);
  return true;
}
