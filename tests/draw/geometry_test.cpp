// Geometry built on the null device: vertices of each preset, the unchanged test, rebuilds and the
// four failure texts.
#include "draw/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "recording_fixture.h"
#include "draw/draw_messages.h"
#include "scene/shared_random.h"

namespace {

std::vector<MainVertex> MainVertices(RenderState& state) {
  std::vector<MainVertex> vertices(kCurveVertexCount);
  BYTE* data = nullptr;
  EXPECT_EQ(state.mainVertexBuffer->Lock(0, 0, &data, 0), D3D_OK);
  std::memcpy(vertices.data(), data, vertices.size() * sizeof(MainVertex));
  state.mainVertexBuffer->Unlock();
  return vertices;
}

std::vector<ParticleVertex> ParticleVertices(RenderState& state) {
  std::vector<ParticleVertex> vertices(kCurveVertexCount);
  BYTE* data = nullptr;
  EXPECT_EQ(state.particleVertexBuffer->Lock(0, 0, &data, 0), D3D_OK);
  std::memcpy(vertices.data(), data, vertices.size() * sizeof(ParticleVertex));
  state.particleVertexBuffer->Unlock();
  return vertices;
}

struct Expected {
  uint8_t preset;
  float tx, ty, tz;
  double (*x)(double i, double tx, double ty, double tz);
  double (*y)(double i, double tx, double ty, double tz);
  double (*z)(double i, double tx, double ty, double tz);
  D3DCOLOR specular;
  uint32_t diffuseBlue;
};

const Expected kPresets[] = {
    {0, 1.5f, 0.7f, 2.0f, [](double i, double tx, double, double) { return std::sin(i / 4) * (4 * tx); },
     [](double i, double, double ty, double) { return std::cos(i / (2 * ty)); },
     [](double i, double, double, double tz) { return std::sin(i / 2) + i / (40 * tz); }, 0x78FFC090, 250},
    {1, 0.3f, 0.7f, 0.2f, [](double i, double tx, double, double) { return std::sin(2 * tx * i); },
     [](double i, double, double ty, double) { return std::cos(i / (2 * ty)); },
     [](double i, double, double, double tz) { return std::cos(3 * tz * i); }, 0x78FFC090, 250},
    {2, 0.3f, 0.7f, 0.2f, [](double i, double tx, double, double) { return std::cos(i / (4 * tx)); },
     [](double i, double, double ty, double) { return std::cos(i * ty); },
     [](double i, double, double, double tz) { return std::sin(i * tz); }, 0x78FFEEA0, 30},
    {3, 0.3f, 0.7f, 0.2f, [](double i, double tx, double, double) { return std::cos(i * tx); },
     [](double i, double, double ty, double) { return std::cos(i * ty); },
     [](double i, double, double, double tz) { return std::sin(i * tz); }, 0x780AEEFF, 230},
};

TEST(Geometry, EachPresetFollowsItsCurveColoursAndTextureCycle) {
  for (const Expected& e : kPresets) {
    SCOPED_TRACE(int(e.preset));
    RecordingFixture f;
    std::string errorText = "old";
    BuildGeometry(f.state, e.preset, errorText, e.tx, e.ty, e.tz);
    EXPECT_EQ(errorText, "");
    const auto main = MainVertices(f.state);
    const auto particles = ParticleVertices(f.state);
    for (UINT i = 0; i < kCurveVertexCount; ++i) {
      const MainVertex& v = main[i];
      EXPECT_FLOAT_EQ(v.x, float(e.x(i, e.tx, e.ty, e.tz)));
      EXPECT_FLOAT_EQ(v.y, float(e.y(i, e.tx, e.ty, e.tz)));
      EXPECT_FLOAT_EQ(v.z, float(e.z(i, e.tx, e.ty, e.tz)));
      EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1.0, 1e-5);
      EXPECT_EQ(v.specular, e.specular);
      const uint32_t a = v.diffuse >> 24, r = (v.diffuse >> 16) & 255, g = (v.diffuse >> 8) & 255, b = v.diffuse & 255;
      if (e.preset == 3) EXPECT_EQ(a, 120u);
      else EXPECT_TRUE(a >= 200 && a < 250) << a;
      EXPECT_TRUE(r >= 200 && r < 250) << r;
      EXPECT_TRUE(g >= 140 && g < 180) << g;
      EXPECT_EQ(b, e.diffuseBlue);
      const int k = int(i % 3) + 1;
      const float u = e.preset == 3 ? (k == 1 ? 0.0f : 1.0f) : (k == 2 ? 0.0f : 1.0f);
      const float vv = e.preset == 3 ? (k == 2 ? 0.0f : 1.0f) : (k == 1 ? 0.0f : 1.0f);
      EXPECT_EQ(v.u, u);
      EXPECT_EQ(v.v, vv);
      const ParticleVertex& p = particles[i];
      EXPECT_EQ(p.x, v.x);
      EXPECT_EQ(p.y, v.y);
      EXPECT_EQ(p.z, v.z);
      EXPECT_EQ(p.diffuse, v.diffuse);
      EXPECT_EQ(p.u, v.u);
      EXPECT_EQ(p.v, v.v);
    }
  }
}

TEST(Geometry, BuffersAreCreatedWithTheirSizesAndFormats) {
  RecordingFixture f;
  std::string errorText;
  BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 1.0f);
  EXPECT_EQ(f.recording->CallsStartingWith("CreateVertexBuffer"),
            (std::vector<std::string>{"CreateVertexBuffer(10040, 0, 0x000001D2, 0) -> vb1",
                                      "CreateVertexBuffer(6024, 0, 0x00000142, 0) -> vb2"}));
  EXPECT_EQ(f.recording->CallsStartingWith("Lock("),
            (std::vector<std::string>{"Lock(vb1, 0, 10040, 0)", "Lock(vb2, 0, 6024, 0)"}));
}

