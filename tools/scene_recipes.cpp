#include "tools/scene_recipes.h"

#include <stdexcept>
#include <string>

#include "scene/scene_update.h"
#include "scene/shared_random.h"
#include "tweak/randomizer.h"

namespace {

// Blend factors and primitive types by their published numbers.
constexpr float kOne = 2, kSrcAlpha = 5, kInvSrcAlpha = 6;
constexpr float kTriangleList = 4, kTriangleStrip = 5, kTriangleFan = 6, kLineStrip = 3;

// Textures of data/: 0 plasma, 1 rings, 2 stars, 3 warm glow, 4 clouds, 5 neon stripes, 6 logo,
// 7 sparkle, 8 lava, 9 neon grid.
constexpr float kPlasma = 0, kRings = 1, kStars = 2, kGlow = 3, kClouds = 4, kNeon = 5, kLogo = 6, kSparkle = 7,
                kLava = 8, kGrid = 9;

// What every scene of the demo shares: no sprites, no screen effect, no fog, alpha blending, still
// proportions, no depth buffer (and no depth clear: after the first render-to-texture layer the back
// buffer has no depth buffer, and a clear that asks for one clears nothing). Each recipe then says
// what makes it itself.
std::vector<RecipeValue> Quiet(std::vector<RecipeValue> own) {
  // clang-format off
  std::vector<RecipeValue> values = {
      {"BG_r", 0}, {"BG_g", 0}, {"BG_b", 0}, {"ClearTarget", 1}, {"ClearZBuffer", 0}, {"ZBuffer", 0},
      {"ScrBlend", kSrcAlpha}, {"DestBlend", kInvSrcAlpha}, {"ScreenProportionAdjust", 0},
      {"SpriteAlpha", 0}, {"SpriteAlpha2", 0}, {"UseR2TEffects", 0}, {"ReSetViewPort", 1},
      {"R2tTextureSizeTweakFactor", 0}, {"R2TEffectRotation", 0}, {"ScrBlendPointSprites", kSrcAlpha}, {"DestBlendPointSprites", kOne},
      {"FogEnable", 0}, {"EnableLight", 0}, {"EnableSpecular", 0}, {"ReRenderRingObjects", 0},
      {"ReRenderMainObject", 0}, {"ReRenderSprite2", 0}, {"NumberOfRingObjects", 0},
      {"NumberOfPointSpriteWaves", 0}, {"NumberOfPlanes", 0},
  };
  // clang-format on
  values.insert(values.end(), own.begin(), own.end());
  return values;
}

}  // namespace

