#pragma once
// The light, material and viewport records a layer and the start-up hand to the device.
// Colours are (r, g, b) or (r, g, b, a) in 0..1.
#include "gpu/d3d8.h"

struct LightColour {
  float r, g, b;
};

// Sets light `index` from the arguments: colours with alpha 0, attenuation 0/1/2 from attenuation.x/y/z,
// range, falloff, theta and phi 0. The light is never explicitly enabled.
void SetupLight(IDirect3DDevice8* device, D3DVECTOR position, D3DVECTOR direction, LightColour diffuse,
                LightColour ambient, LightColour specular, D3DVECTOR attenuation, DWORD index, D3DLIGHTTYPE type);

// Sets the material (17 floats: four colours, then the specular power).
void SetupMaterial(IDirect3DDevice8* device, D3DCOLORVALUE ambient, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular,
                   D3DCOLORVALUE emissive, float power);

// The viewport record: pixels of the render target from the top left, depth range minZ..maxZ (0..1).
D3DVIEWPORT8 MakeViewport(DWORD x, DWORD y, DWORD width, DWORD height, float minZ, float maxZ);
