// Lighting on the offscreen OpenGL device: one directional light, the material, the ambient state and
// the start-up's material colour sources (diffuse and ambient from the vertex's specular colour). As on
// Direct3D, a light that is set but never enabled does not shine.
#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "draw/geometry.h"

namespace {

void StartUpLighting(IDirect3DDevice8* device, D3DCOLOR ambient) {
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2);
  device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
  device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR2);
  device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
  device->SetRenderState(D3DRS_AMBIENT, ambient);
}

D3DLIGHT8 DirectionalLight(D3DVECTOR direction, float diffuse, float specular) {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {diffuse, diffuse, diffuse, 0.0f};
  light.Specular = {specular, specular, specular, 0.0f};
  light.Direction = direction;
  light.Attenuation0 = 1.0f;
  return light;
}

TEST(GLLighting, DirectionalLightMaterialAmbientAndColour2Sources) {
  GLFixture f(64, 32);
  StartUpLighting(f.device, 0x00202020);
  D3DMATERIAL8 material{};
  material.Diffuse = material.Ambient = {0.9f, 0.9f, 0.9f, 1.0f};  // replaced by the vertex's specular colour
  material.Emissive = {0.1f, 0.0f, 0.0f, 0.0f};
  f.device->SetMaterial(&material);
  const D3DLIGHT8 light = DirectionalLight({0.0f, 0.0f, 1.0f}, 0.5f, 1.0f);  // travels into the screen
  f.device->SetLight(0, &light);
  f.device->LightEnable(0, 1);
  const D3DCOLOR diffuse = 0xFF00FF00, specular = 0xFF663399;  // second colour (0.4, 0.2, 0.6)
  auto quad = [&](float x1, float x2, float nz) {
    return std::vector<MainVertex>{{x1, 1, 0.5f, 0, 0, nz, diffuse, specular, 0, 0},
                                   {x2, 1, 0.5f, 0, 0, nz, diffuse, specular, 1, 0},
                                   {x1, -1, 0.5f, 0, 0, nz, diffuse, specular, 0, 1},
                                   {x2, -1, 0.5f, 0, 0, nz, diffuse, specular, 1, 1}};
  };
  f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP, quad(-1, 0, -1), kMainVertexFvf, 2);  // facing the light
  f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP, quad(0, 1, 1), kMainVertexFvf, 2);    // facing away
  f.Snapshot("gl_lighting");
  // emissive + second colour × (ambient 0.125 + light 0.5 × N·L)
  EXPECT_TRUE(Near(f.At(16, 16), {89, 32, 96}));
  EXPECT_TRUE(Near(f.At(48, 16), {38, 6, 19}));
}

// The renderer sets light 0 in every layer and never enables it: a lit object then shows emissive plus
// the ambient state times its ambient colour, the same on both faces, with no trace of the light.
TEST(GLLighting, LightThatIsSetButNotEnabledDoesNotShine) {
  GLFixture f(64, 32);
  StartUpLighting(f.device, 0x00202020);
  D3DMATERIAL8 material{};
  material.Emissive = {0.1f, 0.0f, 0.0f, 0.0f};
  f.device->SetMaterial(&material);
  const D3DLIGHT8 light = DirectionalLight({0.0f, 0.0f, 1.0f}, 1.0f, 1.0f);
  f.device->SetLight(0, &light);
  f.device->SetRenderState(D3DRS_SPECULARENABLE, 1);
  const D3DCOLOR diffuse = 0xFF00FF00, specular = 0xFF663399;
  auto quad = [&](float x1, float x2, float nz) {
    return std::vector<MainVertex>{{x1, 1, 0.5f, 0, 0, nz, diffuse, specular, 0, 0},
                                   {x2, 1, 0.5f, 0, 0, nz, diffuse, specular, 1, 0},
                                   {x1, -1, 0.5f, 0, 0, nz, diffuse, specular, 0, 1},
                                   {x2, -1, 0.5f, 0, 0, nz, diffuse, specular, 1, 1}};
  };
  f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP, quad(-1, 0, -1), kMainVertexFvf, 2);  // would face the light
  f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP, quad(0, 1, 1), kMainVertexFvf, 2);
  f.Snapshot("gl_light_not_enabled");
  // emissive 0.1 red + second colour (0.4, 0.2, 0.6) × ambient 0.125
  EXPECT_TRUE(Near(f.At(16, 16), {38, 6, 19}));
  EXPECT_TRUE(Near(f.At(48, 16), {38, 6, 19}));

  f.device->LightEnable(0, 1);  // the same light, enabled, brightens the face towards it
  f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP, quad(-1, 0, -1), kMainVertexFvf, 2);
  f.Snapshot("gl_light_enabled");
  EXPECT_GT(f.At(16, 16).b, 100);
}

