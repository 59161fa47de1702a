#include "engine/play_options.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayOptions, TakesMusicAndStartAndLeavesTheRest) {
  std::vector<std::string> args{"--start", "4000", "mydata", "--music"};
  PlayOptions options;
  ASSERT_TRUE(TakePlayOptions(args, true, options));
  EXPECT_TRUE(options.music);
  EXPECT_EQ(options.startMs, 4000u);
  EXPECT_EQ(args, std::vector<std::string>{"mydata"});

  std::vector<std::string> none{"data"};
  PlayOptions defaults;
  ASSERT_TRUE(TakePlayOptions(none, false, defaults));
  EXPECT_FALSE(defaults.music);
  EXPECT_FALSE(defaults.startMs);
  EXPECT_FALSE(defaults.frameStepMs) << "the wall clock unless asked";
}

TEST(PlayOptions, TakesAFrameStepInAnyMode) {
  for (bool developmentMode : {false, true}) {
    std::vector<std::string> args{"--frame-step", "40", "mydata"};
    PlayOptions options;
    ASSERT_TRUE(TakePlayOptions(args, developmentMode, options));
    EXPECT_EQ(options.frameStepMs, 40u);
    EXPECT_EQ(args, std::vector<std::string>{"mydata"});
  }
  std::vector<std::string> still{"--frame-step", "0"};
  PlayOptions options;
  ASSERT_TRUE(TakePlayOptions(still, false, options));
  EXPECT_EQ(options.frameStepMs, 0u) << "0 holds one moment";
}

TEST(PlayOptions, TakesAFrameRateCap) {
  std::vector<std::string> args{"mydata", "--max-fps", "30"};
  PlayOptions options;
  ASSERT_TRUE(TakePlayOptions(args, false, options));
  EXPECT_EQ(options.maxFps, 30u);
  EXPECT_EQ(args, std::vector<std::string>{"mydata"});
  std::vector<std::string> none{};
  PlayOptions defaults;
  ASSERT_TRUE(TakePlayOptions(none, false, defaults));
  EXPECT_FALSE(defaults.maxFps) << "the display's refresh unless asked";
}

TEST(PlayOptions, RefusesWhatItCannotUse) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"--start"}, {"--start", "-1"}, {"--start", "12ms"}, {"--start", "2147483648"}, {"--frame-step"},
           {"--frame-step", "-5"}, {"--frame-step", "60001"}, {"--frame-step", "1.5"}, {"--max-fps"},
           {"--max-fps", "-1"}, {"--max-fps", "1001"}, {"--max-fps", "29.97"}}) {
    PlayOptions options;
    EXPECT_FALSE(TakePlayOptions(args, true, options)) << args.size();
  }
  std::vector<std::string> music{"--music"};
  PlayOptions options;
  EXPECT_FALSE(TakePlayOptions(music, false, options)) << "music is the launcher's switch outside -d";
}

}  // namespace
