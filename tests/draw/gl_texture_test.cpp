// Textures on the offscreen OpenGL device: point sprites, texture-coordinate sources, the colour key,
// the start-up stage operation, the sprite and render-to-texture.
#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "gl_fixture.h"
#include "draw/textures.h"

namespace {

constexpr D3DCOLOR kOpaqueRed = 0xFFFF0000, kOpaqueGreen = 0xFF00FF00, kOpaqueBlue = 0xFF0000FF,
                   kOpaqueYellow = 0xFFFFFF00;

// A texture whose quarters are red (top left), green (top right), blue (bottom left), yellow.
IDirect3DTexture8* QuarterTexture(IDirect3DDevice8* device, UINT sizePx) {
  IDirect3DTexture8* texture = nullptr;
  EXPECT_EQ(D3DXCreateTexture(device, sizePx, sizePx, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &texture), D3D_OK);
  D3DLOCKED_RECT locked;
  texture->LockRect(0, &locked, nullptr, 0);
  for (UINT y = 0; y < sizePx; ++y) {
    auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<uint8_t*>(locked.pBits) + y * size_t(locked.Pitch));
    for (UINT x = 0; x < sizePx; ++x) {
      const bool right = x >= sizePx / 2, bottom = y >= sizePx / 2;
      row[x] = bottom ? (right ? kOpaqueYellow : kOpaqueBlue) : (right ? kOpaqueGreen : kOpaqueRed);
    }
  }
  texture->UnlockRect(0);
  return texture;
}

// The start-up's stage 0: BLENDDIFFUSEALPHA of CURRENT and TEXTURE.
void StartUpStageStates(IDirect3DDevice8* device) {
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_CURRENT);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_BLENDDIFFUSEALPHA);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
}

std::vector<TexturedVertex> Quad(float x1, float y1, float x2, float y2, float z, D3DCOLOR colour, float nx = 0,
                                 float ny = 0, float nz = -1) {
  return {{x1, y1, z, nx, ny, nz, colour, 0, 0},
          {x2, y1, z, nx, ny, nz, colour, 1, 0},
          {x1, y2, z, nx, ny, nz, colour, 0, 1},
          {x2, y2, z, nx, ny, nz, colour, 1, 1}};
}

TEST(GLTexture, PointSpritesFollowDirect3DsScaleFormulaAndMinimum) {
  GLFixture f(128, 128);
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 2, 1.0f, 0.5f, 100.0f);
  f.device->SetTransform(D3DTS_PROJECTION, &projection);
  IDirect3DTexture8* texture = QuarterTexture(f.device, 8);
  f.device->SetTexture(0, texture);
  f.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  f.device->SetRenderState(D3DRS_POINTSPRITEENABLE, 1);
  f.device->SetRenderState(D3DRS_POINTSCALEENABLE, 1);
  f.device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(0.0f));
  // Left: size 0.25 × 128 × sqrt(1 / (1 + 0·d + 0·d²)) = 32 px. Right: C = 1 at the eye distance
  // d = sqrt(1 + 1 + 4) gives 32 / d = 13 px.
  f.device->SetRenderState(D3DRS_POINTSIZE, FloatBits(0.25f));
  f.device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(1.0f));
  f.device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(0.0f));
  f.device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(0.0f));
  f.Draw<ColourVertex>(D3DPT_POINTLIST, {{-1.0f, 1.0f, 2.0f, 0xFFFFFFFF}}, kColourFvf, 1);  // pixel (32, 32)
  f.device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(0.0f));
  f.device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(1.0f));
  f.Draw<ColourVertex>(D3DPT_POINTLIST, {{1.0f, 1.0f, 2.0f, 0xFFFFFFFF}}, kColourFvf, 1);  // pixel (96, 32)
  // Bottom: tiny size raised to the minimum of 10 px.
  f.device->SetRenderState(D3DRS_POINTSIZE, FloatBits(0.001f));
  f.device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(10.0f));
  f.Draw<ColourVertex>(D3DPT_POINTLIST, {{0.0f, -1.0f, 2.0f, 0xFFFFFFFF}}, kColourFvf, 1);  // pixel (64, 96)
  f.Snapshot("gl_point_sprites");
  texture->Release();

  auto litRun = [&](uint32_t y, uint32_t fromX, uint32_t toX) {
    uint32_t count = 0;
    for (uint32_t x = fromX; x < toX; ++x) count += f.At(x, y).r + f.At(x, y).g + f.At(x, y).b > 0;
    return count;
  };
  EXPECT_NEAR(litRun(32, 0, 64), 32, 1);
  EXPECT_NEAR(litRun(32, 64, 128), 13, 1);
  EXPECT_NEAR(litRun(96, 40, 90), 10, 1);
  // The sprite shows the whole texture the right way up: red top left, yellow bottom right.
  EXPECT_TRUE(Near(f.At(20, 20), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(44, 20), {0, 255, 0}));
  EXPECT_TRUE(Near(f.At(20, 44), {0, 0, 255}));
  EXPECT_TRUE(Near(f.At(44, 44), {255, 255, 0}));
}

