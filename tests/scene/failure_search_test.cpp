#include "scene/failure_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "scene/errors.h"
#include "scene/scene_update.h"

namespace {

constexpr int kBgR = 0;  // byte:BG_r

TSceneSeqEntry Entry(float factor, int32_t offset, uint8_t wobbleKind = 0, float frequency = 0, float amplitude = 0) {
  TSceneSeqEntry entry;
  entry.TimeFactor = factor;
  entry.TimeOffset = offset;
  entry.WobbleKind = wobbleKind;
  entry.WobbleFrequency = frequency;
  entry.WobbleAmplitude = amplitude;
  return entry;
}

// The first failing demo time found by evaluating every millisecond, as the frames would.
FailureSearch EveryMillisecond(const TSceneSeqEntry& entry, const TScene1ParamInterface& param, uint32_t lastMs,
                               const AutomationTrack* track = nullptr) {
  for (uint32_t d = 0; d <= lastMs; ++d) {
    const uint32_t fxTimeMs = EntryEffectTime(entry, d);
    try {
      EvaluateParam(track ? TrackedParam(param, *track, EntryTracksAt(entry, d).localMs) : param, kBgR, fxTimeMs);
    } catch (const RangeError&) {
      return {FailureSearch::Outcome::Fails, d, fxTimeMs};
    }
  }
  return {};
}

}  // namespace

// Random entries and oscillators whose peaks lie near the edges of the 32-bit range, over short demos:
// the search finds exactly the failure (or none) that evaluating every millisecond finds.
TEST(FailureSearch, AgreesWithEveryMillisecondOnRandomFolders) {
  std::mt19937 random(30);
  const auto pick = [&random](std::initializer_list<double> values) {
    return *(values.begin() + std::uniform_int_distribution<size_t>(0, values.size() - 1)(random));
  };
  const auto between = [&random](double low, double high) {
    return std::uniform_real_distribution<>(low, high)(random);
  };
  int fails = 0, neverFails = 0;
  for (int round = 0; round < 3000; ++round) {
    const TSceneSeqEntry entry =
        Entry(float(pick({0, 1, 0.5, -0.3, 2, 37.7, 1e6, between(-3, 3)})),
              int32_t(pick({0, 1000, -500, 2147480000, between(-1e5, 1e5)})), uint8_t(pick({0, 1, 2, 3})),
              float(pick({0.001, 0.1, between(0, 2)})), float(pick({0, 200, 5000, between(-1e4, 1e4)})));
    const uint8_t form = uint8_t(std::uniform_int_distribution<>(1, 6)(random));
    const double edge = form >= 5 ? 4294967295.0 : 2147483647.0;
    const float y = float(pick({-1, 1}) * (edge - pick({0, 1, 50, 300, 5000}) + between(-2, 2)));
    const float x = float(pick({1e-5, 0.001, 0.01, 1, 2 * std::numbers::pi / 3, between(0, 0.05)}));
    const TScene1ParamInterface param = SetParam("byte:BG_r", form, float(pick({0, 3, 100, 255})), x, y);
    const uint32_t lastMs = uint32_t(pick({0, 15, 100, between(0, 3000)}));

    uint64_t budget = 10'000'000;
    const FailureSearch search = FindFirstFailure(entry, param, kBgR, lastMs, budget);
    const FailureSearch expected = EveryMillisecond(entry, param, lastMs);
    ASSERT_EQ(search.outcome, expected.outcome) << "round " << round;
    if (expected.outcome == FailureSearch::Outcome::Fails) {
      ASSERT_EQ(search.demoTimeMs, expected.demoTimeMs) << "round " << round;
      ASSERT_EQ(search.fxTimeMs, expected.fxTimeMs) << "round " << round;
      ++fails;
    } else {
      ++neverFails;
    }
  }
  // Both answers are common, so both are compared.
  EXPECT_GT(fails, 300);
  EXPECT_GT(neverFails, 300);
}

