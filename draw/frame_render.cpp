#include "draw/frame_render.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

#include "draw/device_records.h"
#include "draw/geometry.h"
#include "draw/r2t_effects.h"
#include "draw/draw_messages.h"
#include "draw/sprite_layers.h"
#include "draw/texture_number.h"
#include "draw/textures.h"
#include "draw/transforms.h"

namespace {

constexpr UINT kStripPrimitives = 249;  // planes, main object and waves
constexpr UINT kRingPrimitives = 62;

DWORD FloatBits(float value) { return std::bit_cast<DWORD>(value); }
D3DCOLOR OpaqueRgb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

void DrawCurve(IDirect3DDevice8* device, uint32_t type, UINT requested) {
  const UINT count = CurvePrimitiveCount(type, requested);
  if (count > 0) device->DrawPrimitive(D3DPRIMITIVETYPE(type), 0, count);
}

void SetTextureOrReport(RenderState& state, IDirect3DTexture8* texture) {
  if (FAILED(state.device->SetTexture(0, texture))) state.callbacks.fatalError(kTextureDrawFailedText);
}

void SetFogStates(IDirect3DDevice8* device, const TFrameParamBlock& b) {
  device->SetRenderState(D3DRS_FOGENABLE, b.FogEnable);
  if (b.FogEnable == 0) return;
  device->SetRenderState(D3DRS_FOGTABLEMODE, b.FogTableMode);
  device->SetRenderState(D3DRS_FOGVERTEXMODE, b.FogVertexMode);
  device->SetRenderState(D3DRS_RANGEFOGENABLE, b.RangeFogEnable);
  device->SetRenderState(D3DRS_FOGSTART, FloatBits(b.FogDistanceStart));
  device->SetRenderState(D3DRS_FOGEND, FloatBits(b.FogDistanceEnd));
  device->SetRenderState(D3DRS_FOGCOLOR, OpaqueRgb(b.FogColorR, b.FogColorG, b.FogColorB));
  device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(b.FogDensity));
}

void BindMainBuffer(RenderState& state) {
  state.device->SetStreamSource(0, state.mainVertexBuffer, sizeof(MainVertex));
  state.device->SetVertexShader(kMainVertexFvf);
}

void DrawPlanes(RenderState& state, const TFrameParamBlock& b) {
  for (uint32_t j = 1; j <= std::min<uint32_t>(b.NumberOfPlanes, kMaxPlanesDrawn); ++j) {
    const float s = float(j + double(b.PlaneDist));
    SetWorldMatrix(state.device, s, s, s, 0, 0, 0, 0, 0, 0);
    DrawCurve(state.device, b.PlanesPrimitive, kStripPrimitives);
  }
}

void DrawMainObject(RenderState& state, IDirect3DTexture8* texture) {
  SetTextureOrReport(state, texture);
  SetWorldMatrix(state.device, 1, 1, 1, 0, 0, 0, 0, 0, 0);
  state.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, kStripPrimitives);
  state.device->SetTexture(0, nullptr);
}

void DrawPointSpriteWaves(RenderState& state, const TFrameParamBlock& b) {
  IDirect3DDevice8* device = state.device;
  const double size = b.PointSpriteSizeTweak;
  device->SetRenderState(D3DRS_ZWRITEENABLE, false);
  device->SetRenderState(D3DRS_POINTSPRITEENABLE, true);
  device->SetRenderState(D3DRS_POINTSCALEENABLE, true);
  device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(0.0f));
  device->SetRenderState(D3DRS_POINTSIZE, FloatBits(float(0.9 * size)));
  device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(float(0.6 * size)));
  device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(float(0.3 * size)));
  device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(float(0.1 * size)));
  device->SetRenderState(D3DRS_SRCBLEND, b.ScrBlendPointSprites);
  device->SetRenderState(D3DRS_DESTBLEND, b.DestBlendPointSprites);
  device->SetStreamSource(0, state.particleVertexBuffer, sizeof(ParticleVertex));
  device->SetVertexShader(kParticleVertexFvf);
  SetTextureOrReport(state, TextureByNumber(state, b.PointSpriteTextureNumber));
  const uint8_t mode = std::min<uint8_t>(b.PointSpriteWaveTweakMode, 3);
  const double x = b.PointSpriteWaveTweakX, y = b.PointSpriteWaveTweakY, z = b.PointSpriteWaveTweakZ;
  for (uint32_t j = 1; j <= std::min<uint32_t>(b.NumberOfPointSpriteWaves, kMaxPointSpriteWavesDrawn); ++j) {
    const double s = j + double(b.PointSpriteDist);
    double sx = s, sy = s, sz = s;
    if (mode >= 1) {
      sx = s * std::sin(s * x);
      sy = s * (mode == 2 ? std::sin(s * y) : std::cos(s * y));
      sz = s * (mode == 3 ? std::sin(s * z) : std::cos(s * z));
    }
    SetWorldMatrix(device, float(sx), float(sy), float(sz), 0, 0, 0, 0, 0, 0);
    device->DrawPrimitive(D3DPT_POINTLIST, 0, kStripPrimitives);
  }
}

