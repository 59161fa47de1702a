#include <gtest/gtest.h>

#include "tests/tweak/tweak_fixture.h"
#include "tweak/time_control.h"

namespace {

using TimeControl = TweakFixture;

// What the playback loop computes at a frame.
void Frame(DemoClock& clock, uint32_t nowTick) { clock.DemoTime = nowTick - clock.StartTick; }

TEST_F(TimeControl, MovingTheBarOnlyRenamesTheButton) {
  Start();
  clock.StartTick = 1000;
  MoveScrollBar(form, TweakScrollBar::TimeScale, 12500);
  EXPECT_EQ(form.controls.TimeResetCaption, "reset: 12500ms");
  EXPECT_EQ(clock.StartTick, 1000u);
  MoveScrollBar(form, TweakScrollBar::TimeScale, 999999);
  EXPECT_EQ(form.controls.TimeScale.position, 60000);
}

TEST_F(TimeControl, JumpContinuesFromThePositionAtTheNextFrame) {
  Start();
  clock.StartTick = 10000;
  Frame(clock, 15000);  // demo time 5000
  MoveScrollBar(form, TweakScrollBar::TimeScale, 12500);
  ClickButton(form, TweakButton::TimeReset);
  Frame(clock, 15040);
  EXPECT_EQ(clock.DemoTime, 12540u);
  // Pressed again after a frame: the same position, not twice the distance.
  ClickButton(form, TweakButton::TimeReset);
  Frame(clock, 15050);
  EXPECT_EQ(clock.DemoTime, 12510u);
  // Back to 0 restarts the scene.
  MoveScrollBar(form, TweakScrollBar::TimeScale, 0);
  ClickButton(form, TweakButton::TimeReset);
  Frame(clock, 15050);
  EXPECT_EQ(clock.DemoTime, 0u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(TimeControl, StartTickMayPassBelowZeroOfTheTickCounter) {
  uint32_t startTick = 100;
  ASSERT_TRUE(JumpStartTick(startTick, 50, 60000));
  EXPECT_EQ(startTick, static_cast<uint32_t>(100 - 59950));  // wraps as a 32-bit tick does
  EXPECT_EQ(static_cast<uint32_t>(200 - startTick), 60050u);
}

TEST_F(TimeControl, OverflowKeepsTheStartTickAndReportsIt) {
  Start();
  clock.StartTick = 0x80000005u;  // just above the middle of the tick range
  clock.DemoTime = 0;
  MoveScrollBar(form, TweakScrollBar::TimeScale, 100);
  ClickButton(form, TweakButton::TimeReset);
  EXPECT_EQ(TakeMessages(), "Integer overflow: the running time stays as it is");
  EXPECT_EQ(clock.StartTick, 0x80000005u);

  uint32_t startTick = 0x7FFFFFF0u;
  EXPECT_FALSE(JumpStartTick(startTick, 100, 0));  // start - (-100) passes the signed maximum
  EXPECT_EQ(startTick, 0x7FFFFFF0u);
  EXPECT_FALSE(JumpStartTick(startTick, 0x80000000u, 2147483647));  // d itself overflows
}

}  // namespace
