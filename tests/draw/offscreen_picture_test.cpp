// Whole frames drawn offscreen on OpenGL and looked at as a viewer would: the default scene at several
// times, every sprite movement preset and every screen effect, with the letterbox bars black and each
// copy of the marker where it belongs. The pictures go to QUARNEL_TEST_OUT.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "picture_rig.h"

namespace {

IDirect3D8* NewDirect3D() { return Direct3DCreate8(D3D_SDK_VERSION); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

constexpr uint32_t kDefaultSceneTimesMs[] = {0, 2500, 6000, 12000};

// Expects --render's frame at ms of the rig's demo (the frames before it drawn at fps) to be picture to
// the byte, both written as PNG: name-render.png and name-drawn.png.
void ExpectRenderDraws(PictureRig& rig, uint32_t ms, uint32_t fps, const RgbaImage& picture, const std::string& name,
                       const std::string& what) {
  const std::string rendered = TestOutPath(name + "-render.png"), drawn = TestOutPath(name + "-drawn.png");
  ASSERT_EQ(RenderDemoFrameToPng(NewDirect3D, rig.scene, rig.sequence, rig.data.Path(), ms, {fps, 1}, 640, 480, false,
                                 rendered),
            "");
  ASSERT_EQ(WritePng(drawn, picture), "");
  EXPECT_EQ(ReadFile(rendered), ReadFile(drawn)) << what;
}

TEST(DefaultScenePicture, IsColouredLayeredAndMovesBetweenTimes) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  std::vector<RgbaImage> pictures;
  for (uint32_t ms : kDefaultSceneTimesMs) {
    rig.Draw(ms, "default-scene-" + std::to_string(ms));
    EXPECT_GT(rig.LitShare(), 0.3) << ms;
    EXPECT_GE(rig.ColourCount(), 12u) << ms;
    pictures.push_back(rig.picture);
  }
  for (size_t i = 1; i < pictures.size(); ++i) {
    size_t changed = 0;
    for (size_t k = 0; k < pictures[i].rgba.size(); k += 4)
      changed += std::abs(pictures[i].rgba[k + 1] - pictures[i - 1].rgba[k + 1]) > 30;
    EXPECT_GT(changed, pictures[i].rgba.size() / 4 / 10) << "picture " << i << " hardly differs from the one before";
  }
}

// Waits for the OpenGL device to clip every draw to the viewport as Direct3D does: large point sprites
// whose centre lies inside the drawing area still spill into the bars.
TEST(DefaultScenePicture, LetterboxBarsStayBlack) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  for (uint32_t ms : kDefaultSceneTimesMs) {
    rig.Draw(ms, "default-scene-bars-" + std::to_string(ms));
    EXPECT_TRUE(rig.BarsBlack()) << ms;
  }
}

TEST(SpritePicture, EachMovementPresetPutsTheMarkerWhereItMoves) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  rig.BareMarkerScene();

  rig.Set("SpriteMovementPreset", 1);
  rig.Draw(0, "sprite-preset1-still");
  EXPECT_TRUE(rig.Lit(192, 120));
  EXPECT_TRUE(rig.Dark(150, 120) && rig.Dark(234, 120) && rig.Dark(192, 90) && rig.Dark(192, 150));
  EXPECT_TRUE(rig.BarsBlack());

  rig.Set("SpriteSpeedFactor", 0.01f);  // 64 pixels to the right after 1000 ms
  rig.Draw(1000, "sprite-preset1-moved");
  EXPECT_TRUE(rig.Lit(256, 120));
  EXPECT_TRUE(rig.Dark(180, 120));

  rig.Set("SpriteMovementPreset", 0);  // 36 pixels up after 1000 ms
  rig.Draw(1000, "sprite-preset0-moved");
  EXPECT_TRUE(rig.Lit(192, 84));
  EXPECT_TRUE(rig.Dark(192, 130));

  rig.Set("SpriteSpeedFactor", 0);
  rig.Set("SpriteMovementPreset", 2);  // copies at x = 160 and 480, the second half as opaque
  rig.Draw(0, "sprite-preset2");
  EXPECT_TRUE(rig.Lit(192, 120));
  EXPECT_TRUE(rig.Lit(512, 120));
  EXPECT_LT(rig.Green(512, 120), rig.Green(192, 120) * 3 / 4);

  rig.Set("SpriteMovementPreset", 3);  // at speed 0 the first copy lies off to the right at x = 800
  rig.Set("SpriteRotation", 0);        // no turning
  rig.Draw(0, "sprite-preset3-upright");
  EXPECT_TRUE(rig.Lit(192, 120));
  EXPECT_TRUE(rig.Dark(512, 120));
  rig.Set("SpriteRotation", 4000);
  rig.Set("SpriteOffsetY", 0.4f);
  rig.Draw(3000, "sprite-preset3-turned");
  EXPECT_GT(rig.LitShare(), 0.005);
  EXPECT_TRUE(rig.BarsBlack());
}

