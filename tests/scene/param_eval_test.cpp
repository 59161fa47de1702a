#include "scene/param_eval.h"

#include <cmath>

#include <gtest/gtest.h>

#include "scene/errors.h"
#include "scene/scene_update.h"

namespace {
TScene1ParamInterface Param(const char* name, uint8_t form, float base, float osc1 = 0, float osc2 = 0) {
  return SetParam(name, form, base, osc1, osc2);
}
}  // namespace

TEST(ParamTable, HoldsTheDefaults) {
  const TScene1ParamIArray table = InitParamTable();
  EXPECT_EQ(table[1].Name.Text(), "byte:BG_g");
  EXPECT_EQ(table[1].BaseVal, 68.0f);
  EXPECT_EQ(table[1].OscForm, 1);
  EXPECT_EQ(table[1].Osc1, 0.01f);
  EXPECT_EQ(table[1].Osc2, 300.0f);
  EXPECT_EQ(table[76].Name.Text(), "byte:PointSpriteWaveTweakMode");
  EXPECT_EQ(table[4].BaseVal, 2.928f);
  EXPECT_EQ(table[22].BaseVal, -4.389f);
  int counts[5] = {};
  for (const TScene1ParamInterface& param : table) {
    EXPECT_FALSE(param.Name.Text().empty());
    ++counts[static_cast<int>(TypeOfName(param.Name))];
  }
  EXPECT_EQ(counts[static_cast<int>(ParamType::Bool)], 12);
  EXPECT_EQ(counts[static_cast<int>(ParamType::Byte)], 34);
  EXPECT_EQ(counts[static_cast<int>(ParamType::Word)], 3);
  EXPECT_EQ(counts[static_cast<int>(ParamType::Sing)], 28);
  EXPECT_EQ(ShortName(table[4].Name), "_TweakX");
}

TEST(OscValue, AddsEachFormToTheBase) {
  const uint32_t t = 1000;
  const double s = std::sin(1.0), c = std::cos(1.0);
  EXPECT_DOUBLE_EQ(OscValue(Param("sing:x", 0, 2, 0.001f, 3), t), 2);
  EXPECT_NEAR(OscValue(Param("sing:x", 1, 2, 0.001f, 3), t), 2 + 3 * s, 1e-6);
  EXPECT_NEAR(OscValue(Param("sing:x", 2, 2, 0.001f, 3), t), 2 + 3 * c, 1e-6);
  EXPECT_NEAR(OscValue(Param("sing:x", 3, 2, 0.001f, -3), t), 2 + 3 * s, 1e-6);
  EXPECT_NEAR(OscValue(Param("sing:x", 4, 2, 0.001f, -3), t), 2 + 3 * c, 1e-6);
  EXPECT_NEAR(OscValue(Param("sing:x", 5, 2, 0.001f, 3), t), 2 + 1.5 + 1.5 * s, 1e-6);
  EXPECT_NEAR(OscValue(Param("sing:x", 6, 2, 0.001f, 3), t), 2 + 1.5 + 1.5 * c, 1e-6);
  EXPECT_DOUBLE_EQ(OscValue(Param("sing:x", 7, 2, 0.001f, 3), t), 2);
}

TEST(EvalByte, RoundsHalvesToEvenAndClampsOscillation) {
  EXPECT_EQ(EvalByte(Param("byte:x", 0, 157.5f), 0), 158);
  EXPECT_EQ(EvalByte(Param("byte:x", 0, 156.5f), 0), 156);
  EXPECT_EQ(EvalByte(Param("byte:x", 0, -3), 0), 3);
  const TScene1ParamInterface bgG = InitParamTable()[1];
  EXPECT_EQ(EvalByte(bgG, 0), 68);
  EXPECT_EQ(EvalByte(bgG, 157), 255);  // 68 + 300 sin(1.57) = 367.99
  EXPECT_EQ(EvalByte(Param("byte:x", 1, 68, 0, 300), 123456), 68);
  EXPECT_EQ(EvalByte(Param("byte:x", 1, -100, 0.001f, 1), 0), 0);   // sign kept in the oscillator sum
  EXPECT_EQ(EvalByte(Param("byte:x", 5, 255, 0.001f, 1), 0), 255);  // 255.5 rounds to 256
}

