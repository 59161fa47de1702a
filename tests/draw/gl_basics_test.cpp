// The OpenGL device offscreen: orientation, viewports and Clear, depth, fill and shade modes.
#include <gtest/gtest.h>

#include <cstring>

#include "gl_fixture.h"
#include "gpu/device_extras.h"

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

TEST(GLBasics, AdapterNamesTheRendererAndOffersTheClassicModes) {
  IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
  ASSERT_NE(d3d, nullptr);
  EXPECT_EQ(Direct3DCreate8(99), nullptr);
  ASSERT_EQ(d3d->GetAdapterCount(), 1u);
  D3DADAPTER_IDENTIFIER8 identifier;
  ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &identifier), D3D_OK);
  EXPECT_GT(std::strlen(identifier.Description), 3u) << identifier.Description;
  bool has640x480x16 = false, has640x480x32 = false;
  for (UINT i = 0; i < d3d->GetAdapterModeCount(0); ++i) {
    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->EnumAdapterModes(0, i, &mode), D3D_OK);
    has640x480x16 |= mode.Width == 640 && mode.Height == 480 && mode.Format == D3DFMT_R5G6B5;
    has640x480x32 |= mode.Width == 640 && mode.Height == 480 && mode.Format == D3DFMT_X8R8G8B8;
  }
  EXPECT_TRUE(has640x480x16 && has640x480x32);
  d3d->Release();
}

TEST(GLBasics, CapsPassTheStartUpCheck) {
  GLFixture f;
  EXPECT_EQ(CheckDeviceCaps(f.state), "");
}

TEST(GLBasics, TopLeftStaysTopLeftAndClearKeepsToTheViewport) {
  GLFixture f(64, 48);
  f.DrawRect(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, kRed);  // upper-left quarter in Direct3D's clip space
  D3DVIEWPORT8 middle = {16, 12, 32, 24, 0.0f, 1.0f};
  ASSERT_EQ(f.device->SetViewport(&middle), D3D_OK);
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
  f.Snapshot("gl_orientation_viewport");
  EXPECT_TRUE(Near(f.At(4, 4), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(60, 44), {0, 0, 0}));
  EXPECT_TRUE(Near(f.At(20, 16), {0, 0, 255}));
  EXPECT_TRUE(Near(f.At(46, 34), {0, 0, 255}));
  EXPECT_TRUE(Near(f.At(14, 16), {255, 0, 0})) << "outside the viewport is not cleared";
  EXPECT_TRUE(Near(f.At(50, 40), {0, 0, 0}));
}

TEST(GLBasics, PerspectiveLookAtAndDepthBufferAsDirect3D) {
  GLFixture f(64, 64);
  D3DXMATRIX view, projection;
  const D3DXVECTOR3 eye{0, 0, -5}, at{0, 0, 0}, up{0, 1, 0};
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 2, 1.0f, 1.0f, 100.0f);
  f.device->SetTransform(D3DTS_VIEW, &view);
  f.device->SetTransform(D3DTS_PROJECTION, &projection);
  f.device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  // A far green square, then a nearer red one on the left half, then a farther blue one that loses.
  f.DrawRect(-5, 5, 5, -5, 2.0f, kGreen);
  f.DrawRect(-5, 5, 0, -5, 0.0f, kRed);
  f.DrawRect(-5, 5, 5, -5, 4.0f, kBlue);
  // Behind the near plane: not drawn.
  f.DrawRect(-5, 5, 5, -5, -4.5f, kBlue);
  f.Snapshot("gl_perspective_depth");
  // At z = 0 (5 from the eye) a 90° view spans x -5..5; x = 0 is the middle column.
  EXPECT_TRUE(Near(f.At(10, 32), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(54, 32), {0, 255, 0}));
  // The green square at distance 7 spans 5/7 of the half width: columns 32 ± 22.9.
  EXPECT_TRUE(Near(f.At(32 + 21, 32), {0, 255, 0}));
  EXPECT_TRUE(Near(f.At(32 + 24, 32), {0, 0, 0}));
}

