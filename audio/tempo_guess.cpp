#include "audio/tempo_guess.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kShortestBeatMs = 300;  // 200 bpm
constexpr int kLongestBeatMs = 1000;  // 60 bpm
constexpr double kLikeliestBpm = 120;
constexpr double kRepeatingShare = 0.1;  // of the envelope's energy, one beat later

double Autocorrelation(const std::vector<double>& values, int lagMs) {
  double sum = 0;
  for (size_t i = size_t(lagMs); i < values.size(); ++i) sum += values[i] * values[i - size_t(lagMs)];
  return sum;
}

double TempoWeight(int lagMs) {
  const double octaves = std::log2(60000.0 / lagMs / kLikeliestBpm);
  return std::exp(-0.5 * octaves * octaves);
}

}  // namespace

std::optional<double> GuessBpm(const std::vector<float>& onsetPerMs) {
  if (onsetPerMs.size() < size_t(2 * kLongestBeatMs)) return std::nullopt;
  double mean = 0;
  for (float value : onsetPerMs) mean += value;
  mean /= double(onsetPerMs.size());
  std::vector<double> centred(onsetPerMs.size());
  for (size_t i = 0; i < centred.size(); ++i) centred[i] = onsetPerMs[i] - mean;

  // The weighted autocorrelation from one lag before the shortest beat to one after the longest, so that
  // the best one has neighbours to refine with.
  std::vector<double> repeat, score;
  for (int lag = kShortestBeatMs - 1; lag <= kLongestBeatMs + 1; ++lag) {
    repeat.push_back(Autocorrelation(centred, lag));
    score.push_back(repeat.back() * TempoWeight(lag));
  }
  size_t best = 1;
  for (size_t i = 1; i + 1 < score.size(); ++i)
    if (score[i] > score[best]) best = i;
  // A beat repeats: its length is a peak of the autocorrelation (not just of its weighting), and a good
  // share of the envelope's energy comes back one beat later.
  const bool peak = repeat[best] > repeat[best - 1] && repeat[best] >= repeat[best + 1];
  if (!peak || !(repeat[best] > kRepeatingShare * Autocorrelation(centred, 0))) return std::nullopt;

  const double left = score[best - 1], middle = score[best], right = score[best + 1];
  const double curvature = left - 2 * middle + right;
  const double shift = curvature < 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
  const double beatMs = double(kShortestBeatMs - 1 + int(best)) + shift;
  return std::round(600000.0 / beatMs) / 10;
}
