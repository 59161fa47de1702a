#pragma once
// An OpenGL device in a render state, offscreen or presenting into a window, with helpers to draw
// simple vertex lists and to read, check and save the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "gpu/d3dx8.h"
#include "draw/device_setup.h"
#include "gpu/gl_direct3d.h"
#include "support/test_paths.h"

struct ColourVertex {  // FVF XYZ | DIFFUSE
  float x, y, z;
  D3DCOLOR diffuse;
};
constexpr DWORD kColourFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct TexturedVertex {  // FVF XYZ | NORMAL | DIFFUSE | TEX1
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR diffuse;
  float u, v;
};
constexpr DWORD kTexturedFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct Rgb {
  int r, g, b;
};

struct GLFixture {
  RenderState state;
  IDirect3DDevice8* device = nullptr;
  RgbaImage picture;
  std::vector<std::string> fatalErrors;

  explicit GLFixture(UINT widthPx = 64, UINT heightPx = 64, HWND window = nullptr) {
    state.callbacks.fatalError = [this](const std::string& text) { fatalErrors.push_back(text); };
    state.d3d = Direct3DCreate8(D3D_SDK_VERSION);
    DeviceChoice choice;
    choice.windowed = true;
    choice.widthPx = widthPx;
    choice.heightPx = heightPx;
    choice.window = window;
    const std::string error = CreateRenderDevice(state, choice);
    EXPECT_EQ(error, "");
    device = state.device;
    if (device == nullptr) return;
    D3DMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  }
  ~GLFixture() { ReleaseRenderObjects(state); }

  // Draws vertices (a POD vertex type) as the given primitives from a fresh vertex buffer.
  template <class Vertex>
  void Draw(D3DPRIMITIVETYPE type, const std::vector<Vertex>& vertices, DWORD fvf, UINT primitiveCount) {
    IDirect3DVertexBuffer8* buffer = nullptr;
    const UINT bytes = UINT(vertices.size() * sizeof(Vertex));
    ASSERT_EQ(device->CreateVertexBuffer(bytes, 0, fvf, D3DPOOL_DEFAULT, &buffer), D3D_OK);
    BYTE* data = nullptr;
    buffer->Lock(0, bytes, &data, 0);
    std::memcpy(data, vertices.data(), bytes);
    buffer->Unlock();
    device->SetStreamSource(0, buffer, sizeof(Vertex));
    device->SetVertexShader(fvf);
    device->BeginScene();
    EXPECT_EQ(device->DrawPrimitive(type, 0, primitiveCount), D3D_OK);
    device->EndScene();
    device->SetStreamSource(0, nullptr, 0);
    buffer->Release();
  }

  // A rectangle from (x1, y1) to (x2, y2) at depth z in clip space (identity transforms), one colour.
  void DrawRect(float x1, float y1, float x2, float y2, float z, D3DCOLOR colour) {
    Draw<ColourVertex>(D3DPT_TRIANGLESTRIP,
                       {{x1, y1, z, colour}, {x2, y1, z, colour}, {x1, y2, z, colour}, {x2, y2, z, colour}}, kColourFvf,
                       2);
  }

  // Reads the back buffer and writes it as name.png into the test output folder.
  void Snapshot(const std::string& name) {
    ASSERT_TRUE(ReadBackBuffer(device, picture));
    EXPECT_EQ(WritePng(TestOutPath(name + ".png"), picture), "");
  }

  Rgb At(uint32_t x, uint32_t y) const {
    const uint8_t* p = picture.Pixel(x, y);
    return {p[0], p[1], p[2]};
  }
};

inline ::testing::AssertionResult Near(const Rgb& actual, const Rgb& expected, int tolerance = 3) {
  if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
      std::abs(actual.b - expected.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected ("
                                       << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

inline DWORD FloatBits(float value) {
  DWORD bits;
  std::memcpy(&bits, &value, 4);
  return bits;
}
