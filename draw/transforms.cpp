#include "draw/transforms.h"

#include <cmath>

void SetWorldMatrix(IDirect3DDevice8* device, float sx, float sy, float sz, float tx, float ty, float tz, float rx,
                    float ry, float rz) {
  D3DXMATRIX world, step;
  D3DXMatrixScaling(&world, sx, sy, sz);
  D3DXMatrixMultiply(&world, &world, D3DXMatrixTranslation(&step, tx, ty, tz));
  D3DXMatrixMultiply(&world, &world, D3DXMatrixRotationZ(&step, rz));
  D3DXMatrixMultiply(&world, &world, D3DXMatrixRotationX(&step, rx));
  D3DXMatrixMultiply(&world, &world, D3DXMatrixRotationY(&step, ry));
  device->SetTransform(D3DTS_WORLD, &world);
}

void SetViewProjection(IDirect3DDevice8* device, D3DXVECTOR3 eye, D3DXVECTOR3 at, D3DXVECTOR3 up, float nearZ,
                       float farZ, float proportionAdjust, float formAspect) {
  constexpr float kPi = 3.1415927f;
  D3DXMATRIX view, projection;
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  device->SetTransform(D3DTS_VIEW, &view);
  D3DXMatrixPerspectiveFovLH(&projection, kPi / 4, formAspect + proportionAdjust, nearZ, farZ);
  device->SetTransform(D3DTS_PROJECTION, &projection);
}

void SetupCamera(IDirect3DDevice8* device, uint8_t preset, uint32_t tMs, float proportionAdjust, float formAspect) {
  const double t = tMs;
  auto v = [](double x, double y, double z) { return D3DXVECTOR3{float(x), float(y), float(z)}; };
  D3DXVECTOR3 eye, at, up;
  float nearZ;
  switch (preset) {
    case 0:
      eye = v(2 * std::cos(t / 600), 1, 2 * std::sin(t / 600)), at = v(1, 0, 0), up = v(0, 1, 0), nearZ = 2;
      break;
    case 1:
      eye = v(3 * std::sin(t / 2000), 10 * std::cos(t / 1000), 2 * std::sin(t / 1000));
      at = v(0, 0.3, 0), up = v(0, 0.5, 0.8), nearZ = 2;
      break;
    case 2: eye = v(3 * std::sin(t / 2000), 1, 0), at = v(0, 0.3, 0), up = v(0, 0.5, 0.8), nearZ = 1.5f; break;
    case 3: eye = v(0.6, 4, 0.6), at = v(0, -4, 0), up = v(1, std::sin(t / 1000), 0.3), nearZ = 0.4f; break;
    case 4: eye = v(0, 0.8, 0), at = v(0.5, 0.5, -1), up = v(0, 1, 0), nearZ = 0.01f; break;
    default: eye = v(0.6, 40 * std::sin(t / 100), 0.6), at = v(0, -4, 0), up = v(0, 8, 8), nearZ = 0.01f; break;
  }
  SetViewProjection(device, eye, at, up, nearZ, 100.0f, proportionAdjust, formAspect);
}