// The marker scene drawn into the render target (512 × 256) and put back by a screen effect with no
// rotation. In the target the marker's centre lies at (192, 120); a copy with scaling (sx, sy) and
// translation (tx, ty) shows it at (192 sx + tx, 120 sy + ty). sx0 = 1.25, sy0 = 1.40625.
struct EffectPicture : PictureRig {
  EffectPicture(uint8_t preset, uint16_t power) {
    BareMarkerScene();
    Set("UseR2TEffects", 1);
    Set("ReSetViewPort", 1);
    Set("R2tTextureSizeTweakFactor", 0);
    Set("R2TEffectRotation", 0);
    Set("R2TEffectPreset", preset);
    Set("R2TEffectPower", power);
    Set("ReRenderRingObjects", 0);
    Set("ReRenderMainObject", 0);
    Set("ReRenderSprite2", 0);
    Set("tci", 1);
    Draw(0, "effect-preset" + std::to_string(preset) + "-power" + std::to_string(power));
  }
};

TEST(EffectPicture, FullCopyAndStrip) {
  EffectPicture rig(0, 2);
  ASSERT_EQ(rig.startError, "");
  EXPECT_TRUE(rig.BarsBlack());    // the strip's first copy lies in the top bar and is cut off
  EXPECT_TRUE(rig.Lit(240, 229));  // full copy
  EXPECT_TRUE(rig.Lit(60, 132));   // strip copy 1: (60, 42 + 90)
  EXPECT_TRUE(rig.Lit(60, 222));   // strip copy 2
  EXPECT_TRUE(rig.Dark(400, 300));
}

TEST(EffectPicture, StretchedEchoes) {
  EffectPicture rig(1, 3);
  EXPECT_TRUE(rig.BarsBlack());
  EXPECT_TRUE(rig.Lit(480, 229));   // echo 1 stretched 2.5 times
  EXPECT_TRUE(rig.Dark(240, 229));  // no full copy
}

TEST(EffectPicture, VerticalSlices) {
  EffectPicture rig(2, 4);
  EXPECT_TRUE(rig.BarsBlack());
  for (int j = 0; j < 4; ++j) EXPECT_TRUE(rig.Lit(60 + 160 * j, 229)) << j;
  EXPECT_TRUE(rig.Dark(140, 229));
}

// Every echo covers the whole view with the target's opaque black, so an echo darkens the ones under it
// except where its own marker lies. With power 40 echo j shows the marker about (240 - 4j, 229 - 2j),
// 1 + j/40 times as large.
TEST(EffectPicture, ZoomingEchoes) {
  EffectPicture rig(3, 40);
  EXPECT_TRUE(rig.BarsBlack());
  EXPECT_GT(rig.Green(235, 225), 150);  // inside every echo's marker
  EXPECT_GT(rig.Green(184, 186), 25);   // only the last, faintest echo (alpha 55) reaches here
  EXPECT_LT(rig.Green(184, 186), 70);
  EXPECT_LT(rig.Green(276, 260), 60);  // the first echoes' marker corner, darkened by the later ones
  EXPECT_TRUE(rig.Dark(178, 180));
}

