#include "tweak/randomizer.h"

#include <algorithm>
#include <cmath>

#include "scene/round.h"
#include "scene/shared_random.h"

namespace {

// How "rand" draws a base value. U(n) is Random(n), R is RandomReal().
enum class Draw {
  Whole,      // U(n) + offset
  Real,       // scale * R + offset
  Rotation,   // U(2) * 1.57
  SizeFactor  // U(2) * (U(5) + 5), the U(2) first
};

struct RandRule {
  RandGroup group;
  Draw draw;
  int n;          // Whole: the count of values
  double scale;   // Real
  double offset;  // Whole and Real
};

constexpr RandRule W(RandGroup g, int n, double offset = 0) { return {g, Draw::Whole, n, 0, offset}; }
constexpr RandRule F(RandGroup g, double scale, double offset = 0) { return {g, Draw::Real, 0, scale, offset}; }

using G = RandGroup;
// One rule per parameter, in table order.
// clang-format off
constexpr RandRule kRules[kParamCount] = {
    W(G::None, 256), W(G::None, 256), W(G::None, 256),                 // 0-2 BG_r, BG_g, BG_b
    W(G::Object, 4),                                                    // 3 _ObjectPreset
    F(G::Object, 3), F(G::Object, 3), F(G::Object, 3),                  // 4-6 _TweakX/Y/Z
    W(G::None, 2), W(G::None, 2), W(G::None, 2),                        // 7-9 ClearTarget, ZBuffer, ClearZBuffer
    W(G::None, 9),                                                      // 10 ObjectTextureNumber
    F(G::None, 3),                                                      // 11 ObjectRingDistance
    W(G::None, 200),                                                    // 12 NumberOfRingObjects
    W(G::None, 2), W(G::None, 2), W(G::None, 2), W(G::None, 2), W(G::None, 2),  // 13-17 switches
    W(G::Blend, 13), W(G::Blend, 13),                                   // 18-19 ScrBlend, DestBlend
    F(G::Sprite, 50), F(G::Sprite, 50),                                 // 20-21 SpriteStrechX/Y
    F(G::Sprite, 10, -5), F(G::Sprite, 10, -5),                         // 22-23 SpriteOffsetX/Y
    F(G::Sprite, 1000),                                                 // 24 SpriteRotation
    W(G::Sprite, 9), W(G::Sprite, 4),                                   // 25-26 texture, movement preset
    F(G::Sprite, 1),                                                    // 27 SpriteSpeedFactor
    W(G::Sprite, 256),                                                  // 28 SpriteAlpha
    F(G::Sprite, 50), F(G::Sprite, 50),                                 // 29-30 SpriteStrechX2/Y2
    F(G::Sprite, 10, -5), F(G::Sprite, 10, -5),                         // 31-32 SpriteOffsetX2/Y2
    F(G::Sprite, 1000),                                                 // 33 SpriteRotation2
    W(G::Sprite, 9), W(G::Sprite, 4),                                   // 34-35 texture, movement preset
    F(G::Sprite, 1),                                                    // 36 SpriteSpeedFactor2
    W(G::Sprite, 256),                                                  // 37 SpriteAlpha2
    W(G::None, 50),                                                     // 38 NumberOfPlanes
    F(G::None, 10),                                                     // 39 PlaneDist
    W(G::None, 2, 5),                                                   // 40 PlanesPrimitive
    W(G::Camera, 6),                                                    // 41 CameraPreset
    W(G::None, 10, -5),                                                 // 42 ScreenProportionAdjust
    W(G::Pointsprites, 100), W(G::Pointsprites, 9),                     // 43-44 waves, texture
    F(G::Pointsprites, 10), F(G::Pointsprites, 1),                      // 45-46 dist, size tweak
    W(G::R2T, 7),                                                       // 47 R2TEffectPreset
    W(G::R2T, 30, 1),                                                   // 48 R2TEffectPower
    {G::R2T, Draw::Rotation, 0, 0, 0},                                  // 49 R2TEffectRotation
    F(G::R2T, 3),                                                       // 50 R2TEffectSpeed
    W(G::R2T, 2), W(G::R2T, 2),                                         // 51-52 UseR2TEffects, ReSetViewPort
    {G::R2T, Draw::SizeFactor, 0, 0, 0},                                // 53 R2tTextureSizeTweakFactor
    W(G::R2T, 5),                                                       // 54 tci
    W(G::Blend, 13), W(G::Blend, 13),                                   // 55-56 point-sprite blend factors
    W(G::None, 2),                                                      // 57 ReRenderSprite2
    W(G::None, 4), W(G::None, 7),                                       // 58-59 ring preset, primitive
    W(G::None, 3, 1), W(G::None, 3, 1),                                 // 60-61 FillMode, ShadeMode
    W(G::Blend, 5, 1),                                                  // 62 BlendOp
    W(G::Fog, 2), W(G::Fog, 4), W(G::Fog, 4), W(G::Fog, 2),             // 63-66 fog switches and modes
    W(G::Fog, 5), W(G::Fog, 20),                                        // 67-68 FogDistanceStart/End
    W(G::Fog, 256), W(G::Fog, 256), W(G::Fog, 256),                     // 69-71 FogColorR/G/B
    W(G::Fog, 2),                                                       // 72 FogDensity
    W(G::Pointsprites, 2), W(G::Pointsprites, 2), W(G::Pointsprites, 2),  // 73-75 wave tweaks
    W(G::Pointsprites, 4),                                              // 76 PointSpriteWaveTweakMode
};
// clang-format on

bool GroupChecked(const TweakControls& c, RandGroup group) {
  switch (group) {
    case RandGroup::None: return true;
    case RandGroup::Object: return c.RandObject;
    case RandGroup::Blend: return c.RandBlend;
    case RandGroup::Sprite: return c.RandSprite;
    case RandGroup::Camera: return c.RandCamera;
    case RandGroup::Pointsprites: return c.RandPointsprites;
    case RandGroup::R2T: return c.RandR2T;
    case RandGroup::Fog: return c.RandFog;
  }
  return false;
}

double DrawValue(const RandRule& rule) {
  switch (rule.draw) {
    case Draw::Whole: return Random(rule.n) + rule.offset;
    case Draw::Real: return rule.scale * RandomReal() + rule.offset;
    case Draw::Rotation: return Random(2) * 1.57;
    case Draw::SizeFactor: {
      const uint32_t on = Random(2);
      return on * (Random(5) + 5.0);
    }
  }
  return 0;
}

// The non-negative remainder of a rounded value, for any float magnitude.
double Wrap(double value, double modulus) {
  const double remainder = std::fmod(Round(value), modulus);
  return remainder < 0 ? remainder + modulus : remainder;
}

}  // namespace

