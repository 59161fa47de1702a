#pragma once
// Our own D3DX 8 helpers: matrices, texture creation and loading, and the screen-space sprite.
// Conventions as in d3d8.h; matrix functions return their pOut like D3DX does.
#include "gpu/d3d8.h"

struct D3DXVECTOR2 {
  float x, y;
};
using D3DXVECTOR3 = D3DVECTOR;
using D3DXMATRIX = D3DMATRIX;

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, float sx, float sy, float sz);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, float angleRadians);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angleRadians);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, float angleRadians);
// pOut = pM1 × pM2 (pOut may be one of the inputs).
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// Left-handed view: the camera looks along +z of view space.
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp);
// Left-handed projection to depth 0 (near) .. 1 (far).
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovYRadians, float aspect, float zNear, float zFar);

constexpr DWORD D3DX_FILTER_NONE = 1;

// Creates a texture; width or height 0 is taken as 1.
HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture);

// Loads an uncompressed BMP (8, 24 or 32 bits per pixel) into a new texture at the file's size
// (width and height must be 0; filters must be D3DX_FILTER_NONE). Texels whose colour equals colorKey
// (0xAARRGGBB, opaque black is 0xFF000000) become transparent black; colorKey 0 keys nothing. Formats:
// D3DFMT_A1R5G5B5 or D3DFMT_X8R8G8B8/D3DFMT_A8R8G8B8. srcInfo and palette must be nullptr.
// A missing, unreadable or corrupt file, or one larger than 8192 pixels on a side, fails with
// D3DXERR_INVALIDDATA and allocates nothing.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* fileName, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mipFilter, D3DCOLOR colorKey, void* srcInfo, void* palette,
                                     IDirect3DTexture8** texture);

// Draws textures as screen-space quads in pixels of the current render target, clipped to the viewport,
// alpha-blended and modulated by a colour. Begin/End leave every device state as they found it.
class ID3DXSprite : public IUnknown {
 public:
  virtual HRESULT Begin() = 0;
  // The texture's pixel (px, py) lands at ((px, py) × scaling − center) turned by rotation about the
  // origin (radians, clockwise on screen) + center + translation. sourceRect nullptr = whole texture.
  // scaling nullptr = (1, 1); center and translation nullptr = (0, 0).
  virtual HRESULT Draw(IDirect3DTexture8* texture, const RECT* sourceRect, const D3DXVECTOR2* scaling,
                       const D3DXVECTOR2* rotationCenter, float rotation, const D3DXVECTOR2* translation,
                       D3DCOLOR color) = 0;
  virtual HRESULT End() = 0;
};

HRESULT D3DXCreateSprite(IDirect3DDevice8* device, ID3DXSprite** sprite);