TEST(Geometry, ColoursAreDrawnGreenRedAlphaFromTheDrawersOwnRandom) {
  RecordingFixture f;
  f.state.random.Seed(77);
  SeedRandom(5);  // the shared stream is not the drawer's
  std::string errorText;
  BuildGeometry(f.state, 1, errorText, 1.0f, 1.0f, 1.0f);
  const auto main = MainVertices(f.state);
  RandomStream expected(77);
  for (UINT i = 0; i < 3; ++i) {
    const uint32_t g = 140 + expected.Random(40), r = 200 + expected.Random(50), a = 200 + expected.Random(50);
    EXPECT_EQ(main[i].diffuse, a << 24 | r << 16 | g << 8 | 250u);
  }
  f.state.random.Seed(78);
  BuildGeometry(f.state, 3, errorText, 1.0f, 1.0f, 1.0f);
  const auto preset3 = MainVertices(f.state);
  expected.Seed(78);
  const uint32_t g = 140 + expected.Random(40), r = 200 + expected.Random(50);
  EXPECT_EQ(preset3[0].diffuse, 120u << 24 | r << 16 | g << 8 | 230u);
}

TEST(Geometry, ZeroTweaksAreReplacedPerPreset) {
  RecordingFixture f;
  std::string errorText;
  BuildGeometry(f.state, 0, errorText, 0.0f, 0.0f, 0.0f);  // differs from nothing built: key starts at 0s
  EXPECT_EQ(f.state.mainVertexBuffer, nullptr) << "the first key equals the initial key";
  BuildGeometry(f.state, 0, errorText, 0.0f, 0.0f, 0.5f);
  auto v = MainVertices(f.state);
  EXPECT_FLOAT_EQ(v[7].x, 0.0f);
  EXPECT_FLOAT_EQ(v[7].y, float(std::cos(7 / 0.002)));
  BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 0.0f);
  v = MainVertices(f.state);
  EXPECT_FLOAT_EQ(v[7].z, float(std::sin(3.5) + 7 / (40 * 0.001)));
  BuildGeometry(f.state, 3, errorText, 0.0f, 0.0f, -0.5f);
  v = MainVertices(f.state);
  EXPECT_FLOAT_EQ(v[7].x, float(std::cos(7 * 0.001)));
  EXPECT_FLOAT_EQ(v[7].y, 1.0f);
  EXPECT_FLOAT_EQ(v[7].z, float(std::sin(7 * -0.5)));
  BuildGeometry(f.state, 2, errorText, 0.0f, 0.0f, 1.0f);
  v = MainVertices(f.state);
  EXPECT_FLOAT_EQ(v[7].x, float(std::cos(7 / 0.004)));
}

TEST(Geometry, UnchangedValuesBuildNothingAndChangedOnesRebuild) {
  RecordingFixture f;
  std::string errorText;
  BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 1.0f);
  const auto first = MainVertices(f.state);
  EXPECT_FLOAT_EQ(first[0].x, 0.0f);
  EXPECT_FLOAT_EQ(first[0].y, 1.0f);
  EXPECT_FLOAT_EQ(first[0].z, 0.0f);

  errorText = "untouched";
  const size_t calls = f.CallCount();
  BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 1.0f);
  EXPECT_EQ(f.CallCount(), calls);
  EXPECT_EQ(errorText, "untouched");

  BuildGeometry(f.state, 7, errorText, 1.0f, 1.0f, 1.0f);  // preset 7 draws preset 0, but is a new key
  EXPECT_EQ(errorText, "");
  EXPECT_EQ(f.recording->CallsStartingWith("CreateVertexBuffer").size(), 4u);
  EXPECT_EQ(f.recording->CallsStartingWith("Release(vb").size(), 2u);
  const auto again = MainVertices(f.state);
  for (UINT i = 0; i < kCurveVertexCount; ++i) EXPECT_EQ(again[i].x, first[i].x);
  EXPECT_EQ(f.state.lastBuiltKey.preset, 7);

  BuildGeometry(f.state, 7, errorText, 1.0f, 1.0f, 1.5f);
  EXPECT_EQ(f.recording->CallsStartingWith("CreateVertexBuffer").size(), 6u);
}

TEST(Geometry, FailuresGiveTheirTextsAndAreNotRetriedForTheSameKey) {
  struct Case {
    const char* operation;
    int callNumber;
    const char* text;
    bool mainExists, particlesExist;
  };
  const Case cases[] = {
      {"CreateVertexBuffer", 1, kCreateMainBufferFailedText, false, false},
      {"Lock", 1, kLockMainBufferFailedText, true, false},
      {"CreateVertexBuffer", 2, kCreateParticleBufferFailedText, true, false},
      {"Lock", 2, kLockParticleBufferFailedText, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NullDeviceOptions options;
    options.failingCalls[c.operation] = c.callNumber;
    RecordingFixture f(options);
    std::string errorText;
    BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(errorText, c.text);
    EXPECT_EQ(f.state.mainVertexBuffer != nullptr, c.mainExists);
    EXPECT_EQ(f.state.particleVertexBuffer != nullptr, c.particlesExist);
    const size_t calls = f.CallCount();
    BuildGeometry(f.state, 0, errorText, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(f.CallCount(), calls);
  }
}

}  // namespace