// Once the back buffer is set as the target with no depth-stencil surface (as after every
// render-to-texture layer), it has no depth buffer: a clear that asks for one fails as a whole and the
// picture stays, depth testing is off, and a target-only clear still works.
TEST(GLBasics, WithoutADepthBufferTheDepthClearIsRefusedAndNothingIsDepthTested) {
  GLFixture f(64, 64);
  f.DrawRect(-1, 1, 0, -1, 0.5f, kRed);
  EXPECT_EQ(f.device->Clear(0, nullptr, D3DCLEAR_STENCIL, kBlue, 1.0f, 0), D3DERR_INVALIDCALL) << "D16 has no stencil";
  IDirect3DSurface8* back = nullptr;
  ASSERT_EQ(f.device->GetRenderTarget(&back), D3D_OK);
  ASSERT_EQ(f.device->SetRenderTarget(back, nullptr), D3D_OK);
  back->Release();
  EXPECT_EQ(f.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(f.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0), D3DERR_INVALIDCALL);
  f.Snapshot("gl_clear_refused");
  EXPECT_TRUE(Near(f.At(16, 32), {255, 0, 0})) << "the previous picture is kept";
  EXPECT_TRUE(Near(f.At(48, 32), {0, 0, 0}));

  f.device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  f.DrawRect(-1, 1, 1, -1, 0.2f, kGreen);
  f.DrawRect(-1, 1, 1, 0, 0.9f, kBlue);  // farther, yet drawn over: no depth test
  f.Snapshot("gl_no_depth_test");
  EXPECT_TRUE(Near(f.At(16, 16), {0, 0, 255}));
  EXPECT_TRUE(Near(f.At(16, 48), {0, 255, 0}));

  EXPECT_EQ(f.device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
  f.Snapshot("gl_target_clear");
  EXPECT_TRUE(Near(f.At(16, 48), {0, 0, 255}));
}

TEST(GLBasics, WireframeAndFlatShading) {
  GLFixture f(64, 64);
  f.device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  f.DrawRect(-0.9f, 0.9f, -0.1f, 0.1f, 0.5f, kRed);
  f.device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
  f.device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST,
                       {{0.1f, -0.1f, 0.5f, kGreen}, {0.9f, -0.1f, 0.5f, kRed}, {0.1f, -0.9f, 0.5f, kBlue}}, kColourFvf,
                       1);
  f.device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_PHONG);
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST,
                       {{0.1f, 0.9f, 0.5f, kGreen}, {0.9f, 0.9f, 0.5f, kRed}, {0.1f, 0.1f, 0.5f, kBlue}}, kColourFvf,
                       1);
  f.Snapshot("gl_fill_shade");
  EXPECT_TRUE(Near(f.At(16, 16), {0, 0, 0})) << "wireframe leaves the inside empty";
  EXPECT_GT(f.At(3, 16).r, 200) << "but draws the left edge";
  EXPECT_TRUE(Near(f.At(38, 38), {0, 255, 0})) << "flat takes the first vertex";
  EXPECT_TRUE(Near(f.At(39, 36), {0, 255, 0}));
  const Rgb smooth = f.At(42, 16);
  EXPECT_TRUE(smooth.r > 20 && smooth.g > 20 && smooth.b > 20) << "PHONG shades like GOURAUD";
}

TEST(GLBasics, TooManyPrimitivesDrawWhatFitsAndBadTypesNothing) {
  GLFixture f(32, 32);
  std::vector<ColourVertex> v = {{-1, 1, 0.5f, kRed}, {1, 1, 0.5f, kRed}, {-1, -1, 0.5f, kRed}, {1, -1, 0.5f, kRed}};
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST, v, kColourFvf, 249);  // one whole triangle fits
  f.Snapshot("gl_primitive_count");
  EXPECT_TRUE(Near(f.At(2, 2), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(29, 29), {0, 0, 0}));
  EXPECT_EQ(f.device->DrawPrimitive(D3DPRIMITIVETYPE(9), 0, 1), D3DERR_INVALIDCALL);
}

TEST(GLBasics, StateValuesGLRefusesDoNotSpoilTheReadBack) {
  GLFixture f(16, 16);
  f.device->SetRenderState(D3DRS_FOGENABLE, 1);
  f.device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_EXP);
  const float negativeDensity = -2.0f;  // a value the randomizer can give
  DWORD bits;
  std::memcpy(&bits, &negativeDensity, sizeof bits);
  f.device->SetRenderState(D3DRS_FOGDENSITY, bits);
  f.device->SetRenderState(D3DRS_SRCBLEND, 0);  // names no blend factor, as the frame loop sets it
  f.device->SetRenderState(D3DRS_DESTBLEND, 0);
  f.DrawRect(-1, 1, 1, -1, 0.5f, kRed);
  RgbaImage image;
  EXPECT_TRUE(ReadBackBuffer(f.device, image));
}

}  // namespace

TEST(GLBasics, QueuedReadBacksHandOutEachFrameAsItWasInOrder) {
  GLFixture f(32, 16);
  DeviceExtras* extras = ExtrasOf(f.device);
  RgbaImage first, second, direct;
  EXPECT_FALSE(extras->TakeReadBack(first)) << "nothing queued";
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0);
  ASSERT_TRUE(extras->QueueReadBack());
  f.DrawRect(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, kGreen);  // the next frame is drawn while the copy is queued
  ASSERT_TRUE(extras->QueueReadBack());
  EXPECT_FALSE(extras->QueueReadBack()) << "two copies at most";
  ASSERT_TRUE(ReadBackBuffer(f.device, direct));
  ASSERT_TRUE(extras->TakeReadBack(first));
  ASSERT_TRUE(extras->TakeReadBack(second));
  EXPECT_FALSE(extras->TakeReadBack(second));
  ASSERT_EQ(first.widthPx, 32u);
  ASSERT_EQ(first.heightPx, 16u);
  EXPECT_EQ(first.rgba[0], 255);  // the red frame, top left
  EXPECT_EQ(first.rgba[1], 0);
  EXPECT_EQ(second.rgba, direct.rgba) << "the second copy is the picture as it is now";
  EXPECT_EQ(second.rgba[1], 255) << "green over the top left quarter";
  EXPECT_TRUE(extras->QueueReadBack()) << "free again once taken";
}