// The campaign's folder: BG_r swings with 2^31 over 200 000 ms and fails only within about 30 ms of its
// peak at 157 079 ms, between times 25 ms apart. Every entry finds it with a few hundred evaluations.
TEST(FailureSearch, FindsANarrowPeakOfALongDemoQuickly) {
  const TScene1ParamInterface param = SetParam("byte:BG_r", 1, 0, 0.00001f, 2147483648.0f);
  uint64_t budget = 1'000'000;
  const FailureSearch search = FindFirstFailure(Entry(1, 0), param, kBgR, 200000, budget);
  EXPECT_EQ(search.outcome, FailureSearch::Outcome::Fails);
  EXPECT_EQ(search.demoTimeMs, EveryMillisecond(Entry(1, 0), param, 200000).demoTimeMs);
  EXPECT_NEAR(search.demoTimeMs, 157079, 40);
  EXPECT_GT(budget, 1'000'000u - 2000);

  // Oscillators that never come near the edge cost one bound for the whole demo, however long.
  budget = 1'000'000;
  const TScene1ParamInterface tame = SetParam("byte:BG_r", 1, 0, 0.01f, 3e5f);
  EXPECT_EQ(FindFirstFailure(Entry(3.5f, 100, 1, 0.002f, 500), tame, kBgR, 2147483647, budget).outcome,
            FailureSearch::Outcome::NeverFails);
  EXPECT_EQ(budget, 1'000'000u - 1);
}

