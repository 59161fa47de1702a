// The D3DX matrix functions, every entry of every matrix: row vectors (p' = p × M), left-handed
// rotations (looking from the positive axis toward the origin, a positive angle turns clockwise).
#include <gtest/gtest.h>

#include <cmath>

#include "gpu/d3dx8.h"

namespace {

constexpr float kQuarterTurn = 1.5707964f;
using Rows = float[4][4];

void ExpectMatrix(const D3DXMATRIX& actual, const Rows& expected, float tolerance = 1e-6f) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(actual.m[row][column], expected[row][column], tolerance) << "m[" << row << "][" << column << "]";
}

// p × m for the point p (w = 1).
D3DXVECTOR3 Transform(const D3DXMATRIX& m, D3DXVECTOR3 p) {
  const float in[4] = {p.x, p.y, p.z, 1.0f};
  float out[4] = {};
  for (int column = 0; column < 4; ++column)
    for (int k = 0; k < 4; ++k) out[column] += in[k] * m.m[k][column];
  return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

void ExpectPoint(D3DXVECTOR3 actual, D3DXVECTOR3 expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-5f);
  EXPECT_NEAR(actual.y, expected.y, 1e-5f);
  EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

}  // namespace

TEST(MatrixMath, IdentityScalingAndTranslation) {
  D3DXMATRIX m;
  const Rows identity = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixIdentity(&m), identity);
  const Rows scaling = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixScaling(&m, 2, 3, 4), scaling);
  const Rows translation = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}};
  ExpectMatrix(*D3DXMatrixTranslation(&m, 5, 6, 7), translation);
}

TEST(MatrixMath, RotationsTurnEachAxisClockwiseSeenFromItsPositiveEnd) {
  D3DXMATRIX m;
  // A quarter turn: each row is where an axis goes. About X, y goes to z and z to -y.
  const Rows aboutX = {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixRotationX(&m, kQuarterTurn), aboutX);
  const Rows aboutY = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};  // z to x, x to -z
  ExpectMatrix(*D3DXMatrixRotationY(&m, kQuarterTurn), aboutY);
  const Rows aboutZ = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // x to y, y to -x
  ExpectMatrix(*D3DXMatrixRotationZ(&m, kQuarterTurn), aboutZ);

  // A sixth of a turn (cos 0.5, sin 0.866): the same directions, the cosines on the diagonal.
  const float c = 0.5f, s = 0.8660254f, sixth = 1.0471976f;
  const Rows sixthX = {{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixRotationX(&m, sixth), sixthX);
  const Rows sixthY = {{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixRotationY(&m, sixth), sixthY);
  const Rows sixthZ = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(*D3DXMatrixRotationZ(&m, sixth), sixthZ);
}

TEST(MatrixMath, MultiplyAppliesTheFirstMatrixFirst) {
  const D3DXMATRIX a = {{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}};
  const D3DXMATRIX b = {{{2, 0, 1, 0}, {0, 3, 0, 1}, {1, 0, 4, 0}, {0, 1, 0, 5}}};
  D3DXMATRIX product;
  const Rows ab = {{5, 10, 13, 22}, {17, 26, 33, 46}, {29, 42, 53, 70}, {41, 58, 73, 94}};
  ExpectMatrix(*D3DXMatrixMultiply(&product, &a, &b), ab);
  D3DXMATRIX inPlace = a;  // the output may be an input
  ExpectMatrix(*D3DXMatrixMultiply(&inPlace, &inPlace, &b), ab);

  // Move, then turn about Z: the point (1, 0, 0) goes to (2, 0, 0), then to (0, 2, 0).
  D3DXMATRIX move, turn, both;
  D3DXMatrixMultiply(&both, D3DXMatrixTranslation(&move, 1, 0, 0), D3DXMatrixRotationZ(&turn, kQuarterTurn));
  ExpectPoint(Transform(both, {1, 0, 0}), {0, 2, 0});
}

TEST(MatrixMath, LookAtPutsTheEyeAtTheOriginLookingDownPositiveZ) {
  D3DXMATRIX view;
  D3DXVECTOR3 eye{0, 0, -5}, at{0, 0, 0}, up{0, 1, 0};
  const Rows straight = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}};
  ExpectMatrix(*D3DXMatrixLookAtLH(&view, &eye, &at, &up), straight);

  // From (2, 0, 0) toward the origin, with an up leaning along the view (only its upright part counts):
  // x of the view is z of the world, z of the view is -x.
  eye = {2, 0, 0}, up = {1, 1, 0};
  const Rows sideways = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 2, 1}};
  ExpectMatrix(*D3DXMatrixLookAtLH(&view, &eye, &at, &up), sideways);
  ExpectPoint(Transform(view, eye), {0, 0, 0});
  ExpectPoint(Transform(view, at), {0, 0, 2});
  ExpectPoint(Transform(view, {2, 1, 0}), {0, 1, 0});  // above the eye stays above
}

TEST(MatrixMath, PerspectiveMapsTheNearPlaneToDepthZeroAndTheFarToOne) {
  D3DXMATRIX projection;
  // A quarter turn of view upward (cot 45° = 1), twice as wide as high, near 1, far 3.
  const Rows expected = {{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.5f, 1}, {0, 0, -1.5f, 0}};
  ExpectMatrix(*D3DXMatrixPerspectiveFovLH(&projection, kQuarterTurn, 2, 1, 3), expected);
  ExpectPoint(Transform(projection, {0, 0, 1}), {0, 0, 0});
  ExpectPoint(Transform(projection, {0, 0, 3}), {0, 0, 1});
  ExpectPoint(Transform(projection, {2, 1, 1}), {1, 1, 0});  // the corner of the near plane
}
