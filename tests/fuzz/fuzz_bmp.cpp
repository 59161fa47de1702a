// libFuzzer target: any bytes as a texture file. The decoder must refuse or decode, and a decoded
// picture must hold exactly its pixels within the accepted sizes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gpu/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RgbaImage image;
  if (!DecodeBmp(data, size, image).empty()) {
    if (!image.rgba.empty()) std::abort();
    return 0;
  }
  if (image.widthPx == 0 || image.heightPx == 0 || image.widthPx > kMaxBmpSidePx || image.heightPx > kMaxBmpSidePx ||
      image.rgba.size() != size_t(image.widthPx) * image.heightPx * 4)
    std::abort();
  return 0;
}
