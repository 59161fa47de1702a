// The renderer's start-up states and whole frames on the null device: fixed states, letterbox,
// the loop's clear and layer order, development mode, and the world, camera and projection matrices.
#include "draw/demo_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "layer_rig.h"
#include "draw/draw_messages.h"
#include "draw/transforms.h"
#include "scene/errors.h"

namespace {

using Calls = std::vector<std::string>;

// The 16 numbers of the last SetTransform(state, [...]) call since the mark.
std::vector<float> LastMatrix(const LayerRig& rig, int state) {
  const Calls calls = rig.Since("SetTransform(" + std::to_string(state) + ", [");
  std::vector<float> m(16, NAN);
  if (!calls.empty())
    std::sscanf(calls.back().c_str() + calls.back().find('[') + 1, "%g %g %g %g %g %g %g %g %g %g %g %g %g %g %g %g",
                &m[0], &m[1], &m[2], &m[3], &m[4], &m[5], &m[6], &m[7], &m[8], &m[9], &m[10], &m[11], &m[12], &m[13],
                &m[14], &m[15]);
  return m;
}

TEST(StartUpStates, FixedStatesMaterialAndLetterboxInOrder) {
  RecordingFixture fixture;
  const size_t mark = fixture.recording->calls.size();
  EXPECT_EQ(InitFrameStates(fixture.state, 8.0f), "");
  const Calls calls(fixture.recording->calls.begin() + std::ptrdiff_t(mark), fixture.recording->calls.end());
  EXPECT_EQ(calls,
            (Calls{"SetRenderState(7, 0)", "SetRenderState(137, 0)", "SetTextureStageState(0, 2, 1)",
                   "SetTextureStageState(0, 3, 2)", "SetTextureStageState(0, 1, 12)", "SetTextureStageState(0, 17, 2)",
                   "SetTextureStageState(0, 16, 2)", "SetRenderState(145, 2)", "SetRenderState(146, 0)",
                   "SetRenderState(147, 2)", "SetRenderState(148, 0)", "SetRenderState(139, 848727170)",
                   "SetRenderState(27, 1)", "SetRenderState(22, 1)", "Clear(0, 3, 0xFF000000, 1, 0)",
                   "SetMaterial((1, 1, 1, 1), (1, 0.8, 0.6, 0.6), (1, 1, 1, 0.3), (1, 0.4, 0.4, 0.4), 2)",
                   "SetViewport(0, 60, 640, 360, 0, 1)", "CreateTexture(1, 1, 0, 1, 22, 0) -> tex1"}));
  EXPECT_EQ(fixture.state.FullHeight, 480);
  EXPECT_EQ(fixture.state.ViewHeight, 360);
  EXPECT_EQ(fixture.state.R2tMaxSize, 512);
}

TEST(StartUpStates, BarHeightsOfTheExamplesAndOfBadRatios) {
  EXPECT_EQ(CinemaBarHeightFor(480, 8.0f), 60);
  EXPECT_EQ(CinemaBarHeightFor(480, 10.0f), 48);
  EXPECT_EQ(CinemaBarHeightFor(240, 3.0f), 80);
  EXPECT_EQ(CinemaBarHeightFor(480, 2.35f), 204);
  EXPECT_EQ(CinemaBarHeightFor(480, 1.0f), 240);  // never more than half: the drawing area is empty
  EXPECT_EQ(CinemaBarHeightFor(480, 0.0f), 0);
  EXPECT_EQ(CinemaBarHeightFor(480, NAN), 0);
}

// The sink of frames whose every layer draws.
const LayerErrorSink kNoLayerFault = [](const std::string& text) { ADD_FAILURE() << text; };

SceneSequence TwoEntries() {
  SceneSequence sequence;
  sequence.DemoLength = 20000;
  sequence.ScreenCinemaWidthRatio = 8;
  TSceneSeqEntry first;
  first.StartTime = 0, first.EndTime = 10000;
  TSceneSeqEntry second;
  second.StartTime = 6000, second.EndTime = 20000, second.TimeFactor = 2, second.TimeOffset = 100;
  sequence.SequenceEntries = {first, second};
  return sequence;
}

TEST(DemoFrame, ClearsOnceThenDrawsTheVisibleEntriesInFileOrderAndPresents) {
  LayerRig rig;
  SceneState scene;
  const SceneSequence sequence = TwoEntries();
  uint32_t fxTimeMs = 0;
  DrawDemoFrame(rig.state, scene, sequence, 8000, false, 640, 480, fxTimeMs, kNoLayerFault);
  const Calls calls = rig.Since();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(Calls(calls.begin(), calls.begin() + 3),
            (Calls{"SetRenderState(19, 0)", "SetRenderState(20, 0)", "Clear(0, 3, 0xFF000000, 1, 0)"}));
  EXPECT_EQ(calls.back(), "Present()");
  EXPECT_EQ(rig.Since("BeginScene").size(), 2u);
  EXPECT_EQ(fxTimeMs, 16100u);  // the last entry's effect time

  rig.Mark();
  DrawDemoFrame(rig.state, scene, sequence, 12000, false, 640, 480, fxTimeMs, kNoLayerFault);
  EXPECT_EQ(rig.Since("BeginScene").size(), 1u);
  rig.Mark();
  DrawDemoFrame(rig.state, scene, sequence, 25000, false, 640, 480, fxTimeMs, kNoLayerFault);
  EXPECT_EQ(rig.Since("BeginScene").size(), 0u);  // between windows: a black frame
  EXPECT_EQ(rig.Since("Present").size(), 1u);
}

TEST(DemoFrame, ALayerThatFailsToEvaluateIsSkippedAndReported) {
  LayerRig rig;
  SceneState scene;
  scene.ScenePresets = {InitParamTable(), InitParamTable()};
  scene.ScenePresets[1][0].BaseVal = 300;  // BG_r beyond a byte
  scene.PresetCount = 2;
  SceneSequence sequence = TwoEntries();
  sequence.SequenceEntries[0].PresetNumber = 1;
  std::vector<std::string> errors;
  uint32_t fxTimeMs = 0;
  DrawDemoFrame(rig.state, scene, sequence, 8000, false, 640, 480, fxTimeMs,
                [&](const std::string& text) { errors.push_back(text); });
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("byte:BG_r"), std::string::npos);
  EXPECT_EQ(rig.Since("BeginScene").size(), 1u);  // the second layer is still drawn
  EXPECT_EQ(rig.Since().back(), "Present()");
}

