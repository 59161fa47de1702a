// The frame loop's pace on a made-up clock: a steady rhythm at the cap, no burst after a slow frame.
#include "engine/frame_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePacer, KeepsTheRhythmOfTheCapAndStartsItAnewAfterASlowFrame) {
  FramePacer pacer(50);  // 20 ms a frame
  pacer.FrameStarted(1.000);
  EXPECT_NEAR(pacer.SecondsToNext(1.005), 0.015, 1e-9) << "a 5 ms frame waits out the rest";
  pacer.FrameStarted(1.022);  // the timer fired 2 ms late: the next one is still due at 1.040
  EXPECT_NEAR(pacer.SecondsToNext(1.030), 0.010, 1e-9);
  pacer.FrameStarted(1.040);
  EXPECT_EQ(pacer.SecondsToNext(1.100), 0.0) << "a 60 ms frame: the next is due at once";
  pacer.FrameStarted(1.100);  // 40 ms late: a new rhythm from here, not three quick frames
  EXPECT_NEAR(pacer.SecondsToNext(1.101), 0.019, 1e-9);
}

TEST(FramePacer, WithoutACapEveryFrameIsDueAtOnce) {
  FramePacer pacer(0);
  pacer.FrameStarted(2.0);
  EXPECT_EQ(pacer.SecondsToNext(2.0), 0.0);
}

}  // namespace