TEST(GLTexture, TextureCoordinateSources) {
  GLFixture f(64, 64);
  IDirect3DTexture8* texture = QuarterTexture(f.device, 2);
  f.device->SetTexture(0, texture);
  f.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  // The vertex's own coordinates: the whole texture on pixels 0..25 of the upper left.
  f.device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(-1, 1, -0.2f, 0.2f, 0.5f, 0xFFFFFFFF), kTexturedFvf, 2);
  // Camera-space normal (0.25, 0.75, ·): u 0.25, v 0.75 is the blue quarter.
  f.device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACENORMAL);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(0.1f, 0.9f, 0.9f, 0.1f, 0.5f, 0xFFFFFFFF, 0.25f, 0.75f, -0.6124f),
                         kTexturedFvf, 2);
  // Camera-space position: x 0.6..0.9 and y -0.1..-0.4 wrap to u 0.6..0.9 (right), v 0.6..0.9 (bottom).
  f.device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(0.6f, -0.1f, 0.9f, -0.4f, 0.5f, 0xFFFFFFFF), kTexturedFvf, 2);
  // Reflection of the view ray (0, 0, 1) at the screen's middle, normal n: R = u - 2n(n·u) = (0.25, 0.75, ·):
  // blue.
  f.device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP,
                         Quad(-0.05f, 0.05f, 0.05f, -0.05f, 0.99f, 0xFFFFFFFF, 0.1392f, 0.4176f, -0.8979f),
                         kTexturedFvf, 2);
  f.Snapshot("gl_texcoord_sources");
  texture->Release();
  EXPECT_TRUE(Near(f.At(4, 4), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(20, 4), {0, 255, 0}));
  EXPECT_TRUE(Near(f.At(4, 20), {0, 0, 255}));
  EXPECT_TRUE(Near(f.At(20, 20), {255, 255, 0}));
  EXPECT_TRUE(Near(f.At(48, 16), {0, 0, 255})) << "camera-space normal";
  EXPECT_TRUE(Near(f.At(56, 40), {255, 255, 0})) << "camera-space position";
  EXPECT_TRUE(Near(f.At(32, 32), {0, 0, 255})) << "reflection vector";
}

TEST(GLTexture, ColourKeyMakesBlackTransparentUnderTheStartUpStage) {
  GLFixture f(64, 32);
  const std::string path = TestOutPath("keyed.bmp");
  // 4 × 2 texels: black and red on top, white and black below.
  WriteTestBmp(path, 4, 2, {0x000000, 0x000000, 0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000}, 24);
  std::string errorText;
  LoadTexture(f.state, path, 0, errorText);
  ASSERT_EQ(errorText, "");
  StartUpStageStates(f.device);
  f.device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
  f.device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  f.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  f.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET, kOpaqueGreen, 1.0f, 0);
  f.device->SetTexture(0, f.state.textures[0]);
  // Left: diffuse alpha 0 shows the texture; right: alpha 128 mixes half blue into it.
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(-1, 1, 0, -1, 0.5f, 0x000000FF), kTexturedFvf, 2);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(0, 1, 1, -1, 0.5f, 0x800000FF), kTexturedFvf, 2);
  f.Snapshot("gl_colour_key");
  EXPECT_TRUE(Near(f.At(4, 8), {0, 255, 0})) << "black texel is transparent";
  EXPECT_TRUE(Near(f.At(28, 24), {0, 255, 0}));
  EXPECT_TRUE(Near(f.At(28, 8), {255, 0, 0})) << "red texel is opaque";
  EXPECT_TRUE(Near(f.At(4, 24), {255, 255, 255}));
  EXPECT_TRUE(Near(f.At(60, 8), {127, 0, 128}, 4)) << "half blue, half red";
  EXPECT_TRUE(Near(f.At(36, 8), {0, 255, 0})) << "still transparent";
}

