// One scene layer on the null device: which calls it makes in which order, what it clears, how
// many planes, waves and rings it draws, the restore steps, the render-to-texture path, and the states it
// leaves for the next layer.
#include "draw/frame_render.h"

#include <gtest/gtest.h>

#include <bit>

#include "layer_rig.h"
#include "draw/draw_messages.h"

namespace {

// Each prefix must match a call, in this order (other calls may lie between).
void ExpectInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& prefixes) {
  size_t at = 0;
  for (const std::string& prefix : prefixes) {
    while (at < calls.size() && calls[at].compare(0, prefix.size(), prefix) != 0) ++at;
    ASSERT_LT(at, calls.size()) << "missing, or out of order: " << prefix;
    ++at;
  }
}

std::string State(int state, uint32_t value) {
  return "SetRenderState(" + std::to_string(state) + ", " + std::to_string(value) + ")";
}
std::string FloatState(int state, float value) { return State(state, std::bit_cast<uint32_t>(value)); }

constexpr uint32_t kDemoTime = 5000;

TEST(LayerOrder, DrawsOnlyInsideItsWindowEndInclusive) {
  LayerRig rig;
  TFrameParamBlock block = DefaultBlock(0);
  block.StartTime = 1000;
  block.EndTime = 2000;
  EXPECT_EQ(RenderFrame(rig.state, block, 999, 640, 480), "");
  EXPECT_EQ(RenderFrame(rig.state, block, 2001, 640, 480), "");
  EXPECT_TRUE(rig.Since().empty());
  EXPECT_EQ(RenderFrame(rig.state, block, 2000, 640, 480), "");
  EXPECT_EQ(rig.Since("BeginScene").size(), 1u);
  EXPECT_EQ(rig.Since("EndScene").size(), 1u);
}

TEST(LayerOrder, DefaultLayerRunsItsStepsInOrder) {
  LayerRig rig;
  const TFrameParamBlock b = DefaultBlock(0);  // BG (157, 68, 255) at t = 0; no render-to-texture
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  const auto calls = rig.Since();
  ExpectInOrder(calls, {State(28, 0),
                        State(7, 0),
                        State(29, 0),
                        State(137, 0),
                        State(8, 3),
                        State(9, 2),
                        State(171, 1),
                        State(19, 4),
                        State(20, 3),
                        "CreateVertexBuffer(10040",
                        "Clear(0, 3, 0xFF9D44FF, 1, 0)",
                        "BeginScene",
                        "SetStreamSource(0, vb3, 40)",
                        "SetVertexShader(0x000001D2)",
                        "SetTransform(2,",
                        "SetTransform(3,",
                        "SetLight(0, 3,",
                        "sprite1.Begin",
                        "sprite1.Draw(tex1",
                        "sprite1.End",
                        "SetTransform(256",
                        "DrawPrimitive(5, 0, 249)",
                        "SetTexture(0, tex1)",
                        "DrawPrimitive(5, 0, 249)",
                        "SetTexture(0, null)",
                        State(14, 0),
                        State(156, 1),
                        State(157, 1),
                        FloatState(155, 0),
                        FloatState(154, float(0.9 * double(b.PointSpriteSizeTweak))),
                        State(19, 4),
                        State(20, 6),
                        "SetStreamSource(0, vb4, 24)",
                        "SetVertexShader(0x00000142)",
                        "SetTexture(0, tex1)",
                        "DrawPrimitive(1, 0, 249)",
                        State(156, 0),
                        State(157, 0),
                        State(7, 0),
                        "SetStreamSource(0, vb3, 40)",
                        "SetVertexShader(0x000001D2)",
                        State(19, 4),
                        State(20, 3),
                        "SetTexture(0, null)",
                        "DrawPrimitive(5, 0, 62)",
                        "sprite1.Draw",
                        "sprite1.Draw",
                        "EndScene"});
  EXPECT_EQ(rig.Count("DrawPrimitive(5, 0, 249)"), 42u + 1u);  // planes and the main object
  EXPECT_EQ(rig.Count("DrawPrimitive(1, 0, 249)"), 36u);       // point-sprite waves
  EXPECT_EQ(rig.Count("DrawPrimitive(5, 0, 62)"), 99u);        // rings
  EXPECT_EQ(rig.Since("sprite1.Draw").size(), 3u);             // layer 1 once, layer 2 twice
  EXPECT_EQ(rig.Since("SetRenderTarget").size(), 0u);
  EXPECT_EQ(calls.back(), "EndScene()");
}