// Peaks beyond the range that no whole millisecond meets (sin(t * 2π/3) is 0 or ±0.866 at every
// whole t): no bound settles them, so the search either tries every millisecond or, beyond its budget,
// says it is undecided and where it stopped, never that the oscillator does not fail.
TEST(FailureSearch, UnsettledPeaksAreUndecidedBeyondTheBudget) {
  const TScene1ParamInterface param = SetParam("byte:BG_r", 1, 0, float(2 * std::numbers::pi / 3), 2147483648.0f);
  uint64_t budget = 100'000;
  EXPECT_EQ(FindFirstFailure(Entry(1, 0), param, kBgR, 50'000, budget).outcome, FailureSearch::Outcome::NeverFails);

  budget = 1000;
  const FailureSearch search = FindFirstFailure(Entry(1, 0), param, kBgR, 10'000'000, budget);
  EXPECT_EQ(search.outcome, FailureSearch::Outcome::Undecided);
  EXPECT_GT(search.demoTimeMs, 0u);
  EXPECT_LT(search.demoTimeMs, 1000u);
  EXPECT_EQ(budget, 0u);
}

// A base value from the entry's track, as the frames take it: random tracks of every curve over random
// windows, against every millisecond.
TEST(FailureSearch, AgreesWithEveryMillisecondWithTrackedBaseValues) {
  std::mt19937 random(28);
  const auto below = [&random](int n) { return std::uniform_int_distribution<>(0, n - 1)(random); };
  int fails = 0, neverFails = 0;
  for (int round = 0; round < 1500; ++round) {
    TSceneSeqEntry entry = Entry(below(2) ? 1 : 0.5f, below(2) ? 0 : 300);
    entry.StartTime = uint32_t(below(1500));
    AutomationTrack track{kBgR, {}};
    uint32_t timeMs = uint32_t(below(100));
    for (int k = below(5); k >= 0; --k) {
      const float values[] = {0, 3, 40, 127.5f, 100, 200, 255};
      track.Keys.push_back({timeMs, values[below(7)], KeyCurve(below(kKeyCurveCount))});
      timeMs += uint32_t(below(3) == 0 ? 0 : below(800));
    }
    // cos(t·x)·y/2 + y/2 + b: the edge is met where the base is high and the cosine near 1.
    const float x = below(2) ? 0 : 0.002f;
    const TScene1ParamInterface param = SetParam("byte:BG_r", 6, 0, x, 2147483520.0f);
    const uint32_t lastMs = uint32_t(below(3000));
    uint64_t budget = 10'000'000;
    const FailureSearch search = FindFirstFailure(entry, param, kBgR, lastMs, budget, {&track});
    const FailureSearch expected = EveryMillisecond(entry, param, lastMs, &track);
    ASSERT_EQ(search.outcome, expected.outcome) << "round " << round;
    ASSERT_EQ(search.demoTimeMs, expected.demoTimeMs) << "round " << round;
    (expected.outcome == FailureSearch::Outcome::Fails ? fails : neverFails)++;
  }
  EXPECT_GT(fails, 200);
  EXPECT_GT(neverFails, 200);

  // The base climbs 0.1 a millisecond from the entry's start at 2000 ms; y + b rounds to 2^31 from b 127.5.
  TSceneSeqEntry entry = Entry(1, 0);
  entry.StartTime = 2000;
  const AutomationTrack climb{kBgR, {{0, 0, KeyCurve::Linear}, {2000, 200, KeyCurve::Linear}}};
  const TScene1ParamInterface param = SetParam("byte:BG_r", 6, 0, 0, 2147483520.0f);
  uint64_t budget = 1'000'000;
  const FailureSearch search = FindFirstFailure(entry, param, kBgR, 10000, budget, {&climb});
  EXPECT_EQ(search.outcome, FailureSearch::Outcome::Fails);
  EXPECT_EQ(search.demoTimeMs, EveryMillisecond(entry, param, 10000, &climb).demoTimeMs);
  EXPECT_NEAR(search.demoTimeMs, 3275, 1);
  EXPECT_EQ(FindFirstFailure(entry, param, kBgR, 10000, budget).outcome, FailureSearch::Outcome::NeverFails)
      << "the preset's own base 0 stays in range";
}

// A followed base is searched as the frames evaluate it: the preset's base 100 times 1 + the low band,
// which climbs from 0 to 1 over 4 s (and beats once at 700 ms), fails once it passes 127.5.
TEST(FailureSearch, FindsTheFirstFailureOfAFollowedBase) {
  SoundEnvelopes envelopes;
  for (std::vector<float>& levels : envelopes.levels) levels.assign(4000, 0);
  std::vector<float>& low = envelopes.levels[size_t(SoundSource::Low)];
  for (size_t ms = 0; ms < low.size(); ++ms) low[ms] = float(ms) / 4000;
  const ParamFollow follow{kBgR, SoundSource::Low, 1, 1};
  TScene1ParamInterface param = SetParam("byte:BG_r", 6, 0, 0, 2147483520.0f);
  param.BaseVal = 100;
  const TSceneSeqEntry entry = Entry(1, 0);
  const auto everyMillisecond = [&](uint32_t lastMs) -> uint32_t {
    for (uint32_t d = 0; d <= lastMs; ++d) {
      TScene1ParamInterface followed = param;
      followed.BaseVal = FollowedValue(follow, envelopes, d, param.BaseVal);
      try {
        EvaluateParam(followed, kBgR, EntryEffectTime(entry, d));
      } catch (const RangeError&) {
        return d;
      }
    }
    return lastMs + 1;
  };
  uint64_t budget = 1'000'000;
  FailureSearch search = FindFirstFailure(entry, param, kBgR, 10000, budget, {nullptr, &follow, &envelopes});
  EXPECT_EQ(search.outcome, FailureSearch::Outcome::Fails);
  EXPECT_EQ(search.demoTimeMs, everyMillisecond(10000));
  EXPECT_NEAR(search.demoTimeMs, 1100, 1);

  for (size_t ms = 700; ms < 710; ++ms) low[ms] = 0.5f;  // one beat earlier
  search = FindFirstFailure(entry, param, kBgR, 10000, budget, {nullptr, &follow, &envelopes});
  EXPECT_EQ(search.demoTimeMs, 700u);
  EXPECT_EQ(everyMillisecond(10000), 700u);
  EXPECT_EQ(FindFirstFailure(entry, param, kBgR, 699, budget, {nullptr, &follow, &envelopes}).outcome,
            FailureSearch::Outcome::NeverFails);
}
