// The tempo guessed from onset envelopes made by hand: pulses at known beats.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/tempo_guess.h"

namespace {

// lengthMs of onsets: a pulse decaying over 80 ms at every beat of bpm (on the closest ms), from 100 ms on.
std::vector<float> Pulses(double bpm, int lengthMs = 60000) {
  std::vector<float> onset(size_t(lengthMs), 0);
  const double beatMs = 60000 / bpm;
  for (double at = 100; at < lengthMs; at += beatMs)
    for (size_t ms = 0, start = size_t(std::lround(at)); ms < 300 && start + ms < onset.size(); ++ms)
      onset[start + ms] = std::max(onset[start + ms], float(std::exp(-double(ms) / 80.0)));
  return onset;
}

TEST(TempoGuess, FindsTheBeatOfRegularPulses) {
  for (double bpm : {90.0, 100.0, 120.0, 128.0, 140.0, 150.0, 165.0}) {
    const std::optional<double> guess = GuessBpm(Pulses(bpm));
    ASSERT_TRUE(guess) << bpm;
    EXPECT_NEAR(*guess, bpm, 0.1) << bpm;  // the pulses lie on whole milliseconds
  }
  EXPECT_EQ(GuessBpm(Pulses(120)), 120.0);
}

TEST(TempoGuess, PrefersTheBeatToItsHalfWhenEighthsPlayToo) {
  std::vector<float> onset = Pulses(120);
  const std::vector<float> eighths = Pulses(240);
  for (size_t ms = 0; ms < onset.size(); ++ms) onset[ms] = std::max(onset[ms], 0.4f * eighths[ms]);
  EXPECT_EQ(GuessBpm(onset), 120.0);
}

TEST(TempoGuess, HearsNoBeatInSilenceASteadyOrSwellingLevelASingleSoundOrAShortPiece) {
  EXPECT_FALSE(GuessBpm(std::vector<float>(60000, 0)));
  EXPECT_FALSE(GuessBpm(std::vector<float>(60000, 0.5f))) << "a steady level";
  std::vector<float> swell(60000);
  for (size_t ms = 0; ms < swell.size(); ++ms) swell[ms] = float(0.5 + 0.5 * std::sin(double(ms) * 2 * M_PI / 10000));
  EXPECT_FALSE(GuessBpm(swell)) << "a slow swell, no beat";
  std::vector<float> single(60000, 0);
  for (int ms = 0; ms < 300; ++ms) single[size_t(5000 + ms)] = float(std::exp(-ms / 80.0));
  EXPECT_FALSE(GuessBpm(single));
  EXPECT_FALSE(GuessBpm(Pulses(120, 1999)));
  EXPECT_FALSE(GuessBpm({}));
}

}  // namespace