TEST(EvalByte, RaisesRangeErrorsForStaticValuesEvenWhenOscillating) {
  EXPECT_THROW(EvalByte(Param("byte:x", 0, 256), 0), RangeError);
  EXPECT_THROW(EvalByte(Param("byte:x", 2, 300, 0.01f, -200), 0), RangeError);
  EXPECT_THROW(EvalByte(Param("byte:x", 1, 0, 1, 3e9f), 1), RangeError);  // beyond 32 bits
  try {
    EvalByte(Param("byte:BG_r", 0, 300), 0);
    ADD_FAILURE() << "no range error";
  } catch (const RangeError& error) {
    EXPECT_STREQ(error.what(), "byte:BG_r: base value rounds to 300, outside the range 0..255");
  }
}

TEST(EvalWord, ClampsTo16Bits) {
  EXPECT_EQ(EvalWord(Param("word:x", 0, 65535), 0), 65535);
  EXPECT_THROW(EvalWord(Param("word:x", 0, 65536), 0), RangeError);
  EXPECT_EQ(EvalWord(Param("word:x", 1, 65000, 0.001f, 5000), 1571), 65535);
}

TEST(EvalBool, StaticKeepsLowByteOscillatingIsZeroOrOne) {
  EXPECT_EQ(EvalBool(Param("bool:x", 0, 2), 0), 2);
  EXPECT_EQ(EvalBool(Param("bool:x", 0, 256), 0), 0);
  EXPECT_EQ(EvalBool(Param("bool:x", 0, 0.4f), 0), 0);
  const TScene1ParamInterface wave = Param("bool:x", 1, 0.4f, 0.001f, 1);
  for (uint32_t t = 0; t < 7000; t += 37) EXPECT_EQ(EvalBool(wave, t), std::sin(t * 0.001) + 0.4 >= 0.5 ? 1 : 0) << t;
}

TEST(EvalSing, OscillatesWithoutRounding) {
  const TScene1ParamInterface p = Param("sing:x", 5, 1, 0.003f, 4);
  for (uint32_t t = 0; t < 5000; t += 11) {
    EXPECT_GE(EvalSing(p, t), 1.0f);
    EXPECT_LE(EvalSing(p, t), 5.0f);
  }
  EXPECT_EQ(EvalSing(Param("sing:x", 0, 2.928f), 99), 2.928f);
  EXPECT_TRUE(std::isinf(EvalSing(Param("sing:x", 1, 3e38f, 0.001f, 3e38f), 1571)));
}

TEST(UpdateSceneParams, CopiesTheChosenPresetInNormalPlay) {
  SceneState scene;
  scene.ScenePresets.assign(2, InitParamTable());
  scene.ScenePresets[1][0].BaseVal = 11;
  scene.ScenePresets[0][0].BaseVal = 22;
  scene.PresetCount = 2;
  TFrameParamBlock block = UpdateSceneParams(scene, 1, 100, 200, 157, false);
  EXPECT_EQ(block.BG_r, 11);
  EXPECT_EQ(block.BG_g, 255);
  EXPECT_EQ(block.StartTime, 100u);
  EXPECT_EQ(block.EndTime, 200u);
  EXPECT_EQ(block.FxTime, 157);
  EXPECT_EQ(scene.LiveParams[0].BaseVal, 11);
  block = UpdateSceneParams(scene, 2, 0, 0, 0, false);  // not loaded: preset 0
  EXPECT_EQ(block.BG_r, 22);
}

TEST(UpdateSceneParams, EvaluatesTheLiveSetInDevelopmentModeOrWithoutPresets) {
  SceneState scene;
  scene.LiveParams[12].BaseVal = 7;  // ring count, whatever the entry is called
  scene.LiveParams[12].Name = ParamName("word:Renamed");
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 0, 0, false).NumberOfRingObjects, 7);
  scene.ScenePresets.assign(1, InitParamTable());
  scene.PresetCount = 1;
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 0, 0, true).NumberOfRingObjects, 7);
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 0, 0, false).NumberOfRingObjects, 99);
}

TEST(UpdateSceneParams, FillsEveryFieldFromItsEntry) {
  // Give every entry a distinct static value and find each one in its own field.
  SceneState scene;
  for (int i = 0; i < kParamCount; ++i)
    scene.LiveParams[i] = SetParam(scene.LiveParams[i].Name.Text(), 0, i == 57 ? 1 : i, 0, 0);
  const TFrameParamBlock block = UpdateSceneParams(scene, 0, 0, 0, 0, true);
  for (int i = 0; i < kParamCount; ++i) EXPECT_EQ(BlockFieldValue(block, i), i == 57 ? 1 : i) << i;
  scene.LiveParams[57] = SetParam("byte:ReRenderSprite2", 1, 200, 0, 0);  // evaluated as a bool
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 0, 0, true).ReRenderSprite2, 1);
}
