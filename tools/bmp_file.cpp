#include "tools/bmp_file.h"

#include "tools/binary_file.h"

std::vector<uint8_t> EncodeBmp(const Image& image) {
  const uint32_t headerBytes = 14 + 40;
  const uint32_t rowBytes = (static_cast<uint32_t>(image.widthPx) * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = rowBytes * image.heightPx;
  std::vector<uint8_t> out;
  out.reserve(headerBytes + pixelBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  PutU32(out, headerBytes + pixelBytes);
  PutU32(out, 0);
  PutU32(out, headerBytes);
  // BITMAPINFOHEADER: positive height = bottom-up rows, 1 plane, 24 bits, BI_RGB, 2835 px/m (72 dpi)
  PutU32(out, 40);
  PutU32(out, image.widthPx);
  PutU32(out, image.heightPx);
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, pixelBytes);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = image.heightPx - 1; y >= 0; --y) {
    const uint8_t* row = &image.rgb[static_cast<size_t>(y) * image.widthPx * 3];
    for (int x = 0; x < image.widthPx; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3 + 0]);
    }
    for (uint32_t pad = image.widthPx * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

std::string WriteBmp(const std::string& path, const Image& image) { return WriteBytes(path, EncodeBmp(image)); }
