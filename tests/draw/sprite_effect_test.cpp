// Sprite layers and screen effects on the null device (640 × 360 drawing area below a 60-pixel bar):
// translations, rotation centres, colours and draw counts of every preset.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "layer_rig.h"
#include "draw/r2t_effects.h"
#include "draw/sprite_layers.h"
#include "scene/shared_random.h"

namespace {

using Calls = std::vector<std::string>;

std::string Draw(const std::string& texture, const std::string& scaling, const std::string& centre,
                 const std::string& rotation, const std::string& translation, const std::string& colour) {
  return "sprite1.Draw(" + texture + ", null, " + scaling + ", " + centre + ", " + rotation + ", " + translation +
         ", " + colour + ")";
}

// t = 1000: pulse(250) = |Round(250 sin 2)| = 227 (0xE3), pulse(200) = 182 (0xB6).
TEST(SpriteLayer, ScrollPresetsMoveFromTheirStartByTimeAndSpeed) {
  LayerRig rig;
  DrawSpriteLayer(rig.state, 0, 1, 200, 0, 1, 1, 0.25f, 0.5f, 0.01f, 1000);
  DrawSpriteLayer(rig.state, 1, 1, 200, 0, 1, 1, 0.25f, 0.5f, 0.01f, 1000);
  DrawSpriteLayer(rig.state, 9, 1, 200, 0, 1, 1, 0.25f, 0.5f, 0.01f, 1000);  // above 3 means 0
  EXPECT_EQ(rig.Since("sprite1."),
            (Calls{"sprite1.Begin()", Draw("tex2", "(1, 0.75)", "(213, 180)", "0", "(160, 204)", "0xC8E3C8FA"),
                   "sprite1.End()", "sprite1.Begin()",
                   Draw("tex2", "(1, 0.75)", "(213, 180)", "0", "(224, 240)", "0xC8E3C8FA"), "sprite1.End()",
                   "sprite1.Begin()", Draw("tex2", "(1, 0.75)", "(213, 180)", "0", "(160, 204)", "0xC8E3C8FA"),
                   "sprite1.End()"}));
}

TEST(SpriteLayer, SwingPresetsAtSpeedZeroPlaceTheirCopiesAsDescribed) {
  LayerRig rig;
  DrawSpriteLayer(rig.state, 2, 1, 255, 0, 1, 1, 0.25f, 0.5f, 0, 1000);
  DrawSpriteLayer(rig.state, 3, 1, 255, 0, 1, 1, 0.25f, 0.5f, 0, 1000);  // rotation 0: drawn upright
  EXPECT_EQ(rig.Since("sprite1.Draw"),
            (Calls{Draw("tex2", "(1, 0.75)", "(320, 180)", "0", "(160, 240)", "0xFFE3C896"),
                   Draw("tex2", "(1, 0.75)", "(320, 180)", "0", "(480, 240)", "0x7FE3C896"),
                   Draw("tex2", "(1, 0.75)", "(320, 180)", "0", "(800, 240)", "0xFFFAE6B6"),
                   Draw("tex2", "(1, 0.75)", "(320, 180)", "0", "(160, 240)", "0xFFE3F0E6")}));
}

TEST(SpriteLayer, TurningPresetRotatesBySineAndCosineOfTimeOverRotation) {
  LayerRig rig;
  DrawSpriteLayer(rig.state, 3, 0, 10, 500, 2, 2, 0, 0, 0.001f, 1000);
  const Calls draws = rig.Since("sprite1.Draw");
  ASSERT_EQ(draws.size(), 2u);
  // speed 0.001 at t = 1000: swing of 100 × cos 1 × 6.4 = 345.8 → 346 and 100 × sin 1 × 6.4 → 539.
  EXPECT_EQ(draws[0], Draw("tex1", "(2, 1.5)", "(320, 180)", "0.909297", "(346, 60)", "0x0AFAE6B6"));
  EXPECT_EQ(draws[1], Draw("tex1", "(2, 1.5)", "(320, 180)", "-0.416147", "(539, 60)", "0x0AE3F0E6"));
}

TEST(SpriteLayer, AlphaZeroHidesTheLayerAndUnknownTexturesDrawTextureZero) {
  LayerRig rig;
  for (uint8_t preset = 0; preset < 4; ++preset) DrawSpriteLayer(rig.state, preset, 1, 0, 1, 1, 1, 0, 0, 1, 1000);
  EXPECT_TRUE(rig.Since().empty());
  DrawSpriteLayer(rig.state, 0, 7, 1, 0, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(rig.Since("sprite1.Draw(tex1").size(), 1u);
}

TEST(SpriteLayer, StretchOneIsNativeSizeOnA640By480Viewport) {
  LayerRig rig;
  rig.state.ViewHeight = 480;
  rig.state.CinemaBarHeight = 0;
  DrawSpriteLayer(rig.state, 0, 0, 255, 0, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(rig.Since("sprite1.Draw"), (Calls{Draw("tex1", "(1, 1)", "(213, 240)", "0", "(0, 0)", "0xFF00C8FA")}));
}

// The render target of a 640-wide view: 512 × 256, so sx0 = 1.25 and sy0 = 360 / 256 = 1.40625.
struct EffectRig : LayerRig {
  EffectRig() {
    state.renderTargetWidth = 512;
    state.renderTargetHeight = 256;
  }
  Calls Draws() const { return Since("sprite1.Draw"); }
};

TEST(ScreenEffect, DrawCountsFollowPresetAndPower) {
  const struct {
    uint8_t preset;
    uint16_t power;
    size_t draws;
  } cases[] = {{0, 0, 2},  {0, 3, 5}, {1, 0, 0}, {1, 3, 3}, {2, 0, 1},  {2, 3, 3}, {3, 0, 5},
               {3, 40, 5}, {4, 0, 9}, {4, 3, 9}, {5, 0, 2}, {5, 3, 10}, {6, 3, 5}, {255, 0, 2}};
  for (const auto& c : cases) {
    EffectRig rig;
    DrawR2TEffect(rig.state, c.preset, c.power, 0, 1, 1234);
    EXPECT_EQ(rig.Draws().size(), c.draws) << "preset " << int(c.preset) << " power " << c.power;
  }
}

TEST(ScreenEffect, FullCopyAndStripUseRandomBlueChannels) {
  EffectRig rig;
  rig.state.random.Seed(7);
  DrawR2TEffect(rig.state, 0, 2, 0.5f, 1, 0);
  RandomStream expected(7);
  const Calls draws = rig.Draws();
  ASSERT_EQ(draws.size(), 4u);
  EXPECT_EQ(draws[0], Draw("tex4", "(1.25, 1.40625)", "(213.333, 180)", "0.5", "(0, 60)", "0xFFFFFFFF"));
  for (int j = 0; j < 3; ++j) {
    const std::string blue = expected.Random(2) == 1 ? "0xB4FFFFFF" : "0xB4FFFF00";
    EXPECT_EQ(draws[1 + j],
              Draw("tex4", "(0.3125, 0.351562)", "(213.333, 180)", "0.5", "(0, " + std::to_string(90 * j) + ")", blue));
  }
}

TEST(ScreenEffect, StretchedEchoesAndSlicesFadeWithTheirIndex) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 1, 4, 0, 1, 0);  // phase 0: divisor 1
  DrawR2TEffect(rig.state, 2, 4, 0, 1, 0);  // alpha 150
  const Calls draws = rig.Draws();
  ASSERT_EQ(draws.size(), 8u);
  const char* echoScale[] = {"(2.5, 1.40625)", "(3.75, 1.40625)", "(5, 1.40625)", "(6.25, 1.40625)"};
  const char* echoColour[] = {"0xCDFFFFFF", "0x9BFFFFFF", "0x69FFFFFF", "0x37FFFFFF"};
  const char* sliceColour[] = {"0x96FFFFFF", "0x96E6FFFF", "0x96CDFFFF", "0x96B4FFFF"};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(draws[j], Draw("tex4", echoScale[j], "(213.333, 180)", "0", "(0, 60)", echoColour[j]));
    EXPECT_EQ(draws[4 + j], Draw("tex4", "(0.3125, 1.40625)", "(213.333, 180)", "0",
                                 "(" + std::to_string(160 * j) + ", 60)", sliceColour[j]));
  }
}

