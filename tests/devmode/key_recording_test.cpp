// A gesture's samples as keys: written over the keys inside their span, and thinned to what changes the
// picture within each parameter type's resolution.
#include "devmode/key_recording.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kRed = 0;     // byte:BG_r
constexpr int kTweakX = 4;  // sing:_TweakX

using Samples = std::map<uint32_t, float>;

// The tracks before with param's samples recorded one after the other in the order given.
AutomationTracks Recorded(int param, const std::vector<std::pair<uint32_t, float>>& samples,
                          const AutomationTracks& before = {}) {
  SampledParam sampled;
  for (const auto& [ms, value] : samples) AddSample(param, sampled, ms, value);
  return RecordedTracks(before, {{param, sampled}});
}

std::vector<uint32_t> Times(const AutomationTrack& track) {
  std::vector<uint32_t> times;
  for (const AutomationKey& key : track.Keys) times.push_back(key.TimeMs);
  return times;
}

TEST(KeyRecording, SamplesOnAStraightLineKeepOnlyTheirEnds) {
  Samples line;
  for (uint32_t ms = 0; ms <= 1000; ms += 100) line[ms] = 1.0f + ms / 1000.0f;
  const AutomationTracks tracks = Recorded(kTweakX, {line.begin(), line.end()});
  ASSERT_EQ(tracks.size(), 1u);
  EXPECT_EQ(Times(tracks[0]), (std::vector<uint32_t>{0, 1000}));
  EXPECT_FLOAT_EQ(TrackValue(tracks[0], 500), 1.5f);
}

TEST(KeyRecording, ACornerAndEveryTurnOfTheCurveStay) {
  const Samples corner{{0, 0.0f}, {100, 1.0f}, {200, 2.0f}, {300, 1.0f}, {400, 0.0f}};
  const AutomationTracks tracks = Recorded(kTweakX, {corner.begin(), corner.end()});
  EXPECT_EQ(Times(tracks[0]), (std::vector<uint32_t>{0, 200, 400}));
  for (const auto& [ms, value] : corner) EXPECT_FLOAT_EQ(TrackValue(tracks[0], ms), value) << ms;
}

TEST(KeyRecording, ThinningStaysWithinEachTypesResolution) {
  // A byte fading 0..10 over 1000 ms in whole steps: the line from end to end is never 0.5 off.
  Samples steps;
  for (uint32_t ms = 0; ms <= 1000; ms += 50) steps[ms] = static_cast<float>(ms / 100);
  const AutomationTracks bytes = Recorded(kRed, {steps.begin(), steps.end()});
  for (const auto& [ms, value] : steps) EXPECT_LE(std::fabs(TrackValue(bytes[0], ms) - value), 0.5f) << ms;
  EXPECT_LT(bytes[0].Keys.size(), 5u);
  // A real value a thousandth off the line is a turn that stays; a much smaller one is not.
  const AutomationTracks small = Recorded(kTweakX, {{0, 100.0f}, {100, 100.00001f}, {200, 100.0f}});
  EXPECT_EQ(Times(small[0]), (std::vector<uint32_t>{0, 200})) << "one value throughout: where it began and ends";
  const AutomationTracks large = Recorded(kTweakX, {{0, 100.0f}, {100, 100.2f}, {200, 100.0f}});
  EXPECT_EQ(Times(large[0]), (std::vector<uint32_t>{0, 100, 200}));
}

TEST(KeyRecording, ASampleBackInTimeOrAgainAtTheLatestTimeThinsAllOverAgain) {
  // Along a line to 300 ms, then the clock jumps back (a loop) and the value at 300 ms changes.
  const AutomationTracks jumped =
      Recorded(kTweakX, {{0, 0.0f}, {100, 1.0f}, {200, 2.0f}, {300, 3.0f}, {100, 5.0f}, {300, 9.0f}});
  EXPECT_EQ(Times(jumped[0]), (std::vector<uint32_t>{0, 100, 200, 300}));
  for (const auto& [ms, value] : Samples{{0, 0.0f}, {100, 5.0f}, {200, 2.0f}, {300, 9.0f}})
    EXPECT_FLOAT_EQ(TrackValue(jumped[0], ms), value) << ms;
}

TEST(KeyRecording, ASingleSampleOnAKeyKeepsItsCurve) {
  const AutomationTracks before{{kTweakX, {{0, 5.0f, KeyCurve::Step}, {900, 1.0f}}}};
  EXPECT_EQ(Recorded(kTweakX, {{0, 7.0f}}, before)[0].Keys[0], (AutomationKey{0, 7.0f, KeyCurve::Step}));
}

TEST(KeyRecording, SamplesReplaceTheKeysInsideTheirSpanAndKeepTheOthers) {
  AutomationTracks before{{kRed, {{0, 3.0f}}}, {kTweakX, {{0, 5.0f}, {150, 9.0f}, {200, 7.0f}, {900, 1.0f}}}};
  before[1].Keys[0].Curve = KeyCurve::Smooth;
  const AutomationTracks after = Recorded(kTweakX, {{100, 2.0f}, {200, 4.0f}, {300, 2.0f}}, before);
  EXPECT_EQ(Times(after[1]), (std::vector<uint32_t>{0, 100, 200, 300, 900})) << "150 went, 200 took the sample";
  EXPECT_EQ(after[1].Keys[0].Curve, KeyCurve::Smooth) << "the key before the span";
  EXPECT_EQ(after[1].Keys[1].Curve, KeyCurve::Linear) << "recorded keys go on linearly";
  EXPECT_FLOAT_EQ(after[1].Keys[2].Value, 4.0f);
  EXPECT_EQ(after[0], before[0]) << "the tracks stay ordered by parameter, the other one untouched";
}

}  // namespace
