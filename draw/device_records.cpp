#include "draw/device_records.h"

void SetupLight(IDirect3DDevice8* device, D3DVECTOR position, D3DVECTOR direction, LightColour diffuse,
                LightColour ambient, LightColour specular, D3DVECTOR attenuation, DWORD index, D3DLIGHTTYPE type) {
  D3DLIGHT8 light{};
  light.Type = type;
  light.Diffuse = {diffuse.r, diffuse.g, diffuse.b, 0.0f};
  light.Ambient = {ambient.r, ambient.g, ambient.b, 0.0f};
  light.Specular = {specular.r, specular.g, specular.b, 0.0f};
  light.Position = position;
  light.Direction = direction;
  light.Attenuation0 = attenuation.x;
  light.Attenuation1 = attenuation.y;
  light.Attenuation2 = attenuation.z;
  device->SetLight(index, &light);
}

void SetupMaterial(IDirect3DDevice8* device, D3DCOLORVALUE ambient, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular,
                   D3DCOLORVALUE emissive, float power) {
  D3DMATERIAL8 material{};
  material.Ambient = ambient;
  material.Diffuse = diffuse;
  material.Specular = specular;
  material.Emissive = emissive;
  material.Power = power;
  device->SetMaterial(&material);
}

D3DVIEWPORT8 MakeViewport(DWORD x, DWORD y, DWORD width, DWORD height, float minZ, float maxZ) {
  return {x, y, width, height, minZ, maxZ};
}