TEST(ScreenEffect, ZoomingEchoesGrowMoveAndFade) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 3, 0, 0.25f, 1, 0);
  DrawR2TEffect(rig.state, 4, 2, 1.0f, 1, 0);
  const Calls draws = rig.Draws();
  ASSERT_EQ(draws.size(), 14u);
  EXPECT_EQ(draws[0], Draw("tex4", "(1.25, 1.40625)", "(426.667, 180)", "0.25", "(0, 60)", "0xFFFFFFFF"));
  // j = 1, Q = 1: x = -Round(0.625 × 640) = -400, y = 60 - Round(0.703125 × 360) = -193.
  EXPECT_EQ(draws[1], Draw("tex4", "(2.5, 2.8125)", "(426.667, 180)", "0.25", "(-400, -193)", "0xCDFFFFFF"));
  EXPECT_EQ(draws[4], Draw("tex4", "(6.25, 7.03125)", "(426.667, 180)", "0.25", "(-1600, -952)", "0x37FFFFFF"));
  // Preset 4 with Q = 2: the copy j = 1 turns a quarter radian further and is 230 opaque.
  EXPECT_EQ(draws[6], Draw("tex4", "(1.875, 2.10938)", "(426.667, 180)", "1.25", "(-200, -67)", "0xE6FFFFFF"));
  EXPECT_EQ(draws[13], Draw("tex4", "(6.25, 7.03125)", "(426.667, 180)", "3", "(-1600, -952)", "0x37FFFFFF"));
}

