// Blend factors and operations, table and vertex fog, on the offscreen OpenGL device.
#include <gtest/gtest.h>

#include <algorithm>

#include "gl_fixture.h"

namespace {

constexpr int kCell = 4;

// Direct3D's blend factor for one channel; destination alpha is 1 (the back buffer has no alpha).
double Factor(DWORD factor, double sourceChannel, double sourceAlpha, double destinationChannel) {
  switch (factor) {
    case D3DBLEND_ZERO: return 0.0;
    case D3DBLEND_ONE: return 1.0;
    case D3DBLEND_SRCCOLOR: return sourceChannel;
    case D3DBLEND_INVSRCCOLOR: return 1.0 - sourceChannel;
    case D3DBLEND_SRCALPHA:
    case D3DBLEND_BOTHSRCALPHA: return sourceAlpha;
    case D3DBLEND_INVSRCALPHA:
    case D3DBLEND_BOTHINVSRCALPHA: return 1.0 - sourceAlpha;
    case D3DBLEND_DESTALPHA: return 1.0;
    case D3DBLEND_INVDESTALPHA: return 0.0;
    case D3DBLEND_DESTCOLOR: return destinationChannel;
    case D3DBLEND_INVDESTCOLOR: return 1.0 - destinationChannel;
    default: return std::min(sourceAlpha, 1.0 - 1.0);  // SRCALPHASAT: min(As, 1 - Ad)
  }
}

TEST(GLBlend, EveryFactorPairAddsAsDirect3D) {
  GLFixture f(13 * kCell, 13 * kCell);
  const D3DCOLOR source = 0x80C86432;       // alpha 128: (200, 100, 50)
  const D3DCOLOR destination = 0xFF3C78B4;  // (60, 120, 180)
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  for (DWORD s = 1; s <= 13; ++s) {
    for (DWORD d = 1; d <= 13; ++d) {
      D3DVIEWPORT8 cell = {(d - 1) * kCell, (s - 1) * kCell, kCell, kCell, 0.0f, 1.0f};
      f.device->SetViewport(&cell);
      f.device->Clear(0, nullptr, D3DCLEAR_TARGET, destination, 1.0f, 0);
      f.device->SetRenderState(D3DRS_SRCBLEND, s);
      f.device->SetRenderState(D3DRS_DESTBLEND, d);
      f.DrawRect(-1, 1, 1, -1, 0.5f, source);
    }
  }
  f.Snapshot("gl_blend_factors");
  const double src[3] = {200 / 255.0, 100 / 255.0, 50 / 255.0}, dst[3] = {60 / 255.0, 120 / 255.0, 180 / 255.0};
  const double alpha = 128 / 255.0;
  for (DWORD s = 1; s <= 13; ++s) {
    for (DWORD d = 1; d <= 13; ++d) {
      // BOTHSRCALPHA / BOTHINVSRCALPHA as the source override the destination factor.
      const DWORD usedD = s == D3DBLEND_BOTHSRCALPHA      ? D3DBLEND_INVSRCALPHA
                          : s == D3DBLEND_BOTHINVSRCALPHA ? D3DBLEND_SRCALPHA
                                                          : d;
      int expected[3];
      for (int c = 0; c < 3; ++c) {
        const double value = src[c] * Factor(s, src[c], alpha, dst[c]) + dst[c] * Factor(usedD, src[c], alpha, dst[c]);
        expected[c] = int(std::lround(std::clamp(value, 0.0, 1.0) * 255));
      }
      EXPECT_TRUE(Near(f.At((d - 1) * kCell + 2, (s - 1) * kCell + 2), {expected[0], expected[1], expected[2]}))
          << "src " << s << " dest " << d;
    }
  }
}

TEST(GLBlend, EveryOperation) {
  GLFixture f(5 * kCell, kCell);
  f.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  f.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  f.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  for (DWORD op = 1; op <= 5; ++op) {
    D3DVIEWPORT8 cell = {(op - 1) * kCell, 0, kCell, kCell, 0.0f, 1.0f};
    f.device->SetViewport(&cell);
    f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF649632, 1.0f, 0);  // (100, 150, 50)
    f.device->SetRenderState(D3DRS_BLENDOP, op);
    f.DrawRect(-1, 1, 1, -1, 0.5f, 0xFFC86432);  // (200, 100, 50)
  }
  f.Snapshot("gl_blend_ops");
  EXPECT_TRUE(Near(f.At(2, 2), {255, 250, 100}));             // ADD
  EXPECT_TRUE(Near(f.At(kCell + 2, 2), {100, 0, 0}));         // SUBTRACT: source - destination
  EXPECT_TRUE(Near(f.At(2 * kCell + 2, 2), {0, 50, 0}));      // REVSUBTRACT
  EXPECT_TRUE(Near(f.At(3 * kCell + 2, 2), {100, 100, 50}));  // MIN
  EXPECT_TRUE(Near(f.At(4 * kCell + 2, 2), {200, 150, 50}));  // MAX
}

