#include "scene/scene_update.h"

#include <algorithm>
#include <array>

#include "scene/param_eval.h"

namespace {

// Where each parameter's evaluation lands in the block; exactly one of the three pointers is set.
struct BlockField {
  uint8_t TFrameParamBlock::*u8 = nullptr;
  uint16_t TFrameParamBlock::*u16 = nullptr;
  float TFrameParamBlock::*f32 = nullptr;
};
constexpr BlockField B(uint8_t TFrameParamBlock::*field) { return {field, nullptr, nullptr}; }
constexpr BlockField W(uint16_t TFrameParamBlock::*field) { return {nullptr, field, nullptr}; }
constexpr BlockField F(float TFrameParamBlock::*field) { return {nullptr, nullptr, field}; }

using T = TFrameParamBlock;
// clang-format off
constexpr BlockField kFields[kParamCount] = {
    B(&T::BG_r), B(&T::BG_g), B(&T::BG_b), B(&T::ObjectPreset),                                         // 0..3
    F(&T::TweakX), F(&T::TweakY), F(&T::TweakZ),                                                        // 4..6
    B(&T::ClearTarget), B(&T::ZBuffer), B(&T::ClearZBuffer), B(&T::ObjectTextureNumber),              // 7..10
    F(&T::ObjectRingDistance), W(&T::NumberOfRingObjects), B(&T::EnableSpecular), B(&T::EnableLight),  // 11..14
    B(&T::MainObject), B(&T::ReRenderMainObject), B(&T::ReRenderRingObjects),                          // 15..17
    B(&T::ScrBlend), B(&T::DestBlend),                                                                  // 18..19
    F(&T::SpriteStrechX), F(&T::SpriteStrechY), F(&T::SpriteOffsetX), F(&T::SpriteOffsetY),            // 20..23
    F(&T::SpriteRotation), B(&T::SpriteTextureNumber), B(&T::SpriteMovementPreset),                    // 24..26
    F(&T::SpriteSpeedFactor), B(&T::SpriteAlpha),                                                       // 27..28
    F(&T::SpriteStrechX2), F(&T::SpriteStrechY2), F(&T::SpriteOffsetX2), F(&T::SpriteOffsetY2),        // 29..32
    F(&T::SpriteRotation2), B(&T::SpriteTextureNumber2), B(&T::SpriteMovementPreset2),                 // 33..35
    F(&T::SpriteSpeedFactor2), B(&T::SpriteAlpha2),                                                     // 36..37
    B(&T::NumberOfPlanes), F(&T::PlaneDist), B(&T::PlanesPrimitive), B(&T::CameraPreset),              // 38..41
    F(&T::ScreenProportionAdjust), W(&T::NumberOfPointSpriteWaves), B(&T::PointSpriteTextureNumber),   // 42..44
    F(&T::PointSpriteDist), F(&T::PointSpriteSizeTweak),                                                // 45..46
    B(&T::R2TEffectPreset), W(&T::R2TEffectPower), F(&T::R2TEffectRotation), F(&T::R2TEffectSpeed),   // 47..50
    B(&T::UseR2TEffects), B(&T::ReSetViewPort), B(&T::R2tTextureSizeTweakFactor), B(&T::tci),          // 51..54
    B(&T::ScrBlendPointSprites), B(&T::DestBlendPointSprites), B(&T::ReRenderSprite2),                 // 55..57
    B(&T::RingObjectPreset), B(&T::RingObjectPrimitive),                                                // 58..59
    B(&T::FillMode), B(&T::ShadeMode), B(&T::BlendOp), B(&T::FogEnable),                               // 60..63
    B(&T::FogTableMode), B(&T::FogVertexMode), B(&T::RangeFogEnable),                                  // 64..66
    F(&T::FogDistanceStart), F(&T::FogDistanceEnd),                                                     // 67..68
    B(&T::FogColorR), B(&T::FogColorG), B(&T::FogColorB), F(&T::FogDensity),                           // 69..72
    F(&T::PointSpriteWaveTweakX), F(&T::PointSpriteWaveTweakY), F(&T::PointSpriteWaveTweakZ),          // 73..75
    B(&T::PointSpriteWaveTweakMode),                                                                    // 76
};
// clang-format on

void StoreField(TFrameParamBlock& block, int index, double value) {
  const BlockField& field = kFields[index];
  if (field.u8) block.*field.u8 = static_cast<uint8_t>(value);
  else if (field.u16) block.*field.u16 = static_cast<uint16_t>(value);
  else block.*field.f32 = static_cast<float>(value);
}

const SoundEnvelopes kNoEnvelopes;

}  // namespace

TFrameParamBlock UpdateSceneParams(SceneState& scene, uint8_t presetNumber, uint32_t startTimeMs, uint32_t endTimeMs,
                                   uint32_t fxTimeMs, bool developmentMode, const TracksAt& tracks) {
  const size_t loaded = std::min<size_t>(scene.PresetCount, scene.ScenePresets.size());
  if (presetNumber >= loaded) presetNumber = 0;
  TFrameParamBlock block{};
  block.StartTime = startTimeMs;
  block.EndTime = endTimeMs;
  block.FxTime = static_cast<int32_t>(fxTimeMs);
  if (!developmentMode && loaded > 0) scene.LiveParams = scene.ScenePresets[presetNumber];

  std::array<const AutomationTrack*, kParamCount> tracked{};
  if (tracks.tracks)
    for (const AutomationTrack& track : *tracks.tracks)
      if (track.Param < kParamCount && !track.Keys.empty()) tracked[track.Param] = &track;

  std::array<const ParamFollow*, kParamCount> followed{};
  if (tracks.follows)
    for (const ParamFollow& follow : *tracks.follows)
      if (follow.Param < kParamCount) followed[follow.Param] = &follow;
  const SoundEnvelopes& envelopes = scene.Envelopes ? *scene.Envelopes : kNoEnvelopes;

  for (int i = 0; i < kParamCount; ++i) {
    const TScene1ParamInterface& live = scene.LiveParams[i];
    if (!tracked[i] && !followed[i]) {
      StoreField(block, i, EvaluateParam(live, i, fxTimeMs));
      continue;
    }
    TScene1ParamInterface param = tracked[i] ? TrackedParam(live, *tracked[i], tracks.localMs) : live;
    if (followed[i]) param.BaseVal = FollowedValue(*followed[i], envelopes, tracks.demoMs, param.BaseVal);
    StoreField(block, i, EvaluateParam(param, i, fxTimeMs));
  }
  return block;
}

double EvaluateParam(const TScene1ParamInterface& param, int index, uint32_t fxTimeMs) {
  switch (EvaluationType(index)) {
    case ParamType::Bool: return EvalBool(param, fxTimeMs);
    case ParamType::Byte: return EvalByte(param, fxTimeMs);
    case ParamType::Word: return EvalWord(param, fxTimeMs);
    default: return EvalSing(param, fxTimeMs);
  }
}

double BlockFieldValue(const TFrameParamBlock& block, int index) {
  const BlockField& field = kFields[index];
  if (field.u8) return block.*field.u8;
  if (field.u16) return block.*field.u16;
  return block.*field.f32;
}

bool BlockFieldIsFloat(int index) { return kFields[index].f32 != nullptr; }