TEST(GLTexture, SpriteScalesRotatesModulatesAndLeavesStatesAsFound) {
  GLFixture f(64, 64);
  IDirect3DTexture8* texture = QuarterTexture(f.device, 8);
  ID3DXSprite* sprite = nullptr;
  ASSERT_EQ(D3DXCreateSprite(f.device, &sprite), D3D_OK);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  f.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  f.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  f.device->SetRenderState(D3DRS_FOGENABLE, 1);
  f.device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);

  const D3DXVECTOR2 scaling{2.0f, 2.0f}, none{0.0f, 0.0f}, at{4.0f, 4.0f};
  sprite->Begin();
  EXPECT_EQ(sprite->Draw(texture, nullptr, &scaling, &none, 0.0f, &at, 0xFFFFFFFF), D3D_OK);
  sprite->End();
  // A quarter turn (clockwise on screen) about the copy's centre, half transparent over a grey square.
  f.device->SetRenderState(D3DRS_FOGENABLE, 0);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  f.DrawRect(0.0f, 1.0f, 1.0f, 0.0f, 0.5f, 0xFF808080);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  f.device->SetRenderState(D3DRS_FOGENABLE, 1);
  const D3DXVECTOR2 centre{8.0f, 8.0f}, right{40.0f, 4.0f};
  sprite->Begin();
  sprite->Draw(texture, nullptr, &scaling, &centre, 3.1415927f / 2, &right, 0x80FFFFFF);
  sprite->End();
  // The device's own states are back: ONE + ONE blending and blue fog (factor 1 from no specular).
  f.device->SetRenderState(D3DRS_FOGENABLE, 0);
  f.DrawRect(-1.0f, -0.5f, 0.0f, -1.0f, 0.5f, 0xFF202020);
  f.DrawRect(-1.0f, -0.5f, 0.0f, -1.0f, 0.5f, 0xFF202020);
  EXPECT_EQ(sprite->Draw(nullptr, nullptr, nullptr, nullptr, 0.0f, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);
  f.Snapshot("gl_sprite");
  sprite->Release();
  texture->Release();

  EXPECT_TRUE(Near(f.At(6, 6), {255, 0, 0})) << "top left of a 16 × 16 copy at (4, 4)";
  EXPECT_TRUE(Near(f.At(18, 18), {255, 255, 0}));
  EXPECT_TRUE(Near(f.At(21, 10), {0, 0, 0})) << "nothing beyond 16 px";
  // Turned clockwise: the red quarter moves to the top right, blue to the top left.
  EXPECT_TRUE(Near(f.At(42 + 12, 6), {192, 64, 64}, 4));
  EXPECT_TRUE(Near(f.At(42, 6), {64, 64, 192}, 4));
  EXPECT_TRUE(Near(f.At(8, 60), {64, 64, 64})) << "states restored: two additive greys";
}

TEST(GLTexture, RenderToTextureRoundTripKeepsTopLeftTopLeft) {
  GLFixture f(64, 48);
  f.state.R2tMaxSize = R2tMaxSizeFor(64);
  f.state.ViewWidth = 64;
  D3DVIEWPORT8 letterbox = {0, 8, 64, 32, 0.0f, 1.0f};
  f.device->SetViewport(&letterbox);
  ASSERT_TRUE(BeginRenderToTexture(f.state, 6));  // 64 × 32
  D3DVIEWPORT8 viewport;
  f.device->GetViewport(&viewport);
  EXPECT_EQ(viewport.Width, 64u) << "a new target gets a whole-target viewport";
  EXPECT_EQ(viewport.Height, 32u);
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  f.DrawRect(-1.0f, 1.0f, -0.5f, 0.5f, 0.5f, kOpaqueRed);    // marker in the top-left corner
  f.DrawRect(0.5f, -0.5f, 1.0f, -1.0f, 0.5f, kOpaqueGreen);  // and the bottom-right one
  EndRenderToTexture(f.state);
  f.device->SetViewport(&letterbox);

  // Back on screen through the sprite, over the letterboxed area.
  ID3DXSprite* sprite = nullptr;
  ASSERT_EQ(D3DXCreateSprite(f.device, &sprite), D3D_OK);
  const D3DXVECTOR2 scaling{1.0f, 1.0f}, centre{0.0f, 0.0f}, at{0.0f, 8.0f};
  sprite->Begin();
  sprite->Draw(f.state.renderTargetTexture, nullptr, &scaling, &centre, 0.0f, &at, 0xFFFFFFFF);
  sprite->End();
  sprite->Release();
  f.Snapshot("gl_render_to_texture_sprite");
  EXPECT_TRUE(Near(f.At(4, 12), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(60, 36), {0, 255, 0}));
  EXPECT_TRUE(Near(f.At(4, 4), {0, 0, 0})) << "the letterbox bar stays black";

  // And as the texture of an ordinary textured quad (v = 0 at the top).
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  f.device->SetTexture(0, f.state.renderTargetTexture);
  f.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  f.Draw<TexturedVertex>(D3DPT_TRIANGLESTRIP, Quad(-1, 1, 1, -1, 0.5f, 0xFFFFFFFF), kTexturedFvf, 2);
  f.device->SetTexture(0, nullptr);
  f.Snapshot("gl_render_to_texture_quad");
  EXPECT_TRUE(Near(f.At(4, 12), {255, 0, 0}));
  EXPECT_TRUE(Near(f.At(60, 36), {0, 255, 0}));
}

TEST(GLTexture, RenderTargetsMadeEveryFrameAreRecycled) {
  GLFixture f(64, 48);
  f.state.R2tMaxSize = 512;
  for (int frame = 0; frame < 300; ++frame) {
    ASSERT_TRUE(BeginRenderToTexture(f.state, uint8_t(frame % 3 + 6)));
    f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0);
    EndRenderToTexture(f.state);
  }
  EXPECT_TRUE(f.fatalErrors.empty());
}

}  // namespace
