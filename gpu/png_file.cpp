// PNG output through stb_image_write.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "gpu/gpu_messages.h"
#include "gpu/rgba_image.h"
#include "scene/safe_file.h"

namespace {
void Append(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<char*>(data), size_t(size));
}
}  // namespace

std::string WritePng(const std::string& path, const RgbaImage& image) {
  std::string bytes;
  if (image.widthPx == 0 || image.heightPx == 0 ||
      stbi_write_png_to_func(Append, &bytes, int(image.widthPx), int(image.heightPx), 4, image.rgba.data(),
                             int(image.widthPx * 4)) == 0)
    return path + ": " + kPngEncodeFailedText;
  return ReplaceFile(path, bytes);
}
