#include "devmode/key_recording.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRealShare = 1e-3;  // of the value's size
constexpr double kRealFloor = 1e-6;  // near zero
constexpr double kWholeTolerance = 0.5;

// Whether the line from `from` to (toMs, toValue) gives every sample strictly between them.
bool OnLine(int param, const std::map<uint32_t, float>& samples, const AutomationKey& from, uint32_t toMs,
            float toValue) {
  const double spanMs = double(toMs) - from.TimeMs;
  for (auto sample = samples.upper_bound(from.TimeMs); sample != samples.end() && sample->first < toMs; ++sample) {
    const double line = from.Value + (double(toValue) - from.Value) * ((sample->first - from.TimeMs) / spanMs);
    if (std::fabs(line - sample->second) > KeyTolerance(param, sample->second)) return false;
  }
  return true;
}

// The sample after `previous` came at (timeMs, value): previous stays a key unless the line from the
// last kept key to the new sample makes it needless.
void Thin(int param, SampledParam& sampled, uint32_t previousMs, float previousValue, uint32_t timeMs, float value) {
  if (!OnLine(param, sampled.samples, sampled.kept.back(), timeMs, value))
    sampled.kept.push_back({previousMs, previousValue, KeyCurve::Linear});
}

}  // namespace

double KeyTolerance(int param, double value) {
  if (EvaluationType(param) != ParamType::Sing) return kWholeTolerance;
  return std::max(std::fabs(value) * kRealShare, kRealFloor);
}

void AddSample(int param, SampledParam& sampled, uint32_t timeMs, float value) {
  std::map<uint32_t, float>& samples = sampled.samples;
  if (!samples.empty() && timeMs > samples.rbegin()->first) {
    const auto [previousMs, previousValue] = *samples.rbegin();
    samples[timeMs] = value;
    if (previousMs != sampled.kept.back().TimeMs) Thin(param, sampled, previousMs, previousValue, timeMs, value);
    return;
  }
  samples[timeMs] = value;
  // Again from the start: the first sample is a key, each later one as it came.
  sampled.kept = {{samples.begin()->first, samples.begin()->second, KeyCurve::Linear}};
  for (auto sample = std::next(samples.begin()); sample != samples.end(); ++sample) {
    const auto previous = std::prev(sample);
    if (previous->first != sampled.kept.back().TimeMs)
      Thin(param, sampled, previous->first, previous->second, sample->first, sample->second);
  }
}

AutomationTracks RecordedTracks(const AutomationTracks& before, const std::map<int, SampledParam>& params) {
  AutomationTracks tracks = before;
  for (const auto& [param, sampled] : params) {
    if (sampled.samples.empty()) continue;
    AutomationTrack& track = TrackFor(tracks, param);
    const auto [lastMs, lastValue] = *sampled.samples.rbegin();
    if (sampled.samples.size() == 1) {
      SetKey(track, lastMs, lastValue);
      continue;
    }
    const uint32_t fromMs = sampled.samples.begin()->first;
    const uint32_t toMs = lastMs;
    std::erase_if(track.Keys,
                  [fromMs, toMs](const AutomationKey& key) { return key.TimeMs >= fromMs && key.TimeMs <= toMs; });
    std::vector<AutomationKey> keys = sampled.kept;
    keys.push_back({lastMs, lastValue, KeyCurve::Linear});
    const auto place = std::lower_bound(track.Keys.begin(), track.Keys.end(), fromMs,
                                        [](const AutomationKey& key, uint32_t ms) { return key.TimeMs < ms; });
    track.Keys.insert(place, keys.begin(), keys.end());
  }
  return tracks;
}