void RestoreAfterWaves(RenderState& state, const TFrameParamBlock& b) {
  IDirect3DDevice8* device = state.device;
  device->SetRenderState(D3DRS_POINTSPRITEENABLE, false);
  device->SetRenderState(D3DRS_POINTSCALEENABLE, false);
  device->SetRenderState(D3DRS_ZENABLE, b.ZBuffer);
  BindMainBuffer(state);
  device->SetRenderState(D3DRS_SRCBLEND, b.ScrBlend);
  device->SetRenderState(D3DRS_DESTBLEND, b.DestBlend);
  device->SetTexture(0, nullptr);
}

// Rings with b = wave(0.002 t) × j / 600, wave being cos on the first pass and sin on the re-draw.
// Presets above 3 set no world transform: the rings lie on the one left by the previous draw.
void DrawRingObjects(RenderState& state, const TFrameParamBlock& blk, double t, double (*wave)(double)) {
  const double d = blk.ObjectRingDistance;
  for (uint32_t j = 1; j <= std::min<uint32_t>(blk.NumberOfRingObjects, kMaxRingObjectsDrawn); ++j) {
    const double a = j / 100.0;
    const double b = wave(0.002 * t) * j / 600;
    auto w = [&](double k) { return t * 0.002 * a / k; };
    auto set = [&](double sx, double sy, double sz, double tx, double ty, double tz, double rx, double ry, double rz) {
      SetWorldMatrix(state.device, float(sx), float(sy), float(sz), float(tx), float(ty), float(tz), float(rx),
                     float(ry), float(rz));
    };
    switch (blk.RingObjectPreset) {
      case 0: set(b, b, d, 0, 2 * std::cos(w(10)), 2 * std::sin(w(10)), 8 * std::cos(w(10)), w(10), 0); break;
      case 1: set(d, b, a, 2 * std::cos(w(10)), 1, 2 * std::sin(w(10)), 1, w(2), 0); break;
      case 2: set(d, a, d, 2 * std::cos(w(1)), 2 * std::sin(w(20)), 1, 1, w(10), std::cos(w(10))); break;
      case 3: set(a, a, a, 2 * std::sin(w(1)), 2 * std::sin(w(20)), 1, 1, w(10), std::cos(w(10))); break;
      default: break;
    }
    DrawCurve(state.device, blk.RingObjectPrimitive, kRingPrimitives);
  }
}

double Cosine(double x) { return std::cos(x); }
double Sine(double x) { return std::sin(x); }

DWORD TexCoordIndexFor(uint8_t tci) {
  switch (std::clamp<uint8_t>(tci, 1, 4)) {
    case 1: return 0;
    case 2: return D3DTSS_TCI_CAMERASPACENORMAL;
    case 3: return D3DTSS_TCI_CAMERASPACEPOSITION;
    default: return D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR;
  }
}

void DrawSpriteLayer1(RenderState& state, const TFrameParamBlock& b, uint32_t t) {
  DrawSpriteLayer(state, b.SpriteMovementPreset, b.SpriteTextureNumber, b.SpriteAlpha, b.SpriteRotation,
                  b.SpriteStrechX, b.SpriteStrechY, b.SpriteOffsetX, b.SpriteOffsetY, b.SpriteSpeedFactor, t);
}

void DrawSpriteLayer2(RenderState& state, const TFrameParamBlock& b, uint32_t t) {
  DrawSpriteLayer(state, b.SpriteMovementPreset2, b.SpriteTextureNumber2, b.SpriteAlpha2, b.SpriteRotation2,
                  b.SpriteStrechX2, b.SpriteStrechY2, b.SpriteOffsetX2, b.SpriteOffsetY2, b.SpriteSpeedFactor2, t);
}

}  // namespace