// A white square grid at eye depth 5 filling a 90° view, fogged blue: 8 × 8 cells as triangles, so
// that per-vertex fog has vertices both in the middle and at the corners.
void DrawFoggedWall(GLFixture& f) {
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 2, 1.0f, 1.0f, 100.0f);
  f.device->SetTransform(D3DTS_PROJECTION, &projection);
  std::vector<ColourVertex> v;
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const float x1 = -5.0f + column * 1.25f, x2 = x1 + 1.25f, y1 = 5.0f - row * 1.25f, y2 = y1 - 1.25f;
      const D3DCOLOR white = 0xFFFFFFFF;
      v.insert(v.end(), {{x1, y1, 5, white},
                         {x2, y1, 5, white},
                         {x1, y2, 5, white},
                         {x2, y1, 5, white},
                         {x2, y2, 5, white},
                         {x1, y2, 5, white}});
    }
  }
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST, v, kColourFvf, UINT(v.size() / 3));
}

Rgb Fogged(double factor) {
  const int white = int(std::lround(factor * 255));
  return {white, white, int(std::lround(factor * 255 + (1 - factor) * 255))};
}

TEST(GLFog, TableAndVertexModesGiveDirect3DsFactors) {
  struct Case {
    const char* name;
    DWORD table, vertex;
    double factor;
  };
  const double density = 0.1, start = 2.0, end = 10.0, depth = 5.0;
  const Case cases[] = {
      {"table_exp", D3DFOG_EXP, D3DFOG_NONE, std::exp(-density * depth)},
      {"table_exp2", D3DFOG_EXP2, D3DFOG_NONE, std::exp(-(density * depth) * (density * depth))},
      {"table_linear", D3DFOG_LINEAR, D3DFOG_NONE, (end - depth) / (end - start)},
      {"vertex_exp", D3DFOG_NONE, D3DFOG_EXP, std::exp(-density * depth)},
      {"vertex_exp2", D3DFOG_NONE, D3DFOG_EXP2, std::exp(-(density * depth) * (density * depth))},
      {"vertex_linear", D3DFOG_NONE, D3DFOG_LINEAR, (end - depth) / (end - start)},
      {"table_over_vertex", D3DFOG_LINEAR, D3DFOG_EXP, (end - depth) / (end - start)},
      {"none", D3DFOG_NONE, D3DFOG_NONE, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GLFixture f(32, 32);
    f.device->SetRenderState(D3DRS_FOGENABLE, 1);
    f.device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    f.device->SetRenderState(D3DRS_FOGTABLEMODE, c.table);
    f.device->SetRenderState(D3DRS_FOGVERTEXMODE, c.vertex);
    f.device->SetRenderState(D3DRS_FOGSTART, FloatBits(float(start)));
    f.device->SetRenderState(D3DRS_FOGEND, FloatBits(float(end)));
    f.device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(float(density)));
    DrawFoggedWall(f);
    f.Snapshot(std::string("gl_fog_") + c.name);
    EXPECT_TRUE(Near(f.At(16, 16), Fogged(c.factor), 4));
    EXPECT_TRUE(Near(f.At(1, 1), Fogged(c.factor), 4));
  }
}

TEST(GLFog, RangeFogUsesTheDistanceForVertexFogOnly) {
  const double start = 0.0, end = 10.0;
  for (DWORD table : {DWORD(D3DFOG_NONE), DWORD(D3DFOG_LINEAR)}) {
    SCOPED_TRACE(table);
    GLFixture f(32, 32);
    f.device->SetRenderState(D3DRS_FOGENABLE, 1);
    f.device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    f.device->SetRenderState(D3DRS_FOGTABLEMODE, table);
    f.device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    f.device->SetRenderState(D3DRS_RANGEFOGENABLE, 1);
    f.device->SetRenderState(D3DRS_FOGSTART, FloatBits(float(start)));
    f.device->SetRenderState(D3DRS_FOGEND, FloatBits(float(end)));
    DrawFoggedWall(f);
    f.Snapshot(table == D3DFOG_NONE ? "gl_fog_range_vertex" : "gl_fog_range_table");
    if (table == D3DFOG_NONE) {
      // The middle vertex is 5 away, the corners sqrt(75): the corners are foggier.
      EXPECT_TRUE(Near(f.At(16, 16), Fogged(0.5), 6));
      const double cornerFactor = (end - std::sqrt(75.0)) / (end - start);
      EXPECT_TRUE(Near(f.At(0, 0), Fogged(cornerFactor), 12));
    } else {
      EXPECT_TRUE(Near(f.At(16, 16), Fogged(0.5), 4));
      EXPECT_TRUE(Near(f.At(0, 0), Fogged(0.5), 4));
    }
  }
}

}  // namespace
