// PNG output through stb_image_write.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "render/rgba_image.h"

bool WritePng(const std::string& path, const RgbaImage& image) {
  if (image.widthPx == 0 || image.heightPx == 0) return false;
  return stbi_write_png(path.c_str(), int(image.widthPx), int(image.heightPx), 4, image.rgba.data(),
                        int(image.widthPx * 4)) != 0;
}