UINT CurvePrimitiveCount(uint32_t type, UINT requested) {
  UINT held = 0;
  switch (type) {
    case D3DPT_POINTLIST: held = kCurveVertexCount; break;
    case D3DPT_LINELIST: held = kCurveVertexCount / 2; break;
    case D3DPT_LINESTRIP: held = kCurveVertexCount - 1; break;
    case D3DPT_TRIANGLELIST: held = kCurveVertexCount / 3; break;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: held = kCurveVertexCount - 2; break;
    default: return 0;
  }
  return std::min(requested, held);
}

std::string RenderFrame(RenderState& state, const TFrameParamBlock& b, uint32_t demoTimeMs, uint32_t formWidthPx,
                        uint32_t formHeightPx) {
  if (demoTimeMs < b.StartTime || demoTimeMs > b.EndTime || state.device == nullptr) return "";
  IDirect3DDevice8* device = state.device;
  const uint32_t t = uint32_t(std::max(b.FxTime, 0));

  SetFogStates(device, b);
  device->SetRenderState(D3DRS_ZENABLE, b.ZBuffer);
  device->SetRenderState(D3DRS_SPECULARENABLE, b.EnableSpecular);
  device->SetRenderState(D3DRS_LIGHTING, b.EnableLight);
  device->SetRenderState(D3DRS_FILLMODE, b.FillMode);
  device->SetRenderState(D3DRS_SHADEMODE, b.ShadeMode);
  device->SetRenderState(D3DRS_BLENDOP, b.BlendOp);
  device->SetRenderState(D3DRS_SRCBLEND, b.ScrBlend);
  device->SetRenderState(D3DRS_DESTBLEND, b.DestBlend);

  std::string geometryError;
  BuildGeometry(state, b.ObjectPreset, geometryError, b.TweakX, b.TweakY, b.TweakZ);
  if (!geometryError.empty()) geometryError = kGeometryInitPrefix + geometryError;

  if (b.UseR2TEffects != 0 && !BeginRenderToTexture(state, b.R2tTextureSizeTweakFactor)) return geometryError;
  if (b.ReSetViewPort != 0) device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  const DWORD clearFlags = (b.ClearTarget != 0 ? D3DCLEAR_TARGET : 0) | (b.ClearZBuffer != 0 ? D3DCLEAR_ZBUFFER : 0);
  device->Clear(0, nullptr, clearFlags, OpaqueRgb(b.BG_r, b.BG_g, b.BG_b), 1.0f, 0);
  device->BeginScene();
  BindMainBuffer(state);

  const float formAspect = float(double(formWidthPx) / std::max<uint32_t>(formHeightPx, 1));
  SetupCamera(device, b.CameraPreset, t, b.ScreenProportionAdjust, formAspect);
  const float ambientBlue = float(0.1 * std::cos(0.001 * t));
  SetupLight(device, {0, 0, 0}, {0, -1, 3}, {1, 1, 1}, {0, 0, ambientBlue}, {1, 1, 1}, {1, 0, 0}, 0,
             D3DLIGHT_DIRECTIONAL);

  DrawSpriteLayer1(state, b, t);
  if (b.MainObject != 0) {
    DrawPlanes(state, b);
    DrawMainObject(state, TextureByNumber(state, b.ObjectTextureNumber));
    DrawPointSpriteWaves(state, b);
    RestoreAfterWaves(state, b);
  }
  DrawRingObjects(state, b, t, Cosine);
  DrawSpriteLayer2(state, b, t);

  if (b.UseR2TEffects != 0) {
    EndRenderToTexture(state);
    if (b.ReSetViewPort != 0) device->SetViewport(&state.viewport);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, TexCoordIndexFor(b.tci));
    DrawR2TEffect(state, b.R2TEffectPreset, b.R2TEffectPower, b.R2TEffectRotation, b.R2TEffectSpeed, t);
    if (b.ReRenderRingObjects != 0) DrawRingObjects(state, b, t, Sine);
    if (b.ReRenderMainObject != 0) {
      SetWorldMatrix(device, 1, 1, 1, 0, 0, 0, 0, 0, 0);
      device->SetTexture(0, state.renderTargetTexture);
      device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, kStripPrimitives);
      device->SetTexture(0, nullptr);
    }
    if (b.ReRenderSprite2 != 0) DrawSpriteLayer2(state, b, t);
  }
  device->EndScene();
  return geometryError;
}
