// The fixed-step clock of --render and the export, and the frames of a time range, at whole and at
// fractional rates.
#include <gtest/gtest.h>

#include "draw/offscreen_demo.h"

namespace {

TEST(FrameClock, FractionalRateStepsByItsExactPeriod) {
  const FrameRate ntsc{30000, 1001};
  EXPECT_EQ(FixedStepFrameTimeMs(1, ntsc), 33u);
  EXPECT_EQ(FixedStepFrameTimeMs(30, ntsc), 1001u);
  EXPECT_EQ(FixedStepFrameTimeMs(30000, ntsc), 1001000u) << "no drift over a long demo";
  EXPECT_EQ(FixedStepFrameTimeMs(7, {60, 1}), 116u);
}

TEST(FrameClock, RangesHoldTheFramesWhoseTimesLieInThem) {
  const FrameSpan whole = FramesBetween(0, 96000, {60, 1});
  EXPECT_EQ(whole.first, 0u);
  EXPECT_EQ(whole.last, 5760u);
  const FrameSpan first = FramesBetween(0, 16, {60, 1});  // 0 and 16 ms
  EXPECT_EQ(first.last, 1u);
  const FrameSpan late = FramesBetween(17, 50, {60, 1});  // 33 and 50 ms
  EXPECT_EQ(late.first, 2u);
  EXPECT_EQ(late.last, 3u);
  EXPECT_GT(FramesBetween(101, 199, {10, 1}).first, FramesBetween(101, 199, {10, 1}).last) << "none";
  // Ranges that meet cover every frame once, at any rate.
  for (const FrameRate rate : {FrameRate{60, 1}, FrameRate{30000, 1001}, FrameRate{7, 1}, FrameRate{240, 1}}) {
    uint64_t next = 0;
    for (uint32_t fromMs = 0; fromMs < 5000; fromMs += 333) {
      const FrameSpan span = FramesBetween(fromMs, fromMs + 332, rate);
      EXPECT_EQ(span.first, next) << rate.numerator << " from " << fromMs;
      for (uint64_t n = span.first; n <= span.last; ++n) {
        EXPECT_GE(FixedStepFrameTimeMs(n, rate), fromMs);
        EXPECT_LE(FixedStepFrameTimeMs(n, rate), fromMs + 332);
      }
      next = span.last + 1;
    }
  }
}

}  // namespace