TEST(GLLighting, SpecularOnlyWhenEnabled) {
  for (DWORD enabled : {0u, 1u}) {
    SCOPED_TRACE(enabled);
    GLFixture f(16, 16);
    StartUpLighting(f.device, 0x00000000);
    D3DMATERIAL8 material{};
    material.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Power = 2.0f;
    f.device->SetMaterial(&material);
    const D3DLIGHT8 light = DirectionalLight({0.0f, 0.0f, 1.0f}, 0.0f, 0.5f);
    f.device->SetLight(0, &light);
    f.device->LightEnable(0, 1);
    f.device->SetRenderState(D3DRS_SPECULARENABLE, enabled);
    const D3DCOLOR black = 0xFF000000;
    f.Draw<MainVertex>(D3DPT_TRIANGLESTRIP,
                       {{-1, 1, 0.5f, 0, 0, -1, black, black, 0, 0},
                        {1, 1, 0.5f, 0, 0, -1, black, black, 0, 0},
                        {-1, -1, 0.5f, 0, 0, -1, black, black, 0, 0},
                        {1, -1, 0.5f, 0, 0, -1, black, black, 0, 0}},
                       kMainVertexFvf, 2);
    f.Snapshot(enabled ? "gl_specular_on" : "gl_specular_off");
    // Lit per vertex: at each corner (±1, ±1, 0.5) the local viewer gives N·H = 1.3333 / 1.633, so the
    // specular is 0.5 × (N·H)² = 1/3 everywhere.
    EXPECT_TRUE(Near(f.At(8, 8), enabled ? Rgb{85, 85, 85} : Rgb{0, 0, 0}));
  }
}

TEST(GLLighting, LitCurveLooksShaded) {
  GLFixture f(160, 120);
  RenderState& state = f.state;
  std::string errorText;
  BuildGeometry(state, 0, errorText, 1.0f, 1.0f, 1.0f);
  ASSERT_EQ(errorText, "");
  StartUpLighting(f.device, 0x32968C82);
  D3DMATERIAL8 material = {{1, 1, 1, 1}, {1.0f, 0.8f, 0.6f, 0.6f}, {1, 1, 1, 0.3f}, {1.0f, 0.4f, 0.4f, 0.4f}, 2.0f};
  f.device->SetMaterial(&material);
  D3DLIGHT8 light = DirectionalLight({0.0f, -1.0f, 3.0f}, 1.0f, 1.0f);
  light.Ambient = {0.0f, 0.0f, 0.1f, 0.0f};
  f.device->SetLight(0, &light);
  f.device->LightEnable(0, 1);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  f.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  f.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  D3DXMATRIX view, projection;
  const D3DXVECTOR3 eye{8.0f, 3.0f, -4.0f}, at{0.0f, 0.0f, 3.0f}, up{0.0f, 1.0f, 0.0f};
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 4, 160.0f / 120.0f, 1.0f, 100.0f);
  f.device->SetTransform(D3DTS_VIEW, &view);
  f.device->SetTransform(D3DTS_PROJECTION, &projection);
  f.device->SetStreamSource(0, state.mainVertexBuffer, sizeof(MainVertex));
  f.device->SetVertexShader(kMainVertexFvf);
  f.device->BeginScene();
  f.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 249);
  f.device->EndScene();
  f.Snapshot("gl_lit_curve");
  int darkest = 255 * 3, brightest = 0, lit = 0;
  for (uint32_t y = 0; y < 120; ++y) {
    for (uint32_t x = 0; x < 160; ++x) {
      const Rgb c = f.At(x, y);
      const int sum = c.r + c.g + c.b;
      if (sum == 0) continue;
      ++lit;
      darkest = std::min(darkest, sum);
      brightest = std::max(brightest, sum);
    }
  }
  EXPECT_GT(lit, 500);
  EXPECT_GT(brightest - darkest, 60) << "the light makes some parts brighter than others";
}

}  // namespace