TEST(EffectPicture, ZoomingAndTurningEchoes) {
  EffectPicture rig(4, 40);
  EXPECT_TRUE(rig.BarsBlack());
  EXPECT_GT(rig.LitShare(), 0.005);
}

TEST(EffectPicture, TilesUnderTheOverlay) {
  EffectPicture rig(5, 3);
  EXPECT_TRUE(rig.BarsBlack());
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_GT(rig.Green(80 + 213 * c, 116 + 120 * r), 40) << r << ", " << c;
  EXPECT_TRUE(rig.Dark(170, 300));
}

TEST(RenderCommand, WritesAPictureOfTheFrame) {
  SceneState scene;
  PictureRig rig;
  const std::string png = TestOutPath("render-command.png");
  std::remove(png.c_str());
  EXPECT_EQ(
      RenderDemoFrameToPng(NewDirect3D, scene, rig.sequence, rig.data.Path(), 4000, {25, 1}, 320, 240, false, png), "");
  ASSERT_TRUE(std::filesystem::exists(png));
  EXPECT_GT(std::filesystem::file_size(png), 1000u);  // a 320 × 240 picture with a scene in it
  EXPECT_EQ(RenderDemoFrameToPng(NewDirect3D, scene, rig.sequence, TestOutPath("no-such-dir"), 4000, {25, 1}, 320, 240,
                                 false, png),
            "Loading Error: no textures found!");
  EXPECT_EQ(RenderDemoFrameToPng(NewDirect3D, scene, rig.sequence, rig.data.Path(), 4000, {25, 1}, 0, 240, false, png),
            "picture size 0x240 is outside 1x1 .. 8192x8192");
}

// A render-to-texture layer first (the back buffer loses its depth buffer, as on Direct3D), then the
// marker scrolling right over a clear that asks for the depth buffer too: that clear and the frame's
// own clear fail, so the marker leaves a trail. --render replays the frames before at the export's
// clock and shows the trail, exactly as the export's frame at that time.
TEST(RenderCommand, CarriesWhatEarlierFramesLeftAsTheExportDoes) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  rig.Set("UseR2TEffects", 1);
  rig.Set("MainObject", 0);
  rig.Set("NumberOfRingObjects", 0);
  rig.scene.ScenePresets.push_back(rig.scene.ScenePresets[0]);
  rig.scene.PresetCount = 2;
  std::swap(rig.scene.ScenePresets[0], rig.scene.ScenePresets[1]);
  rig.BareMarkerScene();  // preset 0, the marker, drawn after the render-to-texture preset 1
  rig.Set("SpriteMovementPreset", 1);
  rig.Set("SpriteSpeedFactor", 0.01f);  // 64 pixels to the right per second
  rig.Set("ClearTarget", 1);
  rig.Set("ClearZBuffer", 1);
  rig.Set("ReSetViewPort", 0);
  TSceneSeqEntry effect, marker;
  effect.PresetNumber = 1, effect.EndTime = 500;
  marker.StartTime = 600, marker.EndTime = 20000;
  rig.sequence.SequenceEntries = {effect, marker};

  constexpr uint32_t kFps = 10, kAtMs = 2000;
  RgbaImage exported;
  for (uint32_t n = 0; n * 1000 / kFps <= kAtMs; ++n)
    ASSERT_EQ(DrawDemoFrameToImage(rig.state, rig.scene, rig.sequence, n * 1000 / kFps, false, exported,
                                   [](const std::string& text) { ADD_FAILURE() << text; }),
              "");
  ASSERT_NO_FATAL_FAILURE(
      ExpectRenderDraws(rig, kAtMs, kFps, exported, "render-command-trail", "the export's frame at the same time"));
  rig.picture = exported;
  EXPECT_TRUE(rig.Lit(192 + 128, 120)) << "the marker at 2 s";
  EXPECT_TRUE(rig.Lit(192 + 64, 120) && rig.Lit(192 + 20, 120)) << "its trail from 0.6 s on";
  EXPECT_TRUE(rig.BarsBlack());
}