TEST(ScreenEffect, TilesOfPowerTwoCarryRowAndColumnColoursUnderTheOverlay) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 5, 2, 0, 1, 0);
  const std::string tile = "(0.625, 0.703125)", centre = "(213.333, 180)";
  EXPECT_EQ(rig.Since("sprite1."),
            (Calls{"sprite1.Begin()", Draw("tex4", tile, centre, "0", "(0, 60)", "0xFFFFFFFF"),
                   Draw("tex4", tile, centre, "0", "(320, 60)", "0xFFCDFFFF"),
                   Draw("tex4", tile, centre, "0", "(0, 240)", "0xCDFFFFFF"),
                   Draw("tex4", tile, centre, "0", "(320, 240)", "0xCDCDFFFF"), "sprite1.End()", "sprite1.Begin()",
                   Draw("tex4", "(1.25, 1.40625)", centre, "0", "(0, 60)", "0x96FFFFFF"), "sprite1.End()"}));
}

TEST(ScreenEffect, HugeTileGridIsCappedAndBatched) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 5, 65535, 0, 1, 0);
  EXPECT_EQ(rig.Draws().size(), size_t(kMaxTileGridSide) * kMaxTileGridSide + 1);
  EXPECT_EQ(rig.Since("sprite1.Begin").size(), 2u);
}

// Stretched to the right, each echo covers all the earlier ones: under the last 32 (each at least 55/255
// opaque) nothing earlier can show, so a huge power draws those alone, ending as the full count does.
TEST(ScreenEffect, HugeEchoCountDrawsOnlyTheEchoesThatCanShow) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 1, 65535, 0, 1, 0);  // phase 0: divisor 1
  const Calls draws = rig.Draws();
  ASSERT_EQ(draws.size(), 32u);
  EXPECT_EQ(draws.back(), Draw("tex4", "(81920, 1.40625)", "(213.333, 180)", "0", "(0, 60)", "0x37FFFFFF"));
  EffectRig shrinking;  // at phase 3π/2 the divisor is -99: echoes 1..98 shrink and all show, then 32 more
  DrawR2TEffect(shrinking.state, 1, 65535, 0, 0, uint32_t(std::lround(3 * 3.14159265 / 2)));
  EXPECT_LE(shrinking.Draws().size(), 98u + 32u);
  EXPECT_GE(shrinking.Draws().size(), 32u);
}

TEST(ScreenEffect, SpeedThatIsNoNumberDrawsAtPhaseZero) {
  EffectRig rig;
  DrawR2TEffect(rig.state, 2, 1, 0, std::numeric_limits<float>::quiet_NaN(), 5000);
  EXPECT_EQ(rig.Draws(), (Calls{Draw("tex4", "(1.25, 1.40625)", "(213.333, 180)", "0", "(0, 60)", "0x96FFFFFF")}));
}

}  // namespace
