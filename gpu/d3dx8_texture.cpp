// D3DX texture creation and loading, and sprite creation; they work on any of our devices.
#include <algorithm>
#include <cstring>

#include "gpu/bmp_decode.h"
#include "gpu/device_extras.h"

namespace {

uint16_t ToA1R5G5B5(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto five = [](uint8_t value) { return uint16_t((value * 31 + 127) / 255); };
  return uint16_t((a >= 128 ? 0x8000 : 0) | (five(r) << 10) | (five(g) << 5) | five(b));
}

// Copies the picture into level 0, applying the colour key.
HRESULT FillTexture(IDirect3DTexture8* texture, const RgbaImage& image, D3DFORMAT format, D3DCOLOR colorKey) {
  D3DLOCKED_RECT locked;
  const HRESULT result = texture->LockRect(0, &locked, nullptr, 0);
  if (FAILED(result)) return result;
  for (uint32_t y = 0; y < image.heightPx; ++y) {
    auto* row = static_cast<uint8_t*>(locked.pBits) + size_t(y) * size_t(locked.Pitch);
    for (uint32_t x = 0; x < image.widthPx; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      const D3DCOLOR argb = D3DCOLOR(p[3]) << 24 | D3DCOLOR(p[0]) << 16 | D3DCOLOR(p[1]) << 8 | p[2];
      const D3DCOLOR keyed = (colorKey != 0 && argb == colorKey) ? 0u : argb;
      if (format == D3DFMT_A1R5G5B5) {
        const uint16_t texel =
            ToA1R5G5B5(uint8_t(keyed >> 16), uint8_t(keyed >> 8), uint8_t(keyed), uint8_t(keyed >> 24));
        std::memcpy(row + x * 2, &texel, 2);
      } else {
        std::memcpy(row + x * 4, &keyed, 4);
      }
    }
  }
  return texture->UnlockRect(0);
}

}  // namespace

HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
  if (device == nullptr || texture == nullptr) return D3DERR_INVALIDCALL;
  return device->CreateTexture(std::max(width, 1u), std::max(height, 1u), mipLevels, usage, format, pool, texture);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* fileName, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mipFilter, D3DCOLOR colorKey, void* srcInfo, void* palette,
                                     IDirect3DTexture8** texture) {
  if (device == nullptr || fileName == nullptr || texture == nullptr) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  const bool supportedFormat = format == D3DFMT_A1R5G5B5 || format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
  if (width != 0 || height != 0 || mipLevels > 1 || filter != D3DX_FILTER_NONE || mipFilter != D3DX_FILTER_NONE ||
      srcInfo != nullptr || palette != nullptr || !supportedFormat)
    return D3DERR_INVALIDCALL;

  RgbaImage image;
  if (!ReadBmpFile(fileName, image).empty()) return D3DXERR_INVALIDDATA;
  IDirect3DTexture8* created = nullptr;
  HRESULT result = device->CreateTexture(image.widthPx, image.heightPx, 1, usage, format, pool, &created);
  if (FAILED(result)) return result;
  result = FillTexture(created, image, format, colorKey);
  if (FAILED(result)) {
    created->Release();
    return result;
  }
  *texture = created;
  return D3D_OK;
}

HRESULT D3DXCreateSprite(IDirect3DDevice8* device, ID3DXSprite** sprite) {
  DeviceExtras* extras = ExtrasOf(device);
  if (extras == nullptr || sprite == nullptr) return D3DERR_INVALIDCALL;
  return extras->CreateSprite(sprite);
}
