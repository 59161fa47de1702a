// The morph of a parameter set towards a preset: each kind of value on its own path, and both ends exact.
#include "authoring/morph.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

int FirstOfType(ParamType type) {
  for (int i = 0; i < kParamCount; ++i)
    if (EvaluationType(i) == type) return i;
  return -1;
}

class Morph : public ::testing::Test {
 protected:
  void SetUp() override {
    from = InitParamTable();
    to = InitParamTable();
    ASSERT_GE(real, 0);
    ASSERT_GE(word, 0);
    ASSERT_GE(flag, 0);
    to[kRed].BaseVal = 255;  // from 157
    to[kGreen].BaseVal = 0;  // from 68
    from[real].BaseVal = 1.0f;
    to[real].BaseVal = 3.0f;
    from[word].BaseVal = 0;
    to[word].BaseVal = 3;
    from[flag].BaseVal = 0;
    to[flag].BaseVal = 1;
    from[real].OscForm = 1;
    to[real].OscForm = 4;
    from[kRed].Osc1 = 0.5f;
    to[kRed].Osc1 = 1.5f;
    to[kRed].Osc2 = -10;
  }
  static constexpr int kRed = 0, kGreen = 1;  // byte:BG_r, byte:BG_g
  const int real = FirstOfType(ParamType::Sing);
  const int word = FirstOfType(ParamType::Word);
  const int flag = FirstOfType(ParamType::Bool);
  TScene1ParamIArray from, to;
};

TEST_F(Morph, RealsAndOscillatorValuesGoAlongALine) {
  const TScene1ParamIArray quarter = MorphParams(from, to, 0.25);
  EXPECT_FLOAT_EQ(quarter[real].BaseVal, 1.5f);
  EXPECT_FLOAT_EQ(quarter[kRed].Osc1, 0.75f) << "every parameter's oscillator values, a byte's too";
  EXPECT_FLOAT_EQ(quarter[kRed].Osc2, -2.5f);
}

TEST_F(Morph, ColourChannelsAndWholeNumbersAreRoundedEachOnItsOwn) {
  const TScene1ParamIArray half = MorphParams(from, to, 0.5);
  EXPECT_EQ(half[kRed].BaseVal, 206) << "157 + 98 / 2 = 206";
  EXPECT_EQ(half[kGreen].BaseVal, 34);
  EXPECT_EQ(half[kRed + 2].BaseVal, from[kRed + 2].BaseVal) << "a channel both sets share stays";
  EXPECT_EQ(MorphParams(from, to, 0.3)[word].BaseVal, 1) << "0.9 rounds to 1";
  EXPECT_EQ(MorphParams(from, to, 0.5)[word].BaseVal, 2) << "1.5 rounds to the even 2";
}

TEST_F(Morph, SwitchesAndOscillatorFormsFlipAtTheMiddle) {
  EXPECT_EQ(MorphParams(from, to, 0.49)[flag].BaseVal, 0);
  EXPECT_EQ(MorphParams(from, to, 0.49)[real].OscForm, 1);
  EXPECT_EQ(MorphParams(from, to, 0.5)[flag].BaseVal, 1);
  EXPECT_EQ(MorphParams(from, to, 0.5)[real].OscForm, 4);
}

TEST_F(Morph, TheEndsAreTheSetsExactlyAndSharesOutsideAreClamped) {
  from[real].BaseVal = 0.1f;
  to[real].BaseVal = 0.7f;  // a path whose end a sum would miss by a bit
  for (const double share : {1.0, 2.0}) {
    const TScene1ParamIArray end = MorphParams(from, to, share);
    for (int i = 0; i < kParamCount; ++i) {
      EXPECT_EQ(std::bit_cast<uint32_t>(end[i].BaseVal), std::bit_cast<uint32_t>(to[i].BaseVal)) << i;
      EXPECT_EQ(end[i].OscForm, to[i].OscForm) << i;
      EXPECT_EQ(end[i].Osc1, to[i].Osc1) << i;
    }
  }
  for (const double share : {0.0, -1.0}) {
    const TScene1ParamIArray start = MorphParams(from, to, share);
    for (int i = 0; i < kParamCount; ++i) EXPECT_EQ(start[i].BaseVal, from[i].BaseVal) << i;
  }
}

}  // namespace