const std::vector<SceneRecipe>& DemoSceneRecipes() {
  // clang-format off
  static const std::vector<SceneRecipe> recipes = {
      {"0: dawn - a plasma ribbon turning in a deep blue glow, sparks drifting by", 0, 0,
       Quiet({{"BG_r", 10}, {"BG_g", 14}, {"BG_b", 60, 1, 0.0007f, 20},
              {"_ObjectPreset", 1}, {"_TweakX", 0.6f, 1, 0.0003f, 0.2f}, {"_TweakY", 1.2f}, {"_TweakZ", 0.4f},
              {"ObjectTextureNumber", kPlasma}, {"NumberOfPlanes", 1}, {"PlaneDist", 3},
              {"PlanesPrimitive", kTriangleStrip}, {"CameraPreset", 0}, {"EnableLight", 1},
              {"NumberOfPointSpriteWaves", 12}, {"PointSpriteTextureNumber", kSparkle}, {"PointSpriteDist", 2},
              {"PointSpriteSizeTweak", 0.012f}, {"PointSpriteWaveTweakMode", 1}, {"PointSpriteWaveTweakX", 0.3f},
              {"PointSpriteWaveTweakY", 0.2f}, {"PointSpriteWaveTweakZ", 0.1f}})},
      {"1: rings - a tunnel of lava rings around the camera", 0, 0,
       Quiet({{"BG_r", 40, 5, 0.001f, 40}, {"BG_g", 6}, {"BG_b", 12},
              {"_ObjectPreset", 2}, {"_TweakX", 0.8f}, {"_TweakY", 0.05f}, {"_TweakZ", 0.07f},
              {"ObjectTextureNumber", kLava}, {"NumberOfPlanes", 6}, {"PlaneDist", 2},
              {"PlanesPrimitive", kTriangleFan}, {"CameraPreset", 2},
              {"NumberOfRingObjects", 90}, {"ObjectRingDistance", 0.9f}, {"RingObjectPreset", 1},
              {"RingObjectPrimitive", kLineStrip}, {"ReRenderRingObjects", 1}})},
      {"2: stars - sparkling particle waves and a swaying star field, laid over the scene below", 0, 0,
       Quiet({{"ClearTarget", 0}, {"ClearZBuffer", 0}, {"ReSetViewPort", 0},
              {"MainObject", 1}, {"_ObjectPreset", 0}, {"_TweakX", 0.4f}, {"_TweakY", 1}, {"_TweakZ", 1},
              {"ObjectTextureNumber", kStars}, {"NumberOfPlanes", 0}, {"CameraPreset", 1},
              {"NumberOfPointSpriteWaves", 40}, {"PointSpriteTextureNumber", kSparkle}, {"PointSpriteDist", 0.5f},
              {"PointSpriteSizeTweak", 0.006f}, {"PointSpriteWaveTweakMode", 2}, {"PointSpriteWaveTweakX", 0.05f},
              {"PointSpriteWaveTweakY", 0.04f}, {"PointSpriteWaveTweakZ", 0.03f},
              {"SpriteAlpha", 150}, {"SpriteTextureNumber", kStars}, {"SpriteMovementPreset", 2},
              {"SpriteStrechX", 3}, {"SpriteStrechY", 1.5f}, {"SpriteOffsetX", -0.2f}, {"SpriteOffsetY", 0},
              {"SpriteSpeedFactor", 0.0002f}})},
      {"3: echoes - a lit, turning curve zooming back in five echoes", 0, 0,
       Quiet({{"BG_r", 30}, {"BG_g", 10, 1, 0.0005f, 10}, {"BG_b", 50},
              {"_ObjectPreset", 0}, {"_TweakX", 0.5f, 1, 0.0003f, 0.2f}, {"_TweakY", 0.6f}, {"_TweakZ", 0.8f},
              {"ObjectTextureNumber", kNeon}, {"NumberOfPlanes", 10}, {"PlaneDist", 0.6f},
              {"PlanesPrimitive", kTriangleStrip}, {"EnableLight", 1}, {"CameraPreset", 2},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 4}, {"R2TEffectPower", 6}, {"R2TEffectRotation", 0},
              {"R2TEffectSpeed", 1}, {"ReRenderMainObject", 1}})},
      {"4: fog - a neon grid fading into violet fog", 0, 0,
       Quiet({{"BG_r", 60}, {"BG_g", 20}, {"BG_b", 90},
              {"_ObjectPreset", 3}, {"_TweakX", 0.05f}, {"_TweakY", 0.08f}, {"_TweakZ", 0.11f},
              {"ObjectTextureNumber", kGrid}, {"NumberOfPlanes", 25}, {"PlaneDist", 0.5f},
              {"PlanesPrimitive", kTriangleStrip}, {"CameraPreset", 1}, {"EnableLight", 1},
              {"FogEnable", 1}, {"FogTableMode", 3}, {"FogDistanceStart", 3}, {"FogDistanceEnd", 40},
              {"FogColorR", 60}, {"FogColorG", 20}, {"FogColorB", 90},
              {"NumberOfRingObjects", 40}, {"ObjectRingDistance", 1.2f}, {"RingObjectPreset", 3},
              {"RingObjectPrimitive", kLineStrip}})},
      // One plane far out gives the slices their woven glow; four nearer ones looked the same and cost
      // about five times the demo's median frame in the render target. Its big triangles overlap many
      // times and the nearly opaque top ones decide the colour, so the plane is drawn as a list:
      // every third triangle of the strip, a third of the fill for the same wash.
      {"5: slices - neon glow cut into swaying vertical slices", 0, 0,
       Quiet({{"BG_r", 90}, {"BG_g", 150, 2, 0.002f, 60}, {"BG_b", 230},
              {"_ObjectPreset", 1}, {"_TweakX", 1.6f}, {"_TweakY", 0.8f}, {"_TweakZ", 0.2f, 1, 0.0002f, 0.05f},
              {"ObjectTextureNumber", kNeon}, {"NumberOfPlanes", 1}, {"PlaneDist", 12},
              {"PlanesPrimitive", kTriangleList}, {"CameraPreset", 3},
              {"NumberOfPointSpriteWaves", 10}, {"PointSpriteTextureNumber", kGlow}, {"PointSpriteDist", 1},
              {"PointSpriteSizeTweak", 0.03f},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 2}, {"R2TEffectPower", 5}, {"R2TEffectSpeed", 2}})},
      {"6: tiles - clouds and plasma as a grid of tiles under a veil", 0, 0,
       Quiet({{"BG_r", 20}, {"BG_g", 40}, {"BG_b", 80},
              {"_ObjectPreset", 0}, {"_TweakX", 0.5f}, {"_TweakY", 0.7f}, {"_TweakZ", 0.3f},
              {"ObjectTextureNumber", kClouds}, {"NumberOfPlanes", 10}, {"PlaneDist", 1},
              {"PlanesPrimitive", kTriangleStrip}, {"CameraPreset", 4},
              {"SpriteAlpha2", 180}, {"SpriteTextureNumber2", kPlasma}, {"SpriteMovementPreset2", 2},
              {"SpriteStrechX2", 1.2f}, {"SpriteStrechY2", 0.8f}, {"SpriteOffsetX2", 0.3f}, {"SpriteOffsetY2", 0.1f},
              {"SpriteSpeedFactor2", 0.0008f},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 5}, {"R2TEffectPower", 3}, {"R2TEffectSpeed", 1}})},
      {"7: strip - a spinning curve with a film strip of small copies", 0, 0,
       Quiet({{"BG_r", 90, 1, 0.001f, 30}, {"BG_g", 30}, {"BG_b", 10},
              {"_ObjectPreset", 1}, {"_TweakX", 2.9f, 1, 0.0002f, 0.05f}, {"_TweakY", 1.6f}, {"_TweakZ", 0.03f},
              {"ObjectTextureNumber", kLava}, {"NumberOfPlanes", 24}, {"PlaneDist", 3},
              {"PlanesPrimitive", kTriangleStrip}, {"CameraPreset", 0},
              {"NumberOfRingObjects", 60}, {"ObjectRingDistance", 0.6f}, {"RingObjectPreset", 0},
              {"RingObjectPrimitive", kTriangleStrip},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 0}, {"R2TEffectPower", 4}, {"R2TEffectSpeed", 2}})},
      {"8: stretch - glowing particles smeared into stretched echoes", 0, 0,
       Quiet({{"BG_r", 5}, {"BG_g", 5}, {"BG_b", 5},
              {"_ObjectPreset", 0}, {"_TweakX", 0.7f}, {"_TweakY", 0.4f}, {"_TweakZ", 0.6f},
              {"MainObject", 1}, {"ObjectTextureNumber", kRings}, {"NumberOfPlanes", 4}, {"PlaneDist", 2},
              {"CameraPreset", 5}, {"NumberOfPointSpriteWaves", 30}, {"PointSpriteTextureNumber", kGlow},
              {"PointSpriteDist", 1}, {"PointSpriteSizeTweak", 0.02f}, {"PointSpriteWaveTweakMode", 3},
              {"PointSpriteWaveTweakX", 0.2f}, {"PointSpriteWaveTweakY", 0.1f}, {"PointSpriteWaveTweakZ", 0.15f},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 1}, {"R2TEffectPower", 5}, {"R2TEffectSpeed", 3}})},
      {"9: logo - the name drifting over a glowing swarm, laid over the scene below; rolled by the randomizer", 7, 40,
       Quiet({{"ClearTarget", 0}, {"ClearZBuffer", 0}, {"ReSetViewPort", 0},
              {"MainObject", 1}, {"NumberOfPlanes", 0}, {"_ObjectPreset", 1}, {"CameraPreset", 0},
              {"NumberOfPointSpriteWaves", 12}, {"PointSpriteTextureNumber", kGlow}, {"PointSpriteSizeTweak", 0.006f},
              {"PointSpriteDist", 1}, {"PointSpriteWaveTweakMode", 1}, {"PointSpriteWaveTweakX", 0.3f},
              {"PointSpriteWaveTweakY", 0.2f}, {"PointSpriteWaveTweakZ", 0.25f},
              {"SpriteAlpha2", 255}, {"SpriteTextureNumber2", kLogo}, {"SpriteMovementPreset2", 3},
              {"SpriteStrechX2", 1.5f}, {"SpriteStrechY2", 1.2f}, {"SpriteOffsetX2", 0.2f}, {"SpriteOffsetY2", 0.1f},
              {"SpriteSpeedFactor2", 0.0001f}, {"SpriteRotation2", 60000}})},
      {"10: zoom - lava rings zooming back in five echoes", 0, 0,
       Quiet({{"BG_r", 50, 5, 0.001f, 40}, {"BG_g", 10}, {"BG_b", 20},
              {"_ObjectPreset", 2}, {"_TweakX", 0.8f}, {"_TweakY", 0.05f}, {"_TweakZ", 0.07f},
              {"ObjectTextureNumber", kLava}, {"NumberOfPlanes", 6}, {"PlaneDist", 2}, {"EnableLight", 1},
              {"PlanesPrimitive", kTriangleFan}, {"CameraPreset", 2},
              {"NumberOfRingObjects", 60}, {"ObjectRingDistance", 0.9f}, {"RingObjectPreset", 2},
              {"RingObjectPrimitive", kLineStrip},
              {"UseR2TEffects", 1}, {"R2TEffectPreset", 3}, {"R2TEffectPower", 4}, {"R2TEffectSpeed", 1}})},
  };
  // clang-format on
  return recipes;
}

TScene1ParamIArray BuildPreset(const SceneRecipe& recipe) {
  SceneState scene;
  if (recipe.randSeed != 0) {
    TweakHost host;
    host.scene = &scene;
    TweakForm form(host);
    form.controls.Possibility.position = recipe.randPossibility;
    SeedRandom(recipe.randSeed);
    RandomizeClick(form);
  }
  TScene1ParamIArray& preset = scene.LiveParams;
  for (const RecipeValue& value : recipe.values) {
    int index = 0;
    while (index < kParamCount && ShortName(preset[index].Name) != value.name) ++index;
    if (index == kParamCount) throw std::invalid_argument(std::string("no parameter named ") + value.name);
    preset[index] = SetParam(preset[index].Name.Text(), value.oscForm, value.base, value.osc1, value.osc2);
  }
  return preset;
}
