#pragma once
// The frame parameter block: the 77 parameters of one scene layer evaluated at its effect time, plus the
// layer's window of demo time. Built by UpdateSceneParams, drawn by the renderer. Times are ms.
#include <cstdint>

struct TFrameParamBlock {
  uint32_t StartTime;  // first demo-time ms the layer is drawn
  uint32_t EndTime;    // last demo-time ms the layer is drawn (inclusive)
  int32_t FxTime;      // effect time the values were evaluated at, 0..2147483647
  uint8_t BG_r, BG_g, BG_b;
  uint8_t ObjectPreset;          // named "byte:_ObjectPreset" in the preset files
  float TweakX, TweakY, TweakZ;  // "sing:_TweakX", "sing:_TweakY", "sing:_TweakZ" there
  uint8_t ZBuffer;
  uint8_t ClearTarget;
  uint8_t ClearZBuffer;
  uint8_t ObjectTextureNumber;
  float ObjectRingDistance;
  uint8_t ScrBlend, DestBlend;
  uint8_t MainObject;
  uint8_t NumberOfPlanes;
  float PlaneDist;
  uint8_t PlanesPrimitive;
  uint8_t CameraPreset;
  float SpriteStrechX, SpriteStrechY, SpriteOffsetX, SpriteOffsetY, SpriteRotation;
  uint8_t SpriteAlpha;
  uint8_t SpriteMovementPreset;
  uint8_t SpriteTextureNumber;
  float SpriteSpeedFactor;
  float SpriteStrechX2, SpriteStrechY2, SpriteOffsetX2, SpriteOffsetY2, SpriteRotation2;
  uint8_t SpriteAlpha2;
  uint8_t SpriteMovementPreset2;
  uint8_t SpriteTextureNumber2;
  float SpriteSpeedFactor2;
  float ScreenProportionAdjust;
  uint16_t NumberOfRingObjects;
  uint8_t PointSpriteTextureNumber;
  uint16_t NumberOfPointSpriteWaves;
  float PointSpriteSizeTweak;
  float PointSpriteDist;
  uint8_t R2TEffectPreset;
  float R2TEffectRotation, R2TEffectSpeed;
  uint16_t R2TEffectPower;
  uint8_t UseR2TEffects;
  uint8_t R2tTextureSizeTweakFactor;
  uint8_t ReSetViewPort;
  uint8_t EnableSpecular, EnableLight;
  uint8_t ReRenderMainObject, ReRenderRingObjects;
  uint8_t tci;
  uint8_t ScrBlendPointSprites, DestBlendPointSprites;
  uint8_t ReRenderSprite2;
  uint8_t RingObjectPreset, RingObjectPrimitive;
  uint8_t FillMode, ShadeMode, BlendOp;
  uint8_t FogEnable;
  uint8_t FogTableMode, FogVertexMode;
  uint8_t RangeFogEnable;
  float FogDistanceStart, FogDistanceEnd;
  uint8_t FogColorR, FogColorG, FogColorB;
  float FogDensity;
  float PointSpriteWaveTweakX, PointSpriteWaveTweakY, PointSpriteWaveTweakZ;
  uint8_t PointSpriteWaveTweakMode;
};
