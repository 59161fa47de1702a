#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "scene/shared_random.h"
#include "tests/tweak/tweak_fixture.h"
#include "tweak/randomizer.h"

namespace {

class Randomizer : public TweakFixture {
 protected:
  void SetUp() override {
    Start(1);
    SeedRandom(20240611);
  }
  void SetChance(int percent) { MoveScrollBar(form, TweakScrollBar::Possibility, percent); }
  void CheckGroups(bool checked) {
    TweakControls& c = form.controls;
    c.RandFog = c.RandBlend = c.RandSprite = c.RandR2T = c.RandPointsprites = c.RandCamera = c.RandObject = checked;
  }
};

struct Range {
  double minimum, maximum;  // inclusive for whole numbers, [minimum, maximum) for reals
  bool whole;
};
constexpr Range U(int n, int offset = 0) { return {double(offset), double(n - 1 + offset), true}; }
constexpr Range R(double scale, double offset = 0) { return {offset, scale + offset, false}; }

// What "rand" may draw for each parameter, in table order.
const Range kRanges[kParamCount] = {
    U(256),    U(256),    U(256),
    U(4),      R(3),      R(3),
    R(3),      U(2),      U(2),
    U(2),  // 0-9
    U(9),      R(3),      U(200),
    U(2),      U(2),      U(2),
    U(2),      U(2),      U(13),
    U(13),  // 10-19
    R(50),     R(50),     R(10, -5),
    R(10, -5), R(1000),   U(9),
    U(4),      R(1),      U(256),  // 20-28
    R(50),     R(50),     R(10, -5),
    R(10, -5), R(1000),   U(9),
    U(4),      R(1),      U(256),  // 29-37
    U(50),     R(10),     U(2, 5),
    U(6),      U(10, -5), U(100),
    U(9),      R(10),     R(1),  // 38-46
    U(7),      U(30, 1),  {0, 1.57, false},
    R(3),      U(2),      U(2),
    U(10),     U(5),      U(13),
    U(13),  // 47-56
    U(2),      U(4),      U(7),
    U(3, 1),   U(3, 1),   U(5, 1),  // 57-62
    U(2),      U(4),      U(4),
    U(2),      U(5),      U(20),
    U(256),    U(256),    U(256),
    U(2),  // 63-72
    U(2),      U(2),      U(2),
    U(4),  // 73-76
};

TEST_F(Randomizer, RandDrawsEveryParameterWithinItsRange) {
  SetChance(99);
  std::vector<std::set<float>> seen(kParamCount);
  for (int run = 0; run < 300; ++run) {
    ClickButton(form, TweakButton::Rand);
    for (int i = 0; i < kParamCount; ++i) seen[i].insert(Live(i).BaseVal);
  }
  for (int i = 0; i < kParamCount; ++i) {
    const Range& range = kRanges[i];
    for (float value : seen[i]) {
      EXPECT_GE(value, range.minimum) << i;
      if (range.whole) {
        EXPECT_LE(value, range.maximum) << i;
        EXPECT_EQ(value, std::floor(value)) << i;
      } else if (i != 49) {
        EXPECT_LT(value, range.maximum) << i;
      }
    }
    EXPECT_GT(seen[i].size(), 1u) << i;  // the parameter was redrawn
  }
  EXPECT_EQ(seen[49], (std::set<float>{0.0f, 1.57f, InitParamTable()[49].BaseVal}));
  // Texture size factor: 0, or 5..9 (the preset's 8 is among them).
  EXPECT_EQ(seen[53], (std::set<float>{0, 5, 6, 7, 8, 9}));
  EXPECT_EQ(seen[40], (std::set<float>{5, 6}));
  EXPECT_EQ(*seen[42].begin(), -5);
  EXPECT_EQ(*seen[42].rbegin(), 4);
}

TEST_F(Randomizer, UncheckedGroupsAreLeftAlone) {
  SetChance(99);
  CheckGroups(false);
  form.controls.RandOsc = false;
  const TScene1ParamIArray before = scene.LiveParams;
  std::set<int> changed;
  for (int run = 0; run < 50; ++run) {
    ClickButton(form, TweakButton::Rand);
    for (int i = 0; i < kParamCount; ++i) {
      if (Live(i).BaseVal != before[i].BaseVal) changed.insert(i);
      EXPECT_EQ(Live(i).OscForm, before[i].OscForm);
      EXPECT_EQ(Live(i).Osc2, before[i].Osc2);
    }
  }
  EXPECT_EQ(changed.size(), 23u);
  for (int i : changed) EXPECT_EQ(RandGroupOf(i), RandGroup::None) << i;

  // One group switched back on adds exactly its members.
  form.controls.RandCamera = true;
  for (int run = 0; run < 50; ++run) ClickButton(form, TweakButton::Rand);
  EXPECT_NE(Live(41).BaseVal, before[41].BaseVal);
  EXPECT_EQ(Live(3).BaseVal, before[3].BaseVal);  // object group still off
}

TEST_F(Randomizer, OscillatorPassRerollsEveryParameter) {
  SetChance(99);
  ClickButton(form, TweakButton::Rand);
  int moving = 0;
  for (int i = 0; i < kParamCount; ++i) {
    if (Live(i).OscForm == 0) continue;
    ++moving;
    EXPECT_LE(Live(i).OscForm, 6);
    EXPECT_EQ(Live(i).Osc1, 0.001f);
    EXPECT_TRUE(Live(i).Osc2 == 1 || Live(i).Osc2 == 2 || Live(i).Osc2 == 3) << Live(i).Osc2;
  }
  EXPECT_GT(moving, 70);

  SetChance(1);
  ClickButton(form, TweakButton::Rand);
  int still = 0;
  for (int i = 0; i < kParamCount; ++i)
    if (Live(i).OscForm == 0 && Live(i).Osc1 == 0 && Live(i).Osc2 == 0) ++still;
  EXPECT_GT(still, 70);
}

TEST_F(Randomizer, RollChanceFollowsThePossibility) {
  for (int percent : {1, 50, 99}) {
    SetChance(percent);
    int hits = 0;
    for (int n = 0; n < 20000; ++n) hits += RollChance(form);
    EXPECT_NEAR(hits / 20000.0, percent / 100.0, 0.015) << percent;
  }
  SetChance(0);  // the bar's range is 1..99
  EXPECT_EQ(form.controls.Possibility.position, 1);
}

// "var" on a parameter of the given name and base value, pressed many times from that value, gives
// every expected value and nothing else (the base itself also when a roll is lost).
void ExpectVar(TweakForm& form, SceneState& scene, const char* name, float base, std::set<float> expected) {
  std::set<float> results;
  for (int run = 0; run < 300; ++run) {
    scene.LiveParams[kSingTweakY] = SetParam(name, 0, base, 0, 0);
    ClickButton(form, TweakButton::Var);
    results.insert(scene.LiveParams[kSingTweakY].BaseVal);
  }
  for (float value : expected) EXPECT_TRUE(results.count(value)) << name << " " << base << " never gave " << value;
  expected.insert(base);
  for (float value : results) EXPECT_TRUE(expected.count(value)) << name << " " << base << " gave " << value;
}

TEST_F(Randomizer, VarStepsOneUnitWithinTheType) {
  SetChance(99);
  ExpectVar(form, scene, "byte:X", 255, {254, 255});
  ExpectVar(form, scene, "byte:X", 0, {0, 1});
  ExpectVar(form, scene, "byte:X", -3, {252, 253, 254});
  ExpectVar(form, scene, "byte:X", 7.5f, {7, 8, 9});  // rounds half to even first
  ExpectVar(form, scene, "bool:X", 1, {0, 1});
  ExpectVar(form, scene, "bool:X", 0, {0, 1});
  ExpectVar(form, scene, "word:X", 70000, {4463, 4464, 4465});
  ExpectVar(form, scene, "byte:X", 1e30f, {0, 1});  // a multiple of 256: wraps to 0, no overflow
  ExpectVar(form, scene, "sing:X", 0.5f, {0.4f, 0.5f, 0.6f});
  ExpectVar(form, scene, "odd:X", 7.5f, {});
}

TEST_F(Randomizer, VarNudgesMovingOscillatorsOnly) {
  SetChance(99);
  Live(kSingTweakY) = SetParam("sing:_TweakY", 0, 1, 0.5f, 7);
  Live(kSingTweakX) = SetParam("sing:_TweakX", 4, 1, 0.05f, 2);
  std::set<float> osc1, osc2;
  for (int run = 0; run < 100; ++run) {
    Live(kSingTweakX).Osc1 = 0.05f;
    Live(kSingTweakX).Osc2 = 2;
    ClickButton(form, TweakButton::Var);
    osc1.insert(Live(kSingTweakX).Osc1);
    osc2.insert(Live(kSingTweakX).Osc2);
    EXPECT_EQ(Live(kSingTweakX).OscForm, 4);
    EXPECT_EQ(Live(kSingTweakY).Osc1, 0.5f);
    EXPECT_EQ(Live(kSingTweakY).Osc2, 7);
  }
  EXPECT_EQ(osc1, (std::set<float>{0.05f - 0.01f, 0.05f, 0.05f + 0.01f}));
  EXPECT_EQ(osc2, (std::set<float>{1, 2, 3}));

  form.controls.RandOsc = false;
  ClickButton(form, TweakButton::Var);
  ClickButton(form, TweakButton::Var);
  EXPECT_EQ(Live(kSingTweakY).OscForm, 0);
}

}  // namespace
