#include "engine/stats_caption.h"

#include <gtest/gtest.h>

TEST(StatsCaption, ConcatenatesTheFigures) {
  DemoClock clock;
  clock.FrameCount = 321;
  clock.DemoTime = 12000;
  clock.FxTime = 6000;
  clock.Fps = 62;
  clock.AvgFps = 27;
  EXPECT_EQ(StatsCaption({640, 480, 640, 360}, clock, 60000),
            "F.c: 640/480 A.s: 640/360 f: 321 \xC2\xB0 t: 12000 (20%) ms \xC2\xB0 fx-t: 6000ms \xC2\xB0 fps: 62 "
            "\xC2\xB0 afps: 27");
}

TEST(StatsCaption, FirstFrameAndProgressRounding) {
  DemoClock clock;
  clock.FrameCount = 1;
  clock.AvgFps = 1000;
  const std::string first = StatsCaption({320, 240, 320, 160}, clock, 60000);
  EXPECT_NE(first.find(" t: 0 (0%) "), std::string::npos);
  EXPECT_NE(first.find("fps: 0 \xC2\xB0 afps: 1000"), std::string::npos);
  clock.DemoTime = 125;  // 12.5 % rounds to even
  EXPECT_NE(StatsCaption({}, clock, 1000).find("(12%)"), std::string::npos);
  clock.DemoTime = 1000;
  EXPECT_NE(StatsCaption({}, clock, 1000).find("(100%)"), std::string::npos);
}

TEST(StatsCaption, MusicLoadIsAppended) {
  EXPECT_EQ(WithMusicCpu("x", 2.5f), "x \xC2\xB0 mcpu: 2%");
  EXPECT_EQ(WithMusicCpu("x", 3.7f), "x \xC2\xB0 mcpu: 4%");
}
