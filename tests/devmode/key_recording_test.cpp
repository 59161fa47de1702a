// A gesture's samples as keys: written over the keys inside their span, and thinned to what changes the
// picture within each parameter type's resolution.
#include "devmode/key_recording.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kRed = 0;     // byte:BG_r
constexpr int kTweakX = 4;  // sing:_TweakX

std::vector<uint32_t> Times(const AutomationTrack& track) {
  std::vector<uint32_t> times;
  for (const AutomationKey& key : track.Keys) times.push_back(key.TimeMs);
  return times;
}

TEST(KeyRecording, SamplesOnAStraightLineKeepOnlyTheirEnds) {
  KeySamples line;
  for (uint32_t ms = 0; ms <= 1000; ms += 100) line[ms] = 1.0f + ms / 1000.0f;
  const AutomationTracks tracks = RecordedTracks({}, {{kTweakX, line}});
  ASSERT_EQ(tracks.size(), 1u);
  EXPECT_EQ(Times(tracks[0]), (std::vector<uint32_t>{0, 1000}));
  EXPECT_FLOAT_EQ(TrackValue(tracks[0], 500), 1.5f);
}

TEST(KeyRecording, ACornerAndEveryTurnOfTheCurveStay) {
  KeySamples corner{{0, 0.0f}, {100, 1.0f}, {200, 2.0f}, {300, 1.0f}, {400, 0.0f}};
  const AutomationTracks tracks = RecordedTracks({}, {{kTweakX, corner}});
  EXPECT_EQ(Times(tracks[0]), (std::vector<uint32_t>{0, 200, 400}));
  for (const auto& [ms, value] : corner) EXPECT_FLOAT_EQ(TrackValue(tracks[0], ms), value) << ms;
}

TEST(KeyRecording, ThinningStaysWithinEachTypesResolution) {
  // A byte fading 0..10 over 1000 ms in whole steps: the line from end to end is never 0.5 off.
  KeySamples steps;
  for (uint32_t ms = 0; ms <= 1000; ms += 50) steps[ms] = static_cast<float>(ms / 100);
  const AutomationTracks bytes = RecordedTracks({}, {{kRed, steps}});
  for (const auto& [ms, value] : steps) EXPECT_LE(std::fabs(TrackValue(bytes[0], ms) - value), 0.5f) << ms;
  EXPECT_LT(bytes[0].Keys.size(), 5u);
  // A real value a thousandth off the line is a turn that stays; a much smaller one is not.
  const AutomationTracks small = RecordedTracks({}, {{kTweakX, {{0, 100.0f}, {100, 100.00001f}, {200, 100.0f}}}});
  EXPECT_EQ(Times(small[0]), (std::vector<uint32_t>{200})) << "one value throughout: one key";
  const AutomationTracks large = RecordedTracks({}, {{kTweakX, {{0, 100.0f}, {100, 100.2f}, {200, 100.0f}}}});
  EXPECT_EQ(Times(large[0]), (std::vector<uint32_t>{0, 100, 200}));
}

TEST(KeyRecording, SamplesReplaceTheKeysInsideTheirSpanAndKeepTheOthers) {
  AutomationTracks before{{kRed, {{0, 3.0f}}}, {kTweakX, {{0, 5.0f}, {150, 9.0f}, {200, 7.0f}, {900, 1.0f}}}};
  before[1].Keys[0].Curve = KeyCurve::Smooth;
  const AutomationTracks after = RecordedTracks(before, {{kTweakX, {{100, 2.0f}, {200, 4.0f}, {300, 2.0f}}}});
  EXPECT_EQ(Times(after[1]), (std::vector<uint32_t>{0, 100, 200, 300, 900})) << "150 went, 200 took the sample";
  EXPECT_EQ(after[1].Keys[0].Curve, KeyCurve::Smooth);
  EXPECT_FLOAT_EQ(after[1].Keys[2].Value, 4.0f);
  EXPECT_EQ(after[0], before[0]) << "the tracks stay ordered by parameter, the other one untouched";
}

}  // namespace
