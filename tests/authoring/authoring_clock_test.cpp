// The development clock on a scripted tick: what demo time each frame shows and where the music is
// sought, for pause, section loop, time jumps, --start, restarts and the music lock.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "authoring/authoring_clock.h"

namespace {

// A music stream that plays in step with a scripted tick, rate 1 + driftShare, and records commands.
// positionMs is what is heard; the position it reports runs ahead by the mixer's lead, as a real one does.
struct ScriptedMusic {
  double positionMs = 0;
  bool paused = false;
  double driftShare = 0;
  std::vector<uint32_t> seeks;
  MusicControl Control() {
    return {[this](uint32_t ms) { seeks.push_back(ms), positionMs = ms; },
            [this] { return static_cast<int64_t>(std::lround(positionMs + kMusicLeadMs)); },
            [this](bool p) { paused = p; }};
  }
  void Advance(uint32_t ms) {
    if (!paused) positionMs += ms * (1 + driftShare);
  }
};

// One frame as the program runs it: BeforeFrame, DemoIdle's clock part (with its restart at the end of
// the demo), AfterFrame.
class AuthoringClockTest : public ::testing::Test {
 protected:
  void SetUp() override { clock.StartTick = realTick; }
  uint32_t Frame() {
    BeforeFrame(authoring, clock, AuthoringTick(authoring, realTick), realTick, control);
    clock.DemoTime = AuthoringTick(authoring, realTick) - clock.StartTick;
    if (clock.DemoTime >= demoLengthMs) {  // RestartDemo; RestartMusic plays from the start
      clock.StartTick = AuthoringTick(authoring, realTick);
      clock.DemoTime = 0;
      music.positionMs = 0;
      music.paused = false;
    }
    AfterFrame(authoring, clock, control);
    return clock.DemoTime;
  }
  void Pass(uint32_t ms) {
    realTick += ms;
    music.Advance(ms);
  }
  // The time control's jump to positionMs (the tweak window moves StartTick).
  void Jump(uint32_t positionMs) { clock.StartTick -= positionMs - clock.DemoTime; }

  uint32_t realTick = 0xFFFFF000u;  // wraps during the test
  uint32_t demoLengthMs = 60000;
  DemoClock clock;
  AuthoringClock authoring;
  ScriptedMusic music;
  MusicControl control = music.Control();
};

TEST_F(AuthoringClockTest, UntouchedItIsTheRealTick) {
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(AuthoringTick(authoring, realTick), realTick);
    EXPECT_EQ(Frame(), i * 16u);
    Pass(16);
  }
  EXPECT_TRUE(music.seeks.empty());
}

TEST_F(AuthoringClockTest, PauseHoldsPictureAndMusicAndResumesWhereItStopped) {
  Pass(1000);
  EXPECT_EQ(Frame(), 1000u);
  TogglePause(authoring, realTick, control);
  EXPECT_TRUE(music.paused);
  for (int i = 0; i < 5; ++i) {
    Pass(300);
    EXPECT_EQ(Frame(), 1000u) << "frames go on at the paused time";
  }
  EXPECT_EQ(music.positionMs, 1000);
  TogglePause(authoring, realTick, control);
  EXPECT_TRUE(music.paused) << "the music resumes with the next frame, at its time";
  Pass(20);
  EXPECT_EQ(Frame(), 1020u);
  EXPECT_FALSE(music.paused);
  EXPECT_EQ(music.seeks, std::vector<uint32_t>{1020});
  Pass(500);
  EXPECT_EQ(Frame(), 1520u);
}

TEST_F(AuthoringClockTest, TimeJumpWhilePausedMovesThePausedPictureAndTheMusic) {
  Pass(2000);
  Frame();
  TogglePause(authoring, realTick, control);
  Pass(100);
  Jump(7000);
  EXPECT_EQ(Frame(), 7000u);
  EXPECT_EQ(music.seeks, std::vector<uint32_t>{7000});
  EXPECT_TRUE(music.paused);
  Pass(100);
  EXPECT_EQ(Frame(), 7000u);
}