// A key track moves the marker right across its entry (SpriteOffsetX from 0.25 to 0.75 of the width over
// 10 s); the same folder without keys keeps it where its preset puts it, and a track that holds the
// preset's own value draws exactly that picture. --render draws the keyed frame as the frames do.
TEST(TrackedPicture, AKeyTrackMovesTheMarkerAcrossItsEntry) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  rig.BareMarkerScene();
  rig.Set("SpriteMovementPreset", 1);
  constexpr int kSpriteOffsetX = 22;
  AutomationTracks& tracks = rig.sequence.SequenceEntries[0].Tracks;
  rig.Draw(5000, "tracked-marker-none");
  EXPECT_TRUE(rig.Lit(192, 120) && rig.Dark(352, 120)) << "without keys, where the preset puts it";
  const RgbaImage untracked = rig.picture;

  tracks = {{kSpriteOffsetX, {{0, 0.25f, KeyCurve::Step}}}};
  rig.Draw(5000, "tracked-marker-held");
  EXPECT_EQ(rig.picture.rgba, untracked.rgba) << "a track of the preset's own value changes nothing";

  tracks = {{kSpriteOffsetX, {{0, 0.25f, KeyCurve::Linear}, {10000, 0.75f, KeyCurve::Linear}}}};
  for (const auto& [ms, x] : {std::pair{0, 192}, {5000, 352}, {10000, 512}, {15000, 512}}) {
    rig.Draw(uint32_t(ms), "tracked-marker-" + std::to_string(ms));
    EXPECT_TRUE(rig.Lit(x, 120)) << ms;
    for (const int other : {192, 352, 512})
      EXPECT_TRUE(other == x || rig.Dark(other, 120)) << ms << ": nothing left at " << other;
    EXPECT_TRUE(rig.BarsBlack());
  }

  rig.Draw(5000, "tracked-marker-drawn");
  ExpectRenderDraws(rig, 5000, 10, rig.picture, "tracked-marker", "--render's frame is the preview's");
}

// A marker whose SpriteOffsetX follows a low band that beats every 500 ms jumps between where its preset
// puts it (silence: offset 1, gain 2 on 0.25 of the width) and three quarters of the width (a beat);
// --render draws the followed frame as the frames do.
TEST(FollowedPicture, AMarkerFollowingTheLowBandPulsesAndRenderDrawsItAsThePreview) {
  PictureRig rig;
  ASSERT_EQ(rig.startError, "");
  rig.BareMarkerScene();
  rig.Set("SpriteMovementPreset", 1);
  constexpr int kSpriteOffsetX = 22;
  auto envelopes = std::make_shared<SoundEnvelopes>();
  for (int source = 0; source < kSoundSourceCount; ++source) envelopes->levels[size_t(source)].assign(4000, 0);
  for (size_t ms = 0; ms < 4000; ++ms) envelopes->levels[size_t(SoundSource::Low)][ms] = (ms / 500) % 2 ? 1.0f : 0;
  rig.scene.Envelopes = envelopes;
  rig.sequence.SequenceEntries[0].Follows = {{kSpriteOffsetX, SoundSource::Low, 2, 1}};
  for (const auto& [ms, x] : {std::pair{250, 192}, {750, 512}, {1250, 192}, {1750, 512}}) {
    rig.Draw(uint32_t(ms), "followed-marker-" + std::to_string(ms));
    EXPECT_TRUE(rig.Lit(x, 120)) << ms;
    EXPECT_TRUE(rig.Dark(x == 192 ? 512 : 192, 120)) << ms;
  }

  rig.Draw(750, "followed-marker-drawn");
  ExpectRenderDraws(rig, 750, 10, rig.picture, "followed-marker", "--render's frame is the preview's");
}

}  // namespace