TEST(LayerOrder, ClearFlagsFollowTheTwoClearSwitchesAndTheViewportReset) {
  const struct {
    uint8_t target, zbuffer, resetViewport;
    std::vector<std::string> clears;
  } cases[] = {
      {0, 0, 0, {"Clear(0, 0, "}},
      {1, 0, 0, {"Clear(0, 1, "}},
      {0, 1, 0, {"Clear(0, 2, "}},
      {1, 1, 1, {"Clear(0, 1, 0xFF000000", "Clear(0, 3, "}},
  };
  for (const auto& c : cases) {
    LayerRig rig;
    TFrameParamBlock b = DefaultBlock(0);
    b.ClearTarget = c.target;
    b.ClearZBuffer = c.zbuffer;
    b.ReSetViewPort = c.resetViewport;
    EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
    const auto clears = rig.Since("Clear(");
    ASSERT_EQ(clears.size(), c.clears.size());
    for (size_t i = 0; i < clears.size(); ++i) EXPECT_EQ(clears[i].rfind(c.clears[i], 0), 0u) << clears[i];
  }
}

TEST(LayerOrder, PrimitiveCountsStayWithinTheCurveAndUnknownTypesDrawNothing) {
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_POINTLIST, 249), 249u);
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_LINELIST, 249), 125u);
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_LINESTRIP, 249), 249u);
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_TRIANGLELIST, 249), 83u);
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_TRIANGLEFAN, 249), 249u);
  EXPECT_EQ(CurvePrimitiveCount(D3DPT_TRIANGLELIST, 62), 62u);
  EXPECT_EQ(CurvePrimitiveCount(0, 62), 0u);
  EXPECT_EQ(CurvePrimitiveCount(7, 62), 0u);

  LayerRig rig;
  TFrameParamBlock b = DefaultBlock(0);
  b.NumberOfPlanes = 3;
  b.PlanesPrimitive = 4;
  b.RingObjectPrimitive = 9;
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  EXPECT_EQ(rig.Count("DrawPrimitive(4, 0, 83)"), 3u);
  EXPECT_EQ(rig.Since("DrawPrimitive(9").size(), 0u);
  EXPECT_EQ(rig.Since("SetTransform(256").size(), 3u + 1 + 36 + 99);  // rings still get their world

  LayerRig zero;
  b.NumberOfPlanes = 0;
  b.NumberOfPointSpriteWaves = 0;
  b.NumberOfRingObjects = 0;
  EXPECT_EQ(RenderFrame(zero.state, b, kDemoTime, 640, 480), "");
  EXPECT_EQ(zero.Since("DrawPrimitive").size(), 1u);  // the main object alone
}

TEST(LayerOrder, WithoutMainObjectRingsSpritesAndEffectStillRun) {
  LayerRig rig;
  TFrameParamBlock b = DefaultBlock(0);
  b.MainObject = 0;
  b.UseR2TEffects = 1;
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  EXPECT_EQ(rig.Since("DrawPrimitive(5, 0, 249)").size(), 0u);
  EXPECT_EQ(rig.Since("DrawPrimitive(1,").size(), 0u);
  EXPECT_EQ(rig.Count("DrawPrimitive(5, 0, 62)"), 2u * 99);  // first pass and re-draw
  EXPECT_EQ(rig.Since(State(14, 0)).size(), 0u);
}

TEST(LayerOrder, FogSubStatesAreWrittenOnlyWithFogOn) {
  LayerRig rig;
  TFrameParamBlock b = DefaultBlock(0);
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  EXPECT_EQ(rig.Since("SetRenderState(3").size() + rig.Since("SetRenderState(48,").size(), 0u);

  rig.Mark();
  b.FogEnable = 1;
  b.FogTableMode = 3;
  b.FogVertexMode = 0;
  b.RangeFogEnable = 1;
  b.FogDistanceStart = 1.5f;
  b.FogDistanceEnd = 20.0f;
  b.FogColorR = 0x12, b.FogColorG = 0x34, b.FogColorB = 0x56;
  b.FogDensity = 0.25f;
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  const auto calls = rig.Since();
  ASSERT_GE(calls.size(), 8u);
  const std::vector<std::string> fog(calls.begin(), calls.begin() + 8);
  EXPECT_EQ(fog,
            (std::vector<std::string>{State(28, 1), State(35, 3), State(140, 0), State(48, 1), FloatState(36, 1.5f),
                                      FloatState(37, 20.0f), State(34, 0xFF123456), FloatState(38, 0.25f)}));
}