TEST_F(AuthoringClockTest, LoopWrapsFromOutToInWithTheOvershootAndSeeksTheMusic) {
  Pass(4000);
  Frame();
  SetLoopIn(authoring, clock.DemoTime);
  Pass(4000);
  Frame();
  SetLoopOut(authoring, clock.DemoTime);
  ASSERT_TRUE(LoopActive(authoring));
  Pass(16);
  EXPECT_EQ(Frame(), 4016u) << "from loop-out on, playback continues at loop-in";
  Pass(3984);
  EXPECT_EQ(Frame(), 4000u) << "landing on loop-out shows loop-in";
  Pass(4100);
  EXPECT_EQ(Frame(), 4100u) << "a long frame past loop-out keeps its overshoot";
  EXPECT_EQ(music.seeks, (std::vector<uint32_t>{4016, 4000, 4100}));
  for (int i = 0; i < 400; ++i) {
    Pass(37);
    const uint32_t shown = Frame();
    ASSERT_GE(shown, 4000u);
    ASSERT_LT(shown, 8000u);
    ASSERT_EQ(music.positionMs, shown) << "the music stays with the picture";
  }
  ClearLoop(authoring);
  const uint32_t before = clock.DemoTime;
  Pass(8000);
  EXPECT_EQ(Frame(), before + 8000) << "no loop once cleared";
}

TEST_F(AuthoringClockTest, LoopNeedsBothPointsInOrderAndAJumpPastItPlaysOn) {
  SetLoopOut(authoring, 3000);
  EXPECT_FALSE(LoopActive(authoring));
  SetLoopIn(authoring, 5000);
  EXPECT_FALSE(LoopActive(authoring)) << "in after out";
  Pass(6000);
  EXPECT_EQ(Frame(), 6000u);
  SetLoopIn(authoring, 1000);
  Frame();
  Jump(9000);
  EXPECT_EQ(Frame(), 9000u) << "a jump past loop-out is not pulled back";
  Pass(500);
  EXPECT_EQ(Frame(), 9500u);
  Jump(2000);
  Frame();
  Pass(1000);
  EXPECT_EQ(Frame(), 1000u) << "coming round to loop-out again wraps";
}

TEST_F(AuthoringClockTest, PausedOnLoopOutStaysThere) {
  SetLoopIn(authoring, 100);
  Pass(900);
  Frame();
  TogglePause(authoring, realTick, control);
  SetLoopOut(authoring, clock.DemoTime);
  Pass(50);
  EXPECT_EQ(Frame(), 900u);
  TogglePause(authoring, realTick, control);
  Pass(30);
  EXPECT_EQ(Frame(), 130u);
}

TEST_F(AuthoringClockTest, StartJumpsAtTheFirstFrame) {
  authoring.startMs = 30000;
  Pass(5);
  EXPECT_EQ(Frame(), 30005u);
  EXPECT_EQ(music.seeks, std::vector<uint32_t>{30005});
  Pass(100);
  EXPECT_EQ(Frame(), 30105u);
  EXPECT_EQ(music.seeks.size(), 1u);
}

TEST_F(AuthoringClockTest, RestartAtTheDemosEndSeeksAndKeepsAPause) {
  demoLengthMs = 10000;
  Pass(9990);
  Frame();
  Pass(20);
  EXPECT_EQ(Frame(), 0u);
  EXPECT_EQ(music.seeks.back(), 0u);
  TogglePause(authoring, realTick, control);
  Jump(10000);  // a jump to the end while paused restarts at 0 and stays paused
  EXPECT_EQ(Frame(), 0u);
  EXPECT_TRUE(music.paused);
  Pass(100);
  EXPECT_EQ(Frame(), 0u);
}