RandGroup RandGroupOf(int index) { return kRules[index].group; }

bool RollChance(const TweakForm& form) { return static_cast<int>(Random(100)) < form.controls.Possibility.position; }

void RandomizeClick(TweakForm& form) {
  TScene1ParamIArray& live = form.host.scene->LiveParams;
  for (int i = 0; i < kParamCount; ++i) {
    if (!GroupChecked(form.controls, kRules[i].group)) continue;
    if (RollChance(form)) live[i].BaseVal = static_cast<float>(DrawValue(kRules[i]));
  }
  if (!form.controls.RandOsc) return;
  for (TScene1ParamInterface& param : live) {
    if (RollChance(form)) {
      param.OscForm = static_cast<uint8_t>(Random(6) + 1);
      param.Osc1 = 0.001f;
      param.Osc2 = static_cast<float>(Random(3) + 1);
    } else {
      param.OscForm = 0;
      param.Osc1 = 0;
      param.Osc2 = 0;
    }
  }
}

void VaryClick(TweakForm& form) {
  TScene1ParamIArray& live = form.host.scene->LiveParams;
  for (TScene1ParamInterface& param : live) {
    if (!RollChance(form)) continue;
    const int step = static_cast<int>(Random(3)) - 1;  // -1, 0 or +1
    switch (TypeOfName(param.Name)) {
      case ParamType::Bool:
        param.BaseVal = static_cast<float>(std::clamp(Wrap(param.BaseVal, 256) + step, 0.0, 1.0));
        break;
      case ParamType::Byte:
        param.BaseVal = static_cast<float>(std::clamp(Wrap(param.BaseVal, 256) + step, 0.0, 255.0));
        break;
      case ParamType::Word:
        param.BaseVal = static_cast<float>(std::clamp(Wrap(param.BaseVal, 65536) + step, 0.0, 65535.0));
        break;
      case ParamType::Sing: param.BaseVal = param.BaseVal + step / 10.0f; break;
      case ParamType::Other: break;  // a name of no known type keeps its value
    }
  }
  if (!form.controls.RandOsc) return;
  for (TScene1ParamInterface& param : live) {
    if (!RollChance(form) || param.OscForm == 0) continue;
    const int step1 = static_cast<int>(Random(3)) - 1;
    const int step2 = static_cast<int>(Random(3)) - 1;
    param.Osc1 = param.Osc1 + step1 * 0.01f;
    param.Osc2 = param.Osc2 + static_cast<float>(step2);
  }
}