TEST(DemoFrame, AGeometryThatCannotBeRebuiltIsReportedAndTheLayerStillDrawn) {
  LayerRig rig;
  rig.recording->options.failingCalls["Lock"] = 0;  // every buffer lock fails from now on
  SceneState scene;
  scene.PresetCount = 1;
  std::vector<std::string> errors;
  uint32_t fxTimeMs = 0;
  DrawDemoFrame(rig.state, scene, TwoEntries(), 8000, false, 640, 480, fxTimeMs,
                [&](const std::string& text) { errors.push_back(text); });
  ASSERT_FALSE(errors.empty()) << "the default set's oscillating tweak asks for a new geometry";
  EXPECT_EQ(errors[0], std::string("preset 0: ") + kGeometryInitPrefix + kLockMainBufferFailedText);
  EXPECT_EQ(rig.Since("BeginScene").size(), 2u) << "both layers are drawn with the buffers there are";
}

TEST(DemoFrame, DevelopmentModeDrawsTheLiveSetOnceAtHalfTime) {
  LayerRig rig;
  SceneState scene;
  scene.LiveParams[0].BaseVal = 17;  // BG_r
  uint32_t fxTimeMs = 0;
  DrawDemoFrame(rig.state, scene, TwoEntries(), 30000, true, 640, 480, fxTimeMs, kNoLayerFault);
  EXPECT_EQ(fxTimeMs, 15000u);
  EXPECT_EQ(rig.Since("BeginScene").size(), 0u);  // 30000 lies beyond DemoLength 20000
  rig.Mark();
  DrawDemoFrame(rig.state, scene, TwoEntries(), 4000, true, 640, 480, fxTimeMs, kNoLayerFault);
  EXPECT_EQ(rig.Since("BeginScene").size(), 1u);
  EXPECT_EQ(rig.Since("Clear(0, 3, 0xFF11").size(), 1u);
}

