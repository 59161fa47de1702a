#include "scene/param_table.h"

#include <mutex>
#include <unordered_map>

const std::string& ParamName::Empty() {
  static const std::string empty;
  return empty;
}

namespace {
// Process-wide (README, "Process-wide state"): each text once, while some record holds it; the key views
// the text it maps to.
struct NamePool {
  std::mutex mutex;
  std::unordered_map<std::string_view, std::weak_ptr<const std::string>> texts;
};

NamePool& Pool() {
  static NamePool* pool = new NamePool;  // never destroyed: names in static records outlive any order of exit
  return *pool;
}
}  // namespace

ParamName::ParamName(std::string_view text) {
  NamePool& pool = Pool();
  std::lock_guard lock(pool.mutex);
  const auto found = pool.texts.find(text);
  if (found != pool.texts.end()) {
    text_ = found->second.lock();
    if (text_) return;
    pool.texts.erase(found);  // its last record is being dropped on another thread
  }
  text_ = std::shared_ptr<const std::string>(new std::string(text), [](const std::string* dropped) {
    NamePool& pool = Pool();
    {
      std::lock_guard lock(pool.mutex);
      const auto entry = pool.texts.find(*dropped);
      if (entry != pool.texts.end() && entry->first.data() == dropped->data()) pool.texts.erase(entry);
    }
    delete dropped;
  });
  pool.texts.emplace(*text_, text_);
}

size_t ParamNamePoolSize() {
  NamePool& pool = Pool();
  std::lock_guard lock(pool.mutex);
  return pool.texts.size();
}

TScene1ParamInterface SetParam(std::string_view name, uint8_t oscForm, float baseVal, float osc1, float osc2) {
  return {ParamName(name), baseVal, oscForm, osc1, osc2};
}

