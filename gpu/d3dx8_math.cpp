// The D3DX matrix functions: row-vector 4 × 4 matrices, m[row][column].
#include <cmath>

#include "gpu/d3dx8.h"

namespace {

D3DXVECTOR3 Subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

D3DXVECTOR3 Normalize(const D3DXVECTOR3& a) {
  const float length = std::sqrt(Dot(a, a));
  if (length == 0.0f) return {0.0f, 0.0f, 0.0f};
  return {a.x / length, a.y / length, a.z / length};
}

}  // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
  *pOut = {};
  for (int i = 0; i < 4; ++i) pOut->m[i][i] = 1.0f;
  return pOut;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, float sx, float sy, float sz) {
  D3DXMatrixIdentity(pOut);
  pOut->m[0][0] = sx;
  pOut->m[1][1] = sy;
  pOut->m[2][2] = sz;
  return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z) {
  D3DXMatrixIdentity(pOut);
  pOut->m[3][0] = x;
  pOut->m[3][1] = y;
  pOut->m[3][2] = z;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, float angleRadians) {
  const float c = std::cos(angleRadians), s = std::sin(angleRadians);
  D3DXMatrixIdentity(pOut);
  pOut->m[1][1] = c;
  pOut->m[1][2] = s;
  pOut->m[2][1] = -s;
  pOut->m[2][2] = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angleRadians) {
  const float c = std::cos(angleRadians), s = std::sin(angleRadians);
  D3DXMatrixIdentity(pOut);
  pOut->m[0][0] = c;
  pOut->m[0][2] = -s;
  pOut->m[2][0] = s;
  pOut->m[2][2] = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, float angleRadians) {
  const float c = std::cos(angleRadians), s = std::sin(angleRadians);
  D3DXMatrixIdentity(pOut);
  pOut->m[0][0] = c;
  pOut->m[0][1] = s;
  pOut->m[1][0] = -s;
  pOut->m[1][1] = c;
  return pOut;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
  D3DXMATRIX product;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += pM1->m[row][k] * pM2->m[k][column];
      product.m[row][column] = sum;
    }
  }
  *pOut = product;
  return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
  const D3DXVECTOR3 zAxis = Normalize(Subtract(*pAt, *pEye));
  const D3DXVECTOR3 xAxis = Normalize(Cross(*pUp, zAxis));
  const D3DXVECTOR3 yAxis = Cross(zAxis, xAxis);
  *pOut = {{{xAxis.x, yAxis.x, zAxis.x, 0.0f},
            {xAxis.y, yAxis.y, zAxis.y, 0.0f},
            {xAxis.z, yAxis.z, zAxis.z, 0.0f},
            {-Dot(xAxis, *pEye), -Dot(yAxis, *pEye), -Dot(zAxis, *pEye), 1.0f}}};
  return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovYRadians, float aspect, float zNear, float zFar) {
  const float yScale = 1.0f / std::tan(fovYRadians / 2.0f);
  const float xScale = yScale / aspect;
  const float depthScale = zFar / (zFar - zNear);
  *pOut = {{{xScale, 0.0f, 0.0f, 0.0f},
            {0.0f, yScale, 0.0f, 0.0f},
            {0.0f, 0.0f, depthScale, 1.0f},
            {0.0f, 0.0f, -zNear * depthScale, 0.0f}}};
  return pOut;
}
