// The entries' pictures: drawn offscreen in their own thread from the shipped demo's presets and
// textures, the newest request of an entry wins, and closing while drawing neither waits long nor
// crashes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "draw/offscreen_demo.h"
#include "gpu/gl_direct3d.h"
#include "scene/preset_file.h"
#include "support/time_bound.h"
#include "timeline/thumbnails.h"
#include "support/fail_on_fatal.h"

namespace {

std::vector<TScene1ParamIArray> ShippedPresets() {
  std::vector<TScene1ParamIArray> presets;
  LoadScenePresets(QUARNEL_DATA_DIR "/scene", presets, {});
  return presets;
}

const RgbaImage* WaitForPicture(Thumbnails& thumbnails, int entry, int arrivals = 1) {
  for (int n = 0; n < 3000 && arrivals > 0; ++n) {
    if (thumbnails.Collect()) --arrivals;
    if (arrivals > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return thumbnails.Picture(entry);
}

// Pixels that are not black: something was drawn.
int Lit(const RgbaImage& picture) {
  int lit = 0;
  for (uint32_t y = 0; y < picture.heightPx; ++y)
    for (uint32_t x = 0; x < picture.widthPx; ++x) {
      const uint8_t* p = picture.Pixel(x, y);
      lit += p[0] + p[1] + p[2] > 60;
    }
  return lit;
}

TSceneSeqEntry Entry(uint32_t startMs, uint32_t endMs) {
  TSceneSeqEntry entry;
  entry.StartTime = startMs;
  entry.EndTime = endMs;
  return entry;
}

}  // namespace

TEST(Thumbnails, APresetIsDrawnOffscreenAtTheEntrysMiddle) {
  const std::vector<TScene1ParamIArray> presets = ShippedPresets();
  ASSERT_GE(presets.size(), 2u);
  Thumbnails thumbnails(QUARNEL_DATA_DIR);
  EXPECT_EQ(thumbnails.Picture(0), nullptr) << "nothing before it is drawn";
  EXPECT_TRUE(thumbnails.Want(0, {presets[1], Entry(16000, 31999), 8, 48, 27, nullptr}));
  const RgbaImage* picture = WaitForPicture(thumbnails, 0);
  ASSERT_NE(picture, nullptr) << "drawn within 30 s";
  EXPECT_EQ(picture->widthPx, 48u);
  EXPECT_EQ(picture->heightPx, 27u);
  EXPECT_GT(Lit(*picture), 48 * 27 / 4) << "a scene, not a black picture";

  // The same request again: nothing new is drawn. A new one replaces the picture.
  EXPECT_FALSE(thumbnails.Want(0, {presets[1], Entry(16000, 31999), 8, 48, 27, nullptr}));
  EXPECT_TRUE(thumbnails.Want(0, {presets[0], Entry(0, 16000), 8, 32, 18, nullptr}));
  picture = WaitForPicture(thumbnails, 0);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->widthPx, 32u);

  thumbnails.Keep(0);
  EXPECT_EQ(thumbnails.Picture(0), nullptr) << "a deleted entry has no picture";
}

// Closing with twenty pictures asked for ends cleanly: the thread stops after the picture it is drawing,
// without a crash and without drawing the rest first.
TEST(Thumbnails, ClosingWhileDrawingStopsTheThread) {
  const std::vector<TScene1ParamIArray> presets = ShippedPresets();
  ASSERT_FALSE(presets.empty());
  const int status = RunWithinBound([&presets] {
    Thumbnails thumbnails(QUARNEL_DATA_DIR);
    for (int entry = 0; entry < 20; ++entry)
      thumbnails.Want(entry, {presets[0], Entry(entry * 1000, entry * 1000 + 999), 8, 480, 270, nullptr});
    return 0;
  });
  EXPECT_EQ(status, 0) << "the closing crashed or hung";
}

namespace {

// Frames of the shipped demo from startMs, stepMs apart, drawn offscreen as the output draws them; between
// frames, between() runs.
std::vector<RgbaImage> OutputFrames(SceneState& scene, const SceneSequence& sequence, uint32_t startMs, uint32_t stepMs,
                                    const std::function<void(int)>& between) {
  RenderState state;
  FailOnFatalError(state);
  std::vector<RgbaImage> frames;
  if (!StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), QUARNEL_DATA_DIR,
                              sequence.ScreenCinemaWidthRatio, 160, 120)
           .empty())
    return frames;
  for (int n = 0; n < 24; ++n) {
    between(n);
    RgbaImage image;
    (void)DrawDemoFrameToImage(state, scene, sequence, startMs + n * stepMs, false, image, [](const std::string&) {});
    frames.push_back(std::move(image));
  }
  ReleaseRenderObjects(state);
  return frames;
}

}  // namespace

// Each drawer owns its random stream: the output's frames (the default preset rebuilds its geometry, with
// random colours, in every frame) are the same whether or not thumbnails are drawn meanwhile.
TEST(Thumbnails, OutputFramesAreTheSameWithOrWithoutThumbnails) {
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  SceneSequence sequence;
  sequence.DemoLength = 100000;
  sequence.ScreenCinemaWidthRatio = 8;
  sequence.SequenceEntries = {Entry(0, 100000)};
  const auto nothing = [](int) {};
  const std::vector<RgbaImage> alone = OutputFrames(scene, sequence, 1000, 250, nothing);
  ASSERT_EQ(alone.size(), 24u);
  EXPECT_TRUE(OutputFrames(scene, sequence, 1000, 250, nothing)[23].rgba == alone[23].rgba) << "repeatable alone";

  Thumbnails thumbnails(QUARNEL_DATA_DIR);
  // Keep the thumbnail thread drawing while the output draws: new requests before every frame.
  const std::vector<RgbaImage> beside = OutputFrames(scene, sequence, 1000, 250, [&](int n) {
    for (int k = 0; k < 3; ++k)
      thumbnails.Want(k, {InitParamTable(), Entry(0, 1000 + 500 * n + k), 8, 48, 27, nullptr});
    thumbnails.Collect();
  });
  EXPECT_NE(WaitForPicture(thumbnails, 0), nullptr) << "thumbnails were drawn";
  ASSERT_EQ(beside.size(), alone.size());
  for (size_t n = 0; n < alone.size(); ++n) EXPECT_TRUE(beside[n].rgba == alone[n].rgba) << "frame " << n;
}