TEST(LayerOrder, RenderToTextureSwitchesTargetsAndReDrawsOnTheBackBuffer) {
  LayerRig rig;
  TFrameParamBlock b = DefaultBlock(0);
  b.UseR2TEffects = 1;
  b.ReSetViewPort = 1;
  b.R2tTextureSizeTweakFactor = 7;  // 128 × 64
  b.tci = 3;
  b.R2TEffectPreset = 3;
  b.ReRenderRingObjects = 1;
  b.ReRenderMainObject = 1;
  b.ReRenderSprite2 = 1;
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  const auto calls = rig.Since();
  ExpectInOrder(calls, {"CreateTexture(128, 64, 0, 1,",
                        "GetRenderTarget() -> backbuffer",
                        "GetSurfaceLevel(tex5, 0)",
                        "SetRenderTarget(tex5.level0, null)",
                        "Clear(0, 1, 0xFF000000",
                        "Clear(0, 3,",
                        "BeginScene",
                        "DrawPrimitive(5, 0, 62)",
                        "sprite1.Draw(tex1",
                        "SetRenderTarget(backbuffer, null)",
                        "Clear(0, 1, 0xFF000000",
                        "SetViewport(0, 60, 640, 360, 0, 1)",
                        "SetTextureStageState(0, 11, 131072)",
                        "sprite1.Draw(tex5",
                        "DrawPrimitive(5, 0, 62)",
                        "SetTexture(0, tex5)",
                        "DrawPrimitive(5, 0, 249)",
                        "SetTexture(0, null)",
                        "sprite1.Draw(tex1",
                        "EndScene"});
  EXPECT_EQ(rig.Since("sprite1.Draw(tex5").size(), 5u);  // zooming echoes
  EXPECT_EQ(rig.Count("DrawPrimitive(5, 0, 62)"), 2u * 99);
  EXPECT_EQ(rig.Since("sprite1.Draw(tex1").size(), 1u + 2 + 2);  // layer 1, layer 2 and its re-draw
}

TEST(LayerOrder, TexCoordSourceIsClampedToItsFourMappings) {
  const std::pair<uint8_t, uint32_t> cases[] = {{0, 0}, {1, 0}, {2, 0x10000}, {3, 0x20000}, {4, 0x30000}, {7, 0x30000}};
  for (const auto& [tci, index] : cases) {
    LayerRig rig;
    TFrameParamBlock b = DefaultBlock(0);
    b.UseR2TEffects = 1;
    b.tci = tci;
    EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
    EXPECT_EQ(rig.Since("SetTextureStageState(0, 11, "),
              std::vector<std::string>{"SetTextureStageState(0, 11, " + std::to_string(index) + ")"});
  }
}

TEST(LayerOrder, LeavesDepthWritesTexCoordsAndWorldForTheNextLayer) {
  LayerRig rig;
  TFrameParamBlock first = DefaultBlock(0);
  first.UseR2TEffects = 1;
  first.ReSetViewPort = 0;
  first.NumberOfPointSpriteWaves = 2;
  EXPECT_EQ(RenderFrame(rig.state, first, kDemoTime, 640, 480), "");
  // Without the viewport reset the effect is drawn on the whole back buffer and the viewport stays so.
  EXPECT_EQ(rig.Since("SetViewport").size(), 0u);

  rig.Mark();
  TFrameParamBlock second = DefaultBlock(0);
  second.MainObject = 0;
  second.RingObjectPreset = 7;  // rings lie on the world left by the last draw
  second.NumberOfRingObjects = 3;
  EXPECT_EQ(RenderFrame(rig.state, second, kDemoTime, 640, 480), "");
  EXPECT_EQ(rig.Since("SetRenderState(14,").size(), 0u);    // depth writes stay off
  EXPECT_EQ(rig.Since("SetTextureStageState").size(), 0u);  // tci mapping stays
  EXPECT_EQ(rig.Since("SetTransform(256").size(), 0u);      // world stays
  EXPECT_EQ(rig.Count("DrawPrimitive(5, 0, 62)"), 3u);
}

TEST(LayerOrder, TextureNumbersBeyondTheTableDrawTextureZeroAndFailuresAreReported) {
  LayerRig rig;
  rig.recording->options.failingCalls["SetTexture"] = 0;
  TFrameParamBlock b = DefaultBlock(0);
  b.ObjectTextureNumber = 2;
  b.PointSpriteTextureNumber = 3;
  EXPECT_EQ(RenderFrame(rig.state, b, kDemoTime, 640, 480), "");
  ExpectInOrder(rig.Since(), {"SetTexture(0, tex3)", "DrawPrimitive(5, 0, 249)", "SetTexture(0, tex1)",
                              "DrawPrimitive(1, 0, 249)", "EndScene"});
  EXPECT_EQ(rig.fatalErrors, (std::vector<std::string>{kTextureDrawFailedText, kTextureDrawFailedText}));
}

}  // namespace
