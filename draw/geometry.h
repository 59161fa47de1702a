#pragma once
// The generated curve: 251 points chosen by an object preset and shaped by three tweak values, in a
// main vertex buffer (drawn as strips, lit) and a particle vertex buffer (drawn as point sprites).
#include <string>

#include "draw/render_state.h"

constexpr UINT kCurveVertexCount = 251;

struct MainVertex {  // 40 bytes, FVF 0x1D2
  float x, y, z;
  float nx, ny, nz;   // unit vector from the curve's centre outwards, so lit curves look rounded
  D3DCOLOR diffuse;   // random per vertex and build
  D3DCOLOR specular;  // the preset's fixed second colour
  float u, v;
};
static_assert(sizeof(MainVertex) == 40);
constexpr DWORD kMainVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

struct ParticleVertex {  // 24 bytes, FVF 0x142
  float x, y, z;
  D3DCOLOR diffuse;
  float u, v;
};
static_assert(sizeof(ParticleVertex) == 24);
constexpr DWORD kParticleVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Rebuilds both buffers when (preset 0..255, tweaks) differ from state.lastBuiltKey; presets above 3
// draw preset 0. errorText: empty after a build, one of the four buffer texts after a failed one,
// untouched when nothing was built. Colours come from state.random.
void BuildGeometry(RenderState& state, uint8_t preset, std::string& errorText, float tweakX, float tweakY,
                   float tweakZ);