TEST_F(AuthoringClockTest, FollowingMusicTakesUpItsDriftWithoutSeeking) {
  authoring.followMusic = true;
  demoLengthMs = 2000000;
  music.driftShare = 0.01;  // a sound card one percent fast: 6 s in ten minutes
  double worstMs = 0;
  uint32_t realMs = 0;
  for (int frame = 0; frame < 600 * 60; ++frame) {  // ten minutes at 60 frames a second
    const uint32_t frameMs = frame % 3 == 0 ? 17 : 16;
    realMs += frameMs;
    Pass(frameMs);
    Frame();
    if (frame > 120) worstMs = std::max(worstMs, std::abs(music.positionMs - clock.DemoTime));
  }
  EXPECT_LT(worstMs, 15.0);
  EXPECT_TRUE(music.seeks.empty()) << "no audible jumps for a steady drift";
  EXPECT_NEAR(clock.DemoTime, realMs * 1.01, 20) << "the picture runs at the music's speed";
}

TEST_F(AuthoringClockTest, FollowingMusicSeeksWhenTheMusicFallsFarBehind) {
  authoring.followMusic = true;
  for (int frame = 0; frame < 100; ++frame) Pass(16), Frame();
  music.positionMs -= 200;  // the audio thread starved for a while
  for (int frame = 0; frame < 30; ++frame) Pass(16), Frame();
  ASSERT_EQ(music.seeks.size(), 1u);
  EXPECT_LT(std::abs(music.positionMs - clock.DemoTime), 20.0);
}

// The playback loop's own order: the tick read at a frame's start must not lie before StartTick (its
// timing check ends the program), and a restart at the demo's end sets StartTick to the tick at the end
// of the frame, with the next frame starting in the same millisecond. Slowing the picture down toward
// music that falls behind never takes the tick back before such a restart.
TEST_F(AuthoringClockTest, FollowingMusicNeverTakesTheTickBackBeforeARestart) {
  authoring.followMusic = true;
  demoLengthMs = 2000;
  // A sound card a little fast whose stream reports the position it was sought to, without the mixer's
  // lead: right after each restart the picture seems ahead and is slowed down.
  music.driftShare = 0.013;
  control.PositionMs = [this] { return static_cast<int64_t>(std::lround(music.positionMs)); };
  int faults = 0, restarts = 0;
  for (int frame = 0; frame < 20000; ++frame) {  // about twelve minutes of a 2-second demo on a loop
    BeforeFrame(authoring, clock, AuthoringTick(authoring, realTick), realTick, control);
    const uint32_t nowTick = AuthoringTick(authoring, realTick);
    if (static_cast<int32_t>(nowTick - clock.StartTick) < 0) ++faults;
    else clock.DemoTime = nowTick - clock.StartTick;
    Pass(5 + (frame * 37) % 61);           // the drawing, 5..65 ms
    if (clock.DemoTime >= demoLengthMs) {  // RestartDemo at the frame's end
      clock.StartTick = AuthoringTick(authoring, realTick);
      clock.DemoTime = 0;
      ++restarts;
    }
    AfterFrame(authoring, clock, control);
  }
  EXPECT_GT(restarts, 300);
  EXPECT_EQ(faults, 0);
}

TEST_F(AuthoringClockTest, AMusicLockLeavesARealClockFaultToTheTimingCheck) {
  authoring.followMusic = true;
  for (int frame = 0; frame < 100; ++frame) Pass(16), Frame();
  realTick -= 5000;  // the real tick itself went back
  BeforeFrame(authoring, clock, AuthoringTick(authoring, realTick), realTick, control);
  EXPECT_LT(static_cast<int32_t>(AuthoringTick(authoring, realTick) - clock.StartTick), 0);
}

TEST_F(AuthoringClockTest, PastTheMusicsEndThePictureRunsOnAlone) {
  authoring.followMusic = true;
  const double endMs = 3000;
  control.Seek = [this, endMs](uint32_t ms) {
    music.seeks.push_back(ms), music.positionMs = std::min<double>(ms, endMs);
  };
  for (int frame = 0; frame < 400; ++frame) {
    Pass(16);
    music.positionMs = std::min(music.positionMs, endMs);
    Frame();
  }
  EXPECT_NEAR(clock.DemoTime, 400 * 16, 5) << "neither stalled nor hurried by the stopped music";
  EXPECT_EQ(music.seeks.size(), 1u) << "one seek finds the end, then no more";
}

}  // namespace
