#pragma once
// The renderer started offscreen on OpenGL as the program starts it (640 × 480, ratio 8: bars of 60,
// drawing area 640 × 360 from row 60), on a data folder of test bitmaps: texture0 a colourful disc on
// keyed black, texture1 a white 32 × 32 marker. One sequence entry 0..20000 plays preset 0.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "support/bmp_writer.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/fail_on_fatal.h"

constexpr int kBarPx = 60, kAreaTopPx = 60, kAreaBottomPx = 420;

struct PictureRig {
  TempDir data;  // the test bitmaps, in this test's own folder: other tests run side by side
  RenderState state;
  SceneState scene;
  SceneSequence sequence;
  RgbaImage picture;
  std::string startError;

  PictureRig() {
    sequence.DemoLength = 20000;
    sequence.ScreenCinemaWidthRatio = 8;
    TSceneSeqEntry entry;
    entry.EndTime = 20000;
    sequence.SequenceEntries = {entry};
    WriteRingAndWhiteTextures(data.Path());
    FailOnFatalError(state);
    startError = StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), data.Path(), 8, 640, 480);
  }
  ~PictureRig() { ReleaseRenderObjects(state); }

  // Gives preset 0 a static value for the parameter of that short name.
  void Set(const std::string& name, float value) {
    if (scene.PresetCount == 0) {
      scene.ScenePresets = {InitParamTable()};
      scene.PresetCount = 1;
    }
    for (TScene1ParamInterface& param : scene.ScenePresets[0])
      if (ShortName(param.Name) == name) {
        param.BaseVal = value;
        param.OscForm = 0;
        return;
      }
    ADD_FAILURE() << "no parameter " << name;
  }

  // A black stage with only sprite layer 1: the white marker, stretch 2 (64 × 48 pixels), at a quarter
  // of the width and a tenth of the height: pixels 160..224 × 96..144 of the back buffer.
  void BareMarkerScene() {
    for (const char* name : {"BG_r", "BG_g", "BG_b", "MainObject", "NumberOfRingObjects", "SpriteAlpha2",
                             "UseR2TEffects", "SpriteSpeedFactor"})
      Set(name, 0);
    Set("SpriteAlpha", 255);
    Set("SpriteTextureNumber", 1);
    Set("SpriteStrechX", 2);
    Set("SpriteStrechY", 2);
    Set("SpriteOffsetX", 0.25f);
    Set("SpriteOffsetY", 0.1f);
  }

  void Draw(uint32_t demoTimeMs, const std::string& name) {
    ASSERT_EQ(DrawDemoFrameToImage(state, scene, sequence, demoTimeMs, false, picture,
                                   [](const std::string& text) { ADD_FAILURE() << text; }),
              "");
    EXPECT_EQ(WritePng(TestOutPath(name + ".png"), picture), "");
  }

  int Green(int x, int y) const { return picture.Pixel(uint32_t(x), uint32_t(y))[1]; }
  bool Lit(int x, int y) const { return Green(x, y) > 50; }
  bool Dark(int x, int y) const {
    const uint8_t* p = picture.Pixel(uint32_t(x), uint32_t(y));
    return p[0] < 20 && p[1] < 20 && p[2] < 20;
  }

  // Whether every pixel of both letterbox bars is black.
  bool BarsBlack() const {
    for (uint32_t y = 0; y < picture.heightPx; ++y) {
      if (y >= uint32_t(kAreaTopPx) && y < uint32_t(kAreaBottomPx)) continue;
      for (uint32_t x = 0; x < picture.widthPx; ++x) {
        const uint8_t* p = picture.Pixel(x, y);
        if (p[0] > 4 || p[1] > 4 || p[2] > 4) return false;
      }
    }
    return true;
  }
  // Share of the drawing area's pixels that are not black.
  double LitShare() const {
    size_t lit = 0;
    for (int y = kAreaTopPx; y < kAreaBottomPx; ++y)
      for (uint32_t x = 0; x < picture.widthPx; ++x) lit += !Dark(int(x), y);
    return double(lit) / (double(picture.widthPx) * (kAreaBottomPx - kAreaTopPx));
  }
  // Distinct colours in the drawing area, each channel cut to 3 bits.
  size_t ColourCount() const {
    std::set<int> colours;
    for (int y = kAreaTopPx; y < kAreaBottomPx; ++y)
      for (uint32_t x = 0; x < picture.widthPx; ++x) {
        const uint8_t* p = picture.Pixel(x, uint32_t(y));
        colours.insert((p[0] >> 5) << 6 | (p[1] >> 5) << 3 | (p[2] >> 5));
      }
    return colours.size();
  }
};
