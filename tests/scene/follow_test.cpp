// Parameters that follow the soundtrack's envelopes, the header line that stores such a follow, and a
// layer's evaluation with follows.
#include <gtest/gtest.h>

#include <cfloat>
#include <memory>

#include "scene/automation.h"
#include "scene/follow_line.h"
#include "scene/scene_messages.h"
#include "scene/scene_update.h"
#include "scene/sequence.h"
#include "scene/sound_envelopes.h"

namespace {

constexpr int kByteParam = 0;  // byte:BG_r
constexpr int kRealParam = 4;  // sing:_TweakX

// Envelopes 3 ms long: low rises 0, 0.5, 1; the others stay 0 but for onset at 1 ms.
SoundEnvelopes ThreeMs() {
  SoundEnvelopes envelopes;
  envelopes.levels[size_t(SoundSource::Low)] = {0, 0.5f, 1};
  envelopes.levels[size_t(SoundSource::Mid)] = {0, 0, 0};
  envelopes.levels[size_t(SoundSource::High)] = {0, 0, 0};
  envelopes.levels[size_t(SoundSource::Onset)] = {0, 1, 0};
  return envelopes;
}

TEST(Follow, MultipliesTheValueByOffsetPlusGainTimesTheEnvelopeAtTheMusicTime) {
  const SoundEnvelopes envelopes = ThreeMs();
  const ParamFollow follow{kRealParam, SoundSource::Low, 2, 1};
  EXPECT_FLOAT_EQ(FollowedValue(follow, envelopes, 0, 3), 3);
  EXPECT_FLOAT_EQ(FollowedValue(follow, envelopes, 1, 3), 6);
  EXPECT_FLOAT_EQ(FollowedValue(follow, envelopes, 2, 3), 9);
  EXPECT_FLOAT_EQ(FollowedValue(follow, envelopes, -1, 3), 3) << "before the music: the envelope is 0";
  EXPECT_FLOAT_EQ(FollowedValue(follow, envelopes, 3, 3), 3) << "after the music: the envelope is 0";
  EXPECT_FLOAT_EQ(FollowedValue(follow, SoundEnvelopes{}, 1, 3), 3) << "no music";
  EXPECT_FLOAT_EQ(FollowedValue({kRealParam, SoundSource::Onset, -4, 0}, envelopes, 1, 3), -12);
}

TEST(Follow, KeepsTheValueWithinWhatTheParameterTypeHolds) {
  const SoundEnvelopes envelopes = ThreeMs();
  EXPECT_FLOAT_EQ(FollowedValue({kByteParam, SoundSource::Low, 10, 0}, envelopes, 2, 200), 255);
  EXPECT_FLOAT_EQ(FollowedValue({kByteParam, SoundSource::Low, 1, -1}, envelopes, 0, 200), 0);
  EXPECT_FLOAT_EQ(FollowedValue({kRealParam, SoundSource::Low, FLT_MAX, 0}, envelopes, 2, FLT_MAX), FLT_MAX);
  EXPECT_FLOAT_EQ(FollowedValue({kRealParam, SoundSource::Low, FLT_MAX, 0}, envelopes, 2, -FLT_MAX), -FLT_MAX);
}

TEST(FollowLine, ReadsBackWhatItWrites) {
  const FollowLine lines[] = {
      {0, {0, SoundSource::Low, 1, 0}},
      {254, {76, SoundSource::Onset, -0.001f, 1e-05f}},
      {3, {12, SoundSource::High, 1.5f, FLT_MAX}},
      {7, {40, SoundSource::Mid, 0.1f, -2.75f}},
  };
  for (const FollowLine& line : lines) {
    FollowLine read;
    ASSERT_EQ(ParseFollowLine(FollowLineText(line), read), "") << FollowLineText(line);
    EXPECT_EQ(read, line) << FollowLineText(line);
  }
  EXPECT_EQ(FollowLineText({3, {12, SoundSource::Low, 1.5f, 0.25f}}), "// follow 3 12 low 1.5 0.25");
}

TEST(FollowLine, TakesBlanksBetweenFieldsAndOnlyLinesThatStartLikeOne) {
  FollowLine read;
  ASSERT_EQ(ParseFollowLine("// follow  3\t12 mid   2 0.5 ", read), "");
  EXPECT_EQ(read, (FollowLine{3, {12, SoundSource::Mid, 2, 0.5f}}));
  EXPECT_TRUE(IsFollowLine("// follow x"));
  EXPECT_FALSE(IsFollowLine("// bpm: 120"));
  EXPECT_FALSE(IsFollowLine("//follow 1 2 low 1 0"));
}

TEST(FollowLine, NamesTheFieldThatIsWrongAndChangesNothing) {
  const FollowLine untouched{9, {9, SoundSource::High, 9, 9}};
  const struct {
    const char* line;
    std::string fault;
  } cases[] = {
      {"// follow 1 2 low 1", kMsgFollowFields},
      {"// follow 1 2 low 1 0 7", kMsgFollowFields},
      {"// bpm: 120", kMsgFollowFields},
      {"// follow 255 2 low 1 0", std::string("'255'") + kMsgFollowEntry},
      {"// follow -1 2 low 1 0", std::string("'-1'") + kMsgFollowEntry},
      {"// follow 1 77 low 1 0", std::string("'77'") + kMsgFollowParam},
      {"// follow 1 x low 1 0", std::string("'x'") + kMsgFollowParam},
      {"// follow 1 2 bass 1 0", std::string("'bass'") + kMsgFollowSource},
      {"// follow 1 2 Low 1 0", std::string("'Low'") + kMsgFollowSource},
      {"// follow 1 2 low 1e39 0", std::string("'1e39'") + kMsgFollowGain},
      {"// follow 1 2 low 3.4028236e38 0", std::string("'3.4028236e38'") + kMsgFollowGain},
      {"// follow 1 2 low nan 0", std::string("'nan'") + kMsgFollowGain},
      {"// follow 1 2 low 1 -inf", std::string("'-inf'") + kMsgFollowOffset},
  };
  for (const auto& c : cases) {
    FollowLine read = untouched;
    EXPECT_EQ(ParseFollowLine(c.line, read), c.fault) << c.line;
    EXPECT_EQ(read, untouched) << c.line;
  }
}

// A layer's evaluation with follows: the base (or the track's value) times offset + gain × the envelope
// at the demo time, oscillators on top, other parameters as the set holds them.
TEST(FollowedEvaluation, ScalesTheBaseOrTrackedValueByTheEnvelopeAtTheDemoTime) {
  constexpr int kBgR = 0, kTweakX = 4;
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  scene.ScenePresets[0][kBgR].BaseVal = 100;
  scene.ScenePresets[0][kTweakX].BaseVal = 7;
  auto envelopes = std::make_shared<SoundEnvelopes>();
  envelopes->levels[size_t(SoundSource::Low)] = {0, 0.25f, 1};
  envelopes->levels[size_t(SoundSource::Onset)] = {1, 0, 0};
  scene.Envelopes = envelopes;
  TSceneSeqEntry entry;
  entry.StartTime = 1;
  entry.EndTime = 10;
  entry.Follows = {{kBgR, SoundSource::Low, 2, 0.5f}, {kTweakX, SoundSource::Onset, 1, 1}};
  TrackFor(entry.Tracks, kTweakX).Keys = {{0, 10, KeyCurve::Step}};
  const auto at = [&](uint32_t demoMs) {
    return UpdateSceneParams(scene, 0, entry.StartTime, entry.EndTime, 0, false, EntryTracksAt(entry, demoMs));
  };
  EXPECT_EQ(at(1).BG_r, 100) << "0.5 + 2 × 0.25";
  EXPECT_EQ(at(2).BG_r, 250) << "0.5 + 2 × 1";
  EXPECT_FLOAT_EQ(at(1).TweakX, 10) << "the track's value times 1 + 0";
  EXPECT_FLOAT_EQ(at(0).TweakX, 20) << "before the entry: the track's first key, times 1 + 1";
  EXPECT_EQ(at(5).BG_r, 50) << "after the music: the envelope is 0";
  scene.Envelopes = nullptr;
  EXPECT_EQ(at(2).BG_r, 50) << "no envelopes: 0 too";
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 10, 0, false, {}).BG_r, 100) << "no follows: the base";
}

}  // namespace
