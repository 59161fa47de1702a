// Fast-forward, then drawing for real from the clear horizon, gives every frame exactly as drawing
// every frame from the start does: twenty moments across the shipped demo's sections, and twenty in
// each of a few random folders (randomizer presets in overlapping entries, with render-to-texture
// layers and layers that keep pixels). Pictures at 320 × 240 (the random ones at 160 × 120), compared
// byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "cli/console_load.h"
#include "draw/offscreen_demo.h"
#include "gpu/device_extras.h"
#include "gpu/gl_direct3d.h"
#include "scene/shared_random.h"
#include "support/demo_folder.h"
#include "support/temp_dir.h"
#include "tweak/randomizer.h"
#include "support/fail_on_fatal.h"

namespace {

constexpr uint32_t kWidthPx = 320, kHeightPx = 240;

IDirect3D8* NewDirect3D() { return Direct3DCreate8(D3D_SDK_VERSION); }

// Twenty frames spread over 0..last, the first and last ones among them.
std::set<uint64_t> Moments(uint64_t last) {
  std::set<uint64_t> moments;
  for (uint64_t k = 0; k < 20; ++k) moments.insert(k * last / 19);
  return moments;
}

// Every frame up to the last moment drawn for real, the pictures of the moments kept.
std::map<uint64_t, RgbaImage> DrawnEveryFrame(const OffscreenStart& start, SceneState& scene,
                                              const SceneSequence& sequence, const FrameTimes& times,
                                              const std::set<uint64_t>& moments) {
  std::map<uint64_t, RgbaImage> pictures;
  RenderState state;
  FailOnFatalError(state);
  EXPECT_EQ(StartOffscreenRenderer(state, start.direct3d(), start.dataDir, start.screenCinemaWidthRatio, start.widthPx,
                                   start.heightPx),
            "");
  const LayerErrorSink skip = [](const std::string&) {};
  for (uint64_t n = 0; n <= *moments.rbegin(); ++n) {
    DrawOffscreenFrame(state, scene, sequence, times(n), false, skip);
    if (moments.count(n) != 0) {
      EXPECT_TRUE(ExtrasOf(state.device)->ReadBackBuffer(pictures[n]));
    }
  }
  ReleaseRenderObjects(state);
  return pictures;
}

// How many moments came out different; each is named.
int FastForwardedDiffer(const OffscreenStart& start, SceneState& scene, const SceneSequence& sequence,
                        const FrameTimes& times, const std::set<uint64_t>& moments) {
  const std::map<uint64_t, RgbaImage> expected = DrawnEveryFrame(start, scene, sequence, times, moments);
  int differing = 0;
  for (uint64_t n : moments) {
    RenderState state;
    FailOnFatalError(state);
    EXPECT_EQ(DrawFrameAfterFastForward(state, start, scene, sequence, times, n, false, [](const std::string&) {}), "");
    RgbaImage picture;
    EXPECT_TRUE(ExtrasOf(state.device)->ReadBackBuffer(picture));
    ReleaseRenderObjects(state);
    const bool same = picture.rgba == expected.at(n).rgba;
    EXPECT_TRUE(same) << "frame " << n << " at " << times(n) << " ms";
    differing += !same;
  }
  return differing;
}

TEST(FastForward, ShippedDemoFramesAreThoseOfDrawingEveryFrame) {
  LoadedDemo demo;
  ASSERT_TRUE(LoadDataFolder(QUARNEL_SOURCE_DIR "/data", demo));
  constexpr uint32_t kFps = 10;
  const FrameTimes times = [](uint64_t n) { return FixedStepFrameTimeMs(n, {kFps, 1}); };
  const OffscreenStart start{NewDirect3D, QUARNEL_SOURCE_DIR "/data", demo.sequence.ScreenCinemaWidthRatio, kWidthPx,
                             kHeightPx};
  EXPECT_EQ(FastForwardedDiffer(start, demo.scene, demo.sequence, times,
                                Moments(uint64_t(demo.sequence.DemoLength) * kFps / 1000)),
            0);
}

// The horizon is no further back than it must be: before its fade-out every frame of the shipped demo
// clears all it reads, so a frame drawn for real after fast-forwarding is exact at once; the fade-out
// from 88 s draws over what the frames since then left (its clears fail without a depth buffer), so a
// frame there goes back to the last frame before it, which cleared everything.
TEST(FastForward, ShippedDemoReplaysOnlyTheFadeOut) {
  LoadedDemo demo;
  ASSERT_TRUE(LoadDataFolder(QUARNEL_SOURCE_DIR "/data", demo));
  constexpr uint32_t kFps = 10;
  const auto latestStart = [&](uint64_t frame) {
    RenderState state;
    FailOnFatalError(state);
    EXPECT_EQ(StartOffscreenRenderer(state, NewDirect3D(), QUARNEL_SOURCE_DIR "/data",
                                     demo.sequence.ScreenCinemaWidthRatio, kWidthPx / 4, kHeightPx / 4),
              "");
    DeviceExtras* extras = ExtrasOf(state.device);
    extras->SetFastForward(true);
    const LayerErrorSink skip = [](const std::string&) {};
    for (uint64_t n = 0; n <= frame; ++n) {
      if (n == frame) extras->SetFastForward(false);
      DrawOffscreenFrame(state, demo.scene, demo.sequence, FixedStepFrameTimeMs(n, {kFps, 1}), false, skip);
    }
    const uint64_t start = extras->LatestRealStart();
    ReleaseRenderObjects(state);
    return start;
  };
  for (uint64_t frame : {100u, 300u, 500u, 700u, 879u}) EXPECT_EQ(latestStart(frame), frame);
  EXPECT_EQ(latestStart(920), 879u) << "87.9 s: the last frame of the tiles, which clears everything";
}

// A preset as "rand" rolls it over the defaults, with the render-to-texture layer and the clears
// chosen here, so that every folder has layers that keep pixels and screen effects.
TScene1ParamIArray RandomPreset(uint64_t seed, bool renderToTexture, bool clearTarget) {
  SceneState scene;
  TweakHost host;
  host.scene = &scene;
  TweakForm form(host);
  form.controls.Possibility.position = 60;
  SeedRandom(seed);
  RandomizeClick(form);
  TScene1ParamIArray preset = scene.LiveParams;
  SetParamValue(preset, "UseR2TEffects", renderToTexture);
  SetParamValue(preset, "ClearTarget", clearTarget);
  SetParamValue(preset, "ClearZBuffer", 0);
  return preset;
}

TEST(FastForward, RandomFolderFramesAreThoseOfDrawingEveryFrame) {
  const TempDir data;
  const std::string dataDir = data.Path();
  WriteRingAndWhiteTextures(dataDir);
  constexpr uint32_t kFps = 10, kLengthMs = 8000;
  const FrameTimes times = [](uint64_t n) { return FixedStepFrameTimeMs(n, {kFps, 1}); };
  const OffscreenStart start{NewDirect3D, dataDir, 3, kWidthPx / 2, kHeightPx / 2};
  for (uint64_t seed : {11, 12, 13}) {
    SceneState scene;
    scene.ScenePresets = {RandomPreset(seed * 10, true, true), RandomPreset(seed * 10 + 1, false, false),
                          RandomPreset(seed * 10 + 2, true, false), RandomPreset(seed * 10 + 3, false, true)};
    scene.PresetCount = 4;
    SceneSequence sequence;
    sequence.DemoLength = kLengthMs;
    sequence.ScreenCinemaWidthRatio = 3;
    RandomStream entries(seed);
    for (int k = 0; k < 6; ++k) {
      TSceneSeqEntry entry;
      entry.PresetNumber = uint8_t(entries.Random(4));
      entry.StartTime = entries.Random(kLengthMs - 2000);
      entry.EndTime = entry.StartTime + 1000 + entries.Random(3000);
      sequence.SequenceEntries.push_back(entry);
    }
    EXPECT_EQ(FastForwardedDiffer(start, scene, sequence, times, Moments(kLengthMs * kFps / 1000)), 0)
        << "seed " << seed;
  }
}

}  // namespace