TEST(Transforms, WorldScalesThenMovesThenTurnsZXY) {
  LayerRig rig;
  const float quarter = 1.5707964f;
  // Scaled by (2, 3, 4), moved by (1, 2, 3), a quarter turn about Z, X and Y: x stays x (Z takes it to y,
  // X to z, Y back to x), y goes to z, z to -y; the move (1, 2, 3) becomes (1, -3, 2).
  SetWorldMatrix(rig.state.device, 2, 3, 4, 1, 2, 3, quarter, quarter, quarter);
  const std::vector<float> world = {2, 0, 0, 0, 0, 0, 3, 0, 0, -4, 0, 0, 1, -3, 2, 1};
  const std::vector<float> m = LastMatrix(rig, 256);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], world[i], 1e-5) << "entry " << i;
}

TEST(Transforms, CameraPresetsAboveFiveAreFiveAndAspectTakesTheAdjustment) {
  LayerRig rig;
  SetupCamera(rig.state.device, 9, 1234, 0.5f, 640.0f / 480);
  const std::vector<float> view9 = LastMatrix(rig, 2), projection9 = LastMatrix(rig, 3);
  rig.Mark();
  SetupCamera(rig.state.device, 5, 1234, 0.5f, 640.0f / 480);
  EXPECT_EQ(LastMatrix(rig, 2), view9);
  EXPECT_EQ(LastMatrix(rig, 3), projection9);
  // yScale = cot(π/8) = 2.41421; xScale = yScale / (4/3 + 0.5).
  EXPECT_NEAR(projection9[5], 2.41421f, 1e-4);
  EXPECT_NEAR(projection9[0], 2.41421f / (4.0f / 3 + 0.5f), 1e-4);
  // Preset 4 looks from (0, 0.8, 0): the view moves that point to the origin.
  rig.Mark();
  SetupCamera(rig.state.device, 4, 0, 0, 1);
  const std::vector<float> v = LastMatrix(rig, 2);
  for (int column = 0; column < 3; ++column) EXPECT_NEAR(0.8f * v[4 + column] + v[12 + column], 0, 1e-5);
  // near 0.01, far 100: depth 0 at the near plane.
  const std::vector<float> p = LastMatrix(rig, 3);
  EXPECT_NEAR(0.01f * p[10] + p[14], 0, 1e-6);
}

TEST(Transforms, CameraPresetLooksDownFromAboveWithItsWholeViewAndProjection) {
  LayerRig rig;
  // Preset 2 at 0 ms: from (0, 1, 0) down to (0, 0.3, 0), up leaning to +z: the view's x is the world's x,
  // its y the world's z, its z the world's -y; near 1.5, far 100, a square output.
  SetupCamera(rig.state.device, 2, 0, 0, 1);
  const std::vector<float> view = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
  const float cotEighth = 2.4142135f, depth = 100 / 98.5f;
  const std::vector<float> projection = {cotEighth, 0,     0, 0, 0, cotEighth,     0, 0, 0,
                                         0,         depth, 1, 0, 0, -1.5f * depth, 0};
  const std::vector<float> v = LastMatrix(rig, 2), p = LastMatrix(rig, 3);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(v[i], view[i], 1e-5) << "view entry " << i;
    EXPECT_NEAR(p[i], projection[i], 1e-4) << "projection entry " << i;
  }
}

}  // namespace
