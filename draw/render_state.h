#pragma once
// The renderer's engine-wide state: device, geometry buffers, texture table, render target and sizes.
// One RenderState lives from start-up to shutdown; every render operation takes it by reference.
// Fields named as the rest of the engine names them keep those names (ViewWidth, TextureCount, ...);
// sizes are pixels.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gpu/d3dx8.h"
#include "scene/shared_random.h"

struct RenderCallbacks {
  // Required: shows text in the fatal-error box and asks the application to end; returns to the caller.
  // CreateRenderDevice and StartOffscreenRenderer refuse to start without it.
  std::function<void(const std::string& text)> fatalError;
};

// The preset and tweak values of the last geometry build, as passed in.
struct GeometryKey {
  uint8_t preset = 0;
  float tweakX = 0.0f, tweakY = 0.0f, tweakZ = 0.0f;
};

constexpr size_t kTextureTableSize = 255;  // texture indices 0..254

struct RenderState {
  RenderCallbacks callbacks;
  RandomStream random;  // this drawer's own: geometry colours and screen-effect strips

  IDirect3D8* d3d = nullptr;  // created by the application (Direct3DCreate8 or CreateGLDirect3D8)
  IDirect3DDevice8* device = nullptr;
  D3DCAPS8 caps{};
  bool windowedOutput = false;
  ID3DXSprite* sprite = nullptr;

  IDirect3DVertexBuffer8* mainVertexBuffer = nullptr;      // 251 MainVertex, FVF 0x1D2
  IDirect3DVertexBuffer8* particleVertexBuffer = nullptr;  // 251 ParticleVertex, FVF 0x142
  GeometryKey lastBuiltKey;

  std::vector<IDirect3DTexture8*> textures;  // index = N of textureN.bmp; empty entries are nullptr
  uint8_t TextureCount = 0;

  IDirect3DTexture8* renderTargetTexture = nullptr;
  IDirect3DSurface8* renderTargetSurface = nullptr;     // level 0 of renderTargetTexture
  IDirect3DSurface8* savedBackBufferSurface = nullptr;  // the target before the switch
  uint16_t renderTargetWidth = 0, renderTargetHeight = 0;

  D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
  uint16_t ViewWidth = 0, ViewHeight = 0;  // back buffer size, then ViewHeight between the letterbox bars
  uint16_t FullWidth = 0, FullHeight = 0;  // back buffer size
  uint16_t CinemaBarHeight = 0;
  uint16_t R2tMaxSize = 0;
  D3DVIEWPORT8 viewport{};  // the saved letterboxed viewport
};

// Largest render-target side for a back buffer width: 256 up to 400, 512 up to 640, 1024 up to 1280,
// 2048 above.
uint16_t R2tMaxSizeFor(uint16_t viewWidthPx);

// Releases, where they exist and in this order, the render-target surface, the saved back-buffer
// surface, the render-target texture, the textures, the sprite, the two vertex buffers, the device and
// the Direct3D object, clearing each reference; a second call releases nothing.
void ReleaseRenderObjects(RenderState& state);
