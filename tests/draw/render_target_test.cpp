// The render-target size rule, the switch to the target and back, and its references over many frames.
#include <gtest/gtest.h>

#include "recording_fixture.h"
#include "draw/draw_messages.h"
#include "draw/textures.h"

namespace {

TEST(RenderTarget, MaxSizeFollowsTheBackBufferWidth) {
  EXPECT_EQ(R2tMaxSizeFor(320), 256);
  EXPECT_EQ(R2tMaxSizeFor(400), 256);
  EXPECT_EQ(R2tMaxSizeFor(401), 512);
  EXPECT_EQ(R2tMaxSizeFor(640), 512);
  EXPECT_EQ(R2tMaxSizeFor(1280), 1024);
  EXPECT_EQ(R2tMaxSizeFor(1281), 2048) << "wider screens need a target, not 0";
  EXPECT_EQ(R2tMaxSizeFor(1600), 2048);
}

TEST(RenderTarget, SizeRuleKeepsWithinEightAndTheMaximum) {
  const struct {
    uint8_t factor;
    uint16_t width, height;
  } cases[] = {{0, 512, 256}, {1, 8, 4},     {2, 8, 4},      {3, 8, 4},      {4, 16, 8},
               {7, 128, 64},  {9, 512, 256}, {15, 512, 256}, {16, 512, 256}, {255, 512, 256}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.factor));
    RecordingFixture f;
    f.state.R2tMaxSize = 512;
    ASSERT_TRUE(BeginRenderToTexture(f.state, c.factor));
    EXPECT_EQ(f.state.renderTargetWidth, c.width);
    EXPECT_EQ(f.state.renderTargetHeight, c.height);
    EXPECT_EQ(f.recording->CallsStartingWith("CreateTexture").back(),
              "CreateTexture(" + std::to_string(c.width) + ", " + std::to_string(c.height) + ", 0, 1, 22, 0) -> tex1");
  }
}

TEST(RenderTarget, NoZeroSizedTargetWithoutAMaximum) {
  RecordingFixture f;
  f.state.R2tMaxSize = 0;
  ASSERT_TRUE(BeginRenderToTexture(f.state, 0));
  EXPECT_EQ(f.state.renderTargetWidth, 8);
  EXPECT_EQ(f.state.renderTargetHeight, 4);
}

TEST(RenderTarget, BeginAndEndSwitchTargetsInOrder) {
  RecordingFixture f;
  f.state.R2tMaxSize = 512;
  f.state.BackBufferFormat = D3DFMT_R5G6B5;
  const size_t start = f.CallCount();
  ASSERT_TRUE(BeginRenderToTexture(f.state, 8));
  EndRenderToTexture(f.state);
  const std::vector<std::string> calls(f.recording->calls.begin() + long(start), f.recording->calls.end());
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "CreateTexture(256, 128, 0, 1, 23, 0) -> tex1",
                       "GetRenderTarget() -> backbuffer",
                       "GetSurfaceLevel(tex1, 0)",
                       "SetRenderTarget(tex1.level0, null)",
                       "SetRenderTarget(backbuffer, null)",
                       "Clear(0, 1, 0xFF000000, 1, 0)",
                   }));
}

TEST(RenderTarget, EveryFrameReplacesTheTargetWithoutKeepingOldOnes) {
  RecordingFixture f;
  f.state.R2tMaxSize = 512;
  for (int frame = 0; frame < 500; ++frame) {
    ASSERT_TRUE(BeginRenderToTexture(f.state, uint8_t(frame % 12)));
    EndRenderToTexture(f.state);
  }
  const size_t created = f.recording->CallsStartingWith("CreateTexture").size();
  EXPECT_EQ(created, 500u);
  // Each texture but the last is gone once its surface is replaced.
  size_t released = 0;
  for (const std::string& call : f.recording->CallsStartingWith("Release(tex"))
    if (call.find(".level0") == std::string::npos) ++released;
  EXPECT_EQ(released, 499u);
  ReleaseRenderObjects(f.state);
  released = 0;
  for (const std::string& call : f.recording->CallsStartingWith("Release(tex"))
    if (call.find(".level0") == std::string::npos) ++released;
  EXPECT_EQ(released, 500u);
  EXPECT_EQ(f.recording->calls.back(), "Release(d3d)");
}

TEST(RenderTarget, FailedCreationReportsAndKeepsTheCurrentTarget) {
  NullDeviceOptions options;
  options.failingCalls["CreateTexture"] = 0;
  RecordingFixture f(options);
  f.state.R2tMaxSize = 512;
  EXPECT_FALSE(BeginRenderToTexture(f.state, 0));
  EXPECT_EQ(f.fatalErrors, std::vector<std::string>{kRenderTargetInitFailedText});
  EXPECT_EQ(f.state.renderTargetTexture, nullptr);
  EXPECT_TRUE(f.recording->CallsStartingWith("SetRenderTarget").empty());
}

}  // namespace
