#pragma once
// World, view and projection transforms of a scene layer, and the six camera presets.
// Angles are radians, times are ms of effect time; matrices use D3DX's row-vector convention.
#include <cstdint>

#include "gpu/d3dx8.h"

// world = Scaling(sx, sy, sz) × Translation(tx, ty, tz) × RotationZ(rz) × RotationX(rx) × RotationY(ry),
// set as D3DTS_WORLD: a vertex is scaled, moved, then turned about Z, X and Y through the origin.
void SetWorldMatrix(IDirect3DDevice8* device, float sx, float sy, float sz, float tx, float ty, float tz, float rx,
                    float ry, float rz);

// view = LookAtLH(eye, at, up) as D3DTS_VIEW; projection = PerspectiveFovLH(π/4, formAspect +
// proportionAdjust, nearZ, farZ) as D3DTS_PROJECTION. formAspect = output form width / height.
void SetViewProjection(IDirect3DDevice8* device, D3DXVECTOR3 eye, D3DXVECTOR3 at, D3DXVECTOR3 up, float nearZ,
                       float farZ, float proportionAdjust, float formAspect);

// Camera preset 0..5 (above 5 means 5) at effect time tMs; far plane 100.
void SetupCamera(IDirect3DDevice8* device, uint8_t preset, uint32_t tMs, float proportionAdjust, float formAspect);
