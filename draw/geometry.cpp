#include "draw/geometry.h"

#include <cmath>
#include <cstring>

#include "gpu/ref_counted.h"
#include "draw/draw_messages.h"
#include "scene/shared_random.h"

namespace {

D3DCOLOR Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

void ComputeVertices(RandomStream& random, uint8_t preset, double tweakX, double tweakY, double tweakZ,
                     MainVertex* vertices) {
  if (preset == 0) {
    if (tweakY == 0.0) tweakY = 0.001;
    if (tweakZ == 0.0) tweakZ = 0.001;
  } else if (preset == 1) {
    if (tweakY == 0.0) tweakY = 0.001;
  } else if (tweakX == 0.0) {
    tweakX = 0.001;
  }
  const D3DCOLOR secondColour[] = {Argb(120, 255, 192, 144), Argb(120, 255, 192, 144), Argb(120, 255, 238, 160),
                                   Argb(120, 10, 238, 255)};
  const float uvCycle[3][2] = {{1, 0}, {0, 1}, {1, 1}};
  const float uvCyclePreset3[3][2] = {{0, 1}, {1, 0}, {1, 1}};

  int k = 0;
  for (UINT vertex = 0; vertex < kCurveVertexCount; ++vertex) {
    const double i = vertex;
    double x = 0.0, y = 0.0, z = 0.0;
    switch (preset) {
      case 0:
        x = std::sin(i / 4) * (4 * tweakX);
        y = std::cos(i / (2 * tweakY));
        z = std::sin(i / 2) + i / (40 * tweakZ);
        break;
      case 1:
        x = std::sin(2 * tweakX * i);
        y = std::cos(i / (2 * tweakY));
        z = std::cos(3 * tweakZ * i);
        break;
      case 2:
        x = std::cos(i / (4 * tweakX));
        y = std::cos(i * tweakY);
        z = std::sin(i * tweakZ);
        break;
      default:
        x = std::cos(i * tweakX);
        y = std::cos(i * tweakY);
        z = std::sin(i * tweakZ);
        break;
    }
    MainVertex& out = vertices[vertex];
    out.x = float(x);
    out.y = float(y);
    out.z = float(z);

    const uint32_t green = 140 + random.Random(40);  // drawn in this order: green, red, alpha
    const uint32_t red = 200 + random.Random(50);
    const uint32_t alpha = preset == 3 ? 120 : 200 + random.Random(50);
    const uint32_t blue[] = {250, 250, 30, 230};
    out.diffuse = Argb(alpha, red, green, blue[preset]);
    out.specular = secondColour[preset];

    k = k + 1 > 3 ? 1 : k + 1;
    const float* uv = preset == 3 ? uvCyclePreset3[k - 1] : uvCycle[k - 1];
    out.u = uv[0];
    out.v = uv[1];
  }

  double centre[3] = {0.0, 0.0, 0.0};
  for (UINT i = 0; i < kCurveVertexCount; ++i) {
    centre[0] += vertices[i].x / double(kCurveVertexCount);
    centre[1] += vertices[i].y / double(kCurveVertexCount);
    centre[2] += vertices[i].z / double(kCurveVertexCount);
  }
  for (UINT i = 0; i < kCurveVertexCount; ++i) {
    MainVertex& v = vertices[i];
    const double d[3] = {v.x - centre[0], v.y - centre[1], v.z - centre[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    v.nx = length > 1e-9 ? float(d[0] / length) : 0.0f;
    v.ny = length > 1e-9 ? float(d[1] / length) : 1.0f;
    v.nz = length > 1e-9 ? float(d[2] / length) : 0.0f;
  }
}

// Locks the whole buffer and copies bytes in; false when the lock fails.
bool Fill(IDirect3DVertexBuffer8* buffer, const void* bytes, UINT lengthBytes) {
  BYTE* data = nullptr;
  if (FAILED(buffer->Lock(0, lengthBytes, &data, 0))) return false;
  std::memcpy(data, bytes, lengthBytes);
  buffer->Unlock();
  return true;
}

}  // namespace

void BuildGeometry(RenderState& state, uint8_t preset, std::string& errorText, float tweakX, float tweakY,
                   float tweakZ) {
  const GeometryKey& last = state.lastBuiltKey;
  if (preset == last.preset && tweakX == last.tweakX && tweakY == last.tweakY && tweakZ == last.tweakZ) return;
  state.lastBuiltKey = {preset, tweakX, tweakY, tweakZ};
  if (preset > 3) preset = 0;

  ReleaseReference(state.mainVertexBuffer);
  ReleaseReference(state.particleVertexBuffer);

  MainVertex main[kCurveVertexCount];
  ComputeVertices(state.random, preset, tweakX, tweakY, tweakZ, main);
  errorText.clear();
  if (state.device == nullptr) {
    errorText = kCreateMainBufferFailedText;
    return;
  }

  constexpr UINT kMainBytes = kCurveVertexCount * sizeof(MainVertex);
  if (FAILED(
          state.device->CreateVertexBuffer(kMainBytes, 0, kMainVertexFvf, D3DPOOL_DEFAULT, &state.mainVertexBuffer))) {
    state.mainVertexBuffer = nullptr;
    errorText = kCreateMainBufferFailedText;
    return;
  }
  if (!Fill(state.mainVertexBuffer, main, kMainBytes)) {
    errorText = kLockMainBufferFailedText;
    return;
  }

  constexpr UINT kParticleBytes = kCurveVertexCount * sizeof(ParticleVertex);
  if (FAILED(state.device->CreateVertexBuffer(kParticleBytes, 0, kParticleVertexFvf, D3DPOOL_DEFAULT,
                                              &state.particleVertexBuffer))) {
    state.particleVertexBuffer = nullptr;
    errorText = kCreateParticleBufferFailedText;
    return;
  }
  ParticleVertex particles[kCurveVertexCount];
  for (UINT i = 0; i < kCurveVertexCount; ++i)
    particles[i] = {main[i].x, main[i].y, main[i].z, main[i].diffuse, main[i].u, main[i].v};
  if (!Fill(state.particleVertexBuffer, particles, kParticleBytes)) errorText = kLockParticleBufferFailedText;
}
