// Point sprites on the offscreen OpenGL device, sized as Direct3D sizes them: Ss = Vh × Si ×
// sqrt(1 / (A + B·De + C·De²)) with De the eye-space distance, clamped to D3DRS_POINTSIZE_MIN / MAX.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_fixture.h"

namespace {

constexpr UINT kSidePx = 200;
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;

// A 90° camera at the origin looking along +z, the viewport the whole 200 × 200 target (Vh = 200).
struct PointRig : GLFixture {
  PointRig() : GLFixture(kSidePx, kSidePx) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / 2, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, 1);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, 1);
    device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(0.0f));
  }
  // Si, A, B, C as the frame renderer sets them for a PointSpriteSizeTweak.
  void Tweak(float tweak) { Scale(0.9f * tweak, 0.6f * tweak, 0.3f * tweak, 0.1f * tweak); }
  void Scale(float size, float a, float b, float c) {
    device->SetRenderState(D3DRS_POINTSIZE, FloatBits(size));
    device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(a));
    device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(b));
    device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(c));
  }
  void Points(const std::vector<ColourVertex>& points, const std::string& name) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Draw<ColourVertex>(D3DPT_POINTLIST, points, kColourFvf, UINT(points.size()));
    Snapshot(name);
  }
  // Width of the lit run through row y, and its first column; 0 when the row is dark.
  int LitWidth(uint32_t y, int* first = nullptr) const {
    int count = 0, from = -1;
    for (uint32_t x = 0; x < kSidePx; ++x)
      if (At(x, y).r > 128) {
        ++count;
        if (from < 0) from = int(x);
      }
    if (first != nullptr) *first = from;
    return count;
  }
  int LitPixels() const {
    int count = 0;
    for (uint32_t y = 0; y < kSidePx; ++y) count += LitWidth(y);
    return count;
  }
};

// Direct3D's size for eye position (x, y, z) with Vh = 200.
double Direct3DSize(double si, double a, double b, double c, double x, double y, double z) {
  const double de = std::sqrt(x * x + y * y + z * z);
  return 200 * si * std::sqrt(1 / (a + b * de + c * de * de));
}

TEST(GLPointSprites, OnAxisSizeFollowsTheFormula) {
  PointRig rig;
  rig.Scale(1.0f, 0.0f, 0.0f, 1.0f);  // 200 / De pixels
  rig.Points({{0, 0, 5, kWhite}}, "gl_point_on_axis");
  EXPECT_NEAR(rig.LitWidth(100), Direct3DSize(1, 0, 0, 1, 0, 0, 5), 1.0);  // 40
}

TEST(GLPointSprites, OffAxisSizeUsesTheEyeDistanceNotTheDepth) {
  PointRig rig;
  rig.Scale(1.0f, 0.0f, 0.0f, 1.0f);
  rig.Points({{3.5f, 0, 5, kWhite}}, "gl_point_off_axis");  // centre at column 170
  int first = -1;
  const int width = rig.LitWidth(100, &first);
  EXPECT_NEAR(width, Direct3DSize(1, 0, 0, 1, 3.5, 0, 5), 1.0);  // 32.8, where the depth alone gives 40
  EXPECT_NEAR(first + width / 2.0, 170, 1.0);
}

TEST(GLPointSprites, SizeTweakZeroAndTinyDrawNothing) {
  PointRig rig;
  std::vector<ColourVertex> points;  // a 5 × 5 grid 25 pixels apart
  for (int i = 0; i < 25; ++i) points.push_back({float(i % 5) * 2 - 4, float(i / 5) * 2 - 4, 8, kWhite});
  rig.Tweak(0.0f);
  rig.Points(points, "gl_point_tweak_zero");
  EXPECT_EQ(rig.LitPixels(), 0);
  rig.Tweak(1e-6f);  // Direct3D: under a tenth of a pixel each
  rig.Points(points, "gl_point_tweak_tiny");
  EXPECT_LE(rig.LitPixels(), 2);
  rig.Tweak(0.05f);  // as the demo's presets: 13 pixels in the middle, 11 at the corners
  rig.Points(points, "gl_point_tweak_usual");
  EXPECT_NEAR(rig.LitWidth(100), 5 * 12, 6);
  EXPECT_NEAR(rig.LitPixels(), 25 * 12 * 12, 25 * 12 * 2);
}

TEST(GLPointSprites, SizeIsClampedToTheMinimumAndMaximum) {
  PointRig rig;
  rig.Scale(1.0f, 0.0f, 0.0f, 1.0f);
  rig.device->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(10.0f));
  rig.Points({{0, 0, 5, kWhite}}, "gl_point_max");
  EXPECT_NEAR(rig.LitWidth(100), 10, 1.0);
  rig.device->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(64.0f));
  rig.Scale(0.0001f, 0.0f, 0.0f, 1.0f);
  rig.device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(30.0f));
  rig.Points({{0, 0, 5, kWhite}}, "gl_point_min");
  EXPECT_NEAR(rig.LitWidth(100), 30, 1.0);
}

TEST(GLPointSprites, PointWithItsCentreOutsideTheViewIsDroppedWhole) {
  PointRig rig;
  rig.Scale(1.0f, 0.0f, 0.0f, 1.0f);
  rig.Points({{5.2f, 0, 5, kWhite}, {0, 0, 0.5f, kWhite}},
             "gl_point_outside");  // right of the view; before the near plane
  EXPECT_EQ(rig.LitPixels(), 0);
}

}  // namespace
