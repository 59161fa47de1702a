// The clear horizon: from which frame drawing for real, after fast-forwarded frames, shows the last
// frame exactly. Frames here are scripts of clears, draws and reads on a 100 × 100 back buffer and a
// render target.
#include <gtest/gtest.h>

#include "gpu/clear_horizon.h"

namespace {

constexpr ClearHorizon::SurfaceKey kBack = 1, kTarget = 2, kDepth = 3;
constexpr D3DRECT kWhole = {0, 0, 100, 100}, kTopHalf = {0, 0, 100, 50};

// One frame as the demo draws it: the back buffer cleared wholly (or not), drawn into, presented.
void Frame(ClearHorizon& horizon, bool drawn, bool cleared = true) {
  if (cleared) horizon.Cleared(kBack, kWhole, drawn);
  horizon.DrawnInto(kBack, kWhole, drawn);
  horizon.Read(kBack);
  horizon.EndFrame();
}

TEST(ClearHorizon, EveryFrameDrawnStartsAtTheLastFrame) {
  ClearHorizon horizon;
  for (int n = 0; n < 3; ++n) Frame(horizon, true, n == 0);
  EXPECT_EQ(horizon.LatestStart(), 2u) << "nothing is stale: any frame is a start";
}

TEST(ClearHorizon, FramesThatClearEverythingFirstStartAtOnce) {
  ClearHorizon horizon;
  for (int n = 0; n < 5; ++n) Frame(horizon, false);
  Frame(horizon, true);
  EXPECT_EQ(horizon.LatestStart(), 5u);
}

TEST(ClearHorizon, KeptPixelsGoBackToTheLastWholeClear) {
  ClearHorizon horizon;
  for (int n = 0; n < 3; ++n) Frame(horizon, false);
  for (int n = 3; n < 6; ++n) Frame(horizon, false, false);  // trails over what the frames before left
  Frame(horizon, true, false);
  EXPECT_EQ(horizon.LatestStart(), 2u);
}

TEST(ClearHorizon, OnlyAClearThatHoldsEveryStalePixelCounts) {
  ClearHorizon horizon;
  Frame(horizon, false);
  horizon.Cleared(kBack, kTopHalf, true);
  horizon.Cleared(kBack, {0, 50, 100, 100}, true);  // the two halves together: one rectangle per surface is kept
  horizon.DrawnInto(kBack, kTopHalf, true);
  horizon.Read(kBack);
  horizon.EndFrame();
  EXPECT_EQ(horizon.LatestStart(), 0u);

  ClearHorizon corner;
  corner.Fresh(kTarget);
  corner.DrawnInto(kTarget, {0, 0, 10, 10}, false);  // stale only in the top left corner
  corner.EndFrame();
  corner.Cleared(kTarget, {0, 0, 20, 20}, true);  // holds every stale pixel
  corner.DrawnInto(kTarget, kWhole, true);
  corner.Read(kTarget);
  corner.EndFrame();
  EXPECT_EQ(corner.LatestStart(), 1u);
}

TEST(ClearHorizon, RenderTargetSampledBeforeItsClearHoldsTheStartBack) {
  ClearHorizon horizon;
  horizon.Fresh(kTarget);
  const auto frame = [&](bool drawn, bool targetCleared) {
    if (targetCleared) horizon.Cleared(kTarget, kWhole, drawn);
    horizon.DrawnInto(kTarget, kWhole, drawn);
    horizon.Cleared(kBack, kWhole, drawn);
    horizon.Read(kTarget);
    horizon.DrawnInto(kBack, kWhole, drawn);
    horizon.Read(kBack);
    horizon.EndFrame();
  };
  for (int n = 0; n < 3; ++n) frame(false, true);
  frame(false, false);  // the target's echo builds on the frame before
  frame(true, false);
  EXPECT_EQ(horizon.LatestStart(), 2u) << "the last frame that cleared the target";

  horizon = ClearHorizon{};
  for (int n = 0; n < 3; ++n) frame(false, true);
  frame(true, true);
  EXPECT_EQ(horizon.LatestStart(), 3u);
}

TEST(ClearHorizon, StalePixelsNoOneReadsAgainDoNotCount) {
  ClearHorizon horizon;
  for (int n = 0; n < 3; ++n) {
    horizon.Cleared(kDepth, kWhole, false);
    horizon.DrawnInto(kDepth, kWhole, false);
    Frame(horizon, false);
  }
  horizon.Fresh(kDepth);  // detached for good
  Frame(horizon, true);
  EXPECT_EQ(horizon.LatestStart(), 3u);
}

TEST(ClearHorizon, AStartLastsOnlyWhileTheFramesAfterItStayExact) {
  ClearHorizon horizon;
  horizon.DrawnInto(kTarget, kWhole, false);
  Frame(horizon, false);
  Frame(horizon, true);  // does not touch the target
  EXPECT_EQ(horizon.LatestStart(), 1u);
  horizon.Read(kTarget);  // the target as the fast-forward left it
  Frame(horizon, true);
  EXPECT_EQ(horizon.LatestStart(), 0u);
}

}  // namespace
