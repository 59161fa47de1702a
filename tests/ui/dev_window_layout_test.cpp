#include "ui/dev_window_layout.h"

#include <gtest/gtest.h>

namespace {

bool Overlap(const ScreenRectPx& a, const ScreenRectPx& b) {
  return a.xPx < b.xPx + b.widthPx && b.xPx < a.xPx + a.widthPx && a.yPx < b.yPx + b.heightPx &&
         b.yPx < a.yPx + a.heightPx;
}

bool Inside(const ScreenRectPx& inner, const ScreenRectPx& screen) {
  return inner.xPx >= screen.xPx && inner.yPx >= screen.yPx &&
         inner.xPx + inner.widthPx <= screen.xPx + screen.widthPx &&
         inner.yPx + inner.heightPx <= screen.yPx + screen.heightPx;
}

constexpr int kTweakW = 286, kTweakH = 559;

// No window over another, all on the screen.
void ExpectApartOnTheScreen(const DevWindowLayout& l, const ScreenRectPx& screen) {
  EXPECT_FALSE(Overlap(l.output, l.tweak));
  EXPECT_FALSE(Overlap(l.output, l.timeline));
  EXPECT_FALSE(Overlap(l.tweak, l.timeline));
  EXPECT_TRUE(Inside(l.output, screen));
  EXPECT_TRUE(Inside(l.tweak, screen));
  EXPECT_TRUE(Inside(l.timeline, screen));
}

TEST(DevWindowLayout, ThreeWindowsSideBySideAndBelowWithoutOverlap) {
  for (const ScreenRectPx screen : {ScreenRectPx{0, 0, 1280, 1024}, ScreenRectPx{1920, 24, 1920, 1056}}) {
    const DevWindowLayout l = LayOutDevWindows(screen, 640, 480, kTweakW, kTweakH);
    SCOPED_TRACE(screen.widthPx);
    EXPECT_EQ(l.output.widthPx, 640);
    EXPECT_EQ(l.output.heightPx, 480);
    EXPECT_LT(l.output.xPx, l.tweak.xPx);
    ExpectApartOnTheScreen(l, screen);
  }
}

// 1024x768 and lower: the timeline below the output, left of the tweak window, with room for its rows;
// the output shrinks for it (aspect kept).
TEST(DevWindowLayout, LowScreenPutsTheTimelineBesideTheTweakWindow) {
  for (const ScreenRectPx screen : {ScreenRectPx{0, 0, 1024, 768}, ScreenRectPx{0, 0, 800, 600}}) {
    SCOPED_TRACE(screen.widthPx);
    const DevWindowLayout l = LayOutDevWindows(screen, 640, 480, kTweakW, kTweakH);
    EXPECT_LE(l.output.widthPx, screen.widthPx - kTweakW - kDevWindowGapPx);
    EXPECT_NEAR(l.output.heightPx, l.output.widthPx * 480.0 / 640.0, 1.0);
    EXPECT_GE(l.timeline.heightPx, kTimelineMinHeightPx);
    EXPECT_GE(l.timeline.widthPx, screen.widthPx - kTweakW - kDevWindowGapPx);
    ExpectApartOnTheScreen(l, screen);
  }
}

}  // namespace