namespace {
struct DefaultRow {
  const char* name;
  float baseVal;
  uint8_t oscForm;
  float osc1, osc2;
};

// Name, base value, oscillator form, osc1, osc2.
constexpr DefaultRow kDefaults[kParamCount] = {
    {"byte:BG_r", 157, 0, 0, 0},
    {"byte:BG_g", 68, 1, 0.01f, 300},
    {"byte:BG_b", 107, 2, 0.01f, 300},
    {"byte:_ObjectPreset", 1, 0, 0, 0},
    {"sing:_TweakX", 2.928f, 1, 0.0002f, 0.05f},
    {"sing:_TweakY", 1.584f, 0, 0, 0},
    {"sing:_TweakZ", 0.0339f, 0, 0, 0},
    {"bool:ClearTarget", 1, 0, 0, 0},
    {"bool:ZBuffer", 0, 0, 0, 0},
    {"bool:ClearZBuffer", 1, 0, 0, 0},
    {"byte:ObjectTextureNumber", 5, 0, 0, 0},
    {"sing:ObjectRingDistance", 0.5794f, 0, 0, 0},
    {"word:NumberOfRingObjects", 99, 0, 0, 0},
    {"bool:EnableSpecular", 0, 0, 0, 0},
    {"bool:EnableLight", 0, 0, 0, 0},
    {"bool:MainObject", 1, 0, 0, 0},
    {"bool:ReRenderMainObject", 0, 0, 0, 0},
    {"bool:ReRenderRingObjects", 1, 0, 0, 0},
    {"byte:ScrBlend", 4, 0, 0, 0},
    {"byte:DestBlend", 3, 0, 0, 0},
    {"sing:SpriteStrechX", 48.04f, 0, 0, 0},
    {"sing:SpriteStrechY", 20.39f, 0, 0, 0},
    {"sing:SpriteOffsetX", -4.389f, 0, 0, 0},
    {"sing:SpriteOffsetY", 3.383f, 0, 0, 0},
    {"sing:SpriteRotation", 597.8f, 0, 0, 0},
    {"byte:SpriteTextureNumber", 5, 0, 0, 0},
    {"byte:SpriteMovementPreset", 1, 0, 0, 0},
    {"sing:SpriteSpeedFactor", 0.5832f, 0, 0, 0},
    {"byte:SpriteAlpha", 205, 1, 0.002f, 40},
    {"sing:SpriteStrechX2", 25.34f, 0, 0, 0},
    {"sing:SpriteStrechY2", 29.05f, 0, 0, 0},
    {"sing:SpriteOffsetX2", -2.941f, 0, 0, 0},
    {"sing:SpriteOffsetY2", 0.1005f, 0, 0, 0},
    {"sing:SpriteRotation2", 715.4f, 0, 0, 0},
    {"byte:SpriteTextureNumber2", 3, 0, 0, 0},
    {"byte:SpriteMovementPreset2", 3, 0, 0, 0},
    {"sing:SpriteSpeedFactor2", 0.0892f, 0, 0, 0},
    {"byte:SpriteAlpha2", 101, 0, 0, 0},
    {"byte:NumberOfPlanes", 42, 0, 0, 0},
    {"sing:PlaneDist", 7.099f, 0, 0, 0},
    {"byte:PlanesPrimitive", 5, 0, 0, 0},
    {"byte:CameraPreset", 0, 0, 0, 0},
    {"sing:ScreenProportionAdjust", 4, 2, 0.0005f, 4},
    {"word:NumberOfPointSpriteWaves", 36, 0, 0, 0},
    {"byte:PointSpriteTextureNumber", 3, 0, 0, 0},
    {"sing:PointSpriteDist", 9.302f, 0, 0, 0},
    {"sing:PointSpriteSizeTweak", 0.0641f, 0, 0, 0},
    {"byte:R2TEffectPreset", 3, 0, 0, 0},
    {"word:R2TEffectPower", 11, 0, 0, 0},
    {"sing:R2TEffectRotation", 1.57f, 0, 0, 0},
    {"sing:R2TEffectSpeed", 1.754f, 0, 0, 0},
    {"bool:UseR2TEffects", 0, 0, 0, 0},
    {"bool:ReSetViewPort", 1, 0, 0, 0},
    {"byte:R2tTextureSizeTweakFactor", 8, 0, 0, 0},
    {"byte:tci", 4, 0, 0, 0},
    {"byte:ScrBlendPointSprites", 4, 0, 0, 0},
    {"byte:DestBlendPointSprites", 6, 0, 0, 0},
    {"byte:ReRenderSprite2", 0, 0, 0, 0},
    {"byte:RingObjectPreset", 0, 0, 0, 0},
    {"byte:RingObjectPrimitive", 5, 0, 0, 0},
    {"byte:FillMode", 3, 0, 0, 0},
    {"byte:ShadeMode", 2, 0, 0, 0},
    {"byte:BlendOp", 1, 0, 0, 0},
    {"bool:FogEnable", 0, 0, 0, 0},
    {"byte:FogTableMode", 0, 0, 0, 0},
    {"byte:FogVertexMode", 0, 0, 0, 0},
    {"bool:RangeFogEnable", 0, 0, 0, 0},
    {"sing:FogDistanceStart", 0, 0, 0, 0},
    {"sing:FogDistanceEnd", 0, 0, 0, 0},
    {"byte:FogColorR", 0, 0, 0, 0},
    {"byte:FogColorG", 0, 0, 0, 0},
    {"byte:FogColorB", 0, 0, 0, 0},
    {"sing:FogDensity", 1, 0, 0, 0},
    {"sing:PointSpriteWaveTweakX", 0, 0, 0, 0},
    {"sing:PointSpriteWaveTweakY", 0, 0, 0, 0},
    {"sing:PointSpriteWaveTweakZ", 0, 0, 0, 0},
    {"byte:PointSpriteWaveTweakMode", 0, 0, 0, 0},
};
}  // namespace

TScene1ParamIArray InitParamTable() {
  TScene1ParamIArray table{};
  for (int i = 0; i < kParamCount; ++i) {
    const DefaultRow& row = kDefaults[i];
    table[i] = SetParam(row.name, row.oscForm, row.baseVal, row.osc1, row.osc2);
  }
  return table;
}

namespace {
ParamType TypeOfPrefix(std::string_view prefix) {
  if (prefix == "bool") return ParamType::Bool;
  if (prefix == "byte") return ParamType::Byte;
  if (prefix == "word") return ParamType::Word;
  if (prefix == "sing") return ParamType::Sing;
  return ParamType::Other;
}
}  // namespace

ParamType TypeOfName(const ParamName& name) { return TypeOfPrefix(name.Prefix()); }

ParamType EvaluationType(int index) {
  if (index == kReRenderSprite2Index) return ParamType::Bool;
  return TypeOfPrefix(std::string_view(kDefaults[index].name).substr(0, 4));
}

std::string_view ShortName(const ParamName& name) {
  const std::string_view text = name.Text();
  return text.size() > 5 && text[4] == ':' ? text.substr(5) : text;
}
