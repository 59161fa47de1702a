#include "devmode/key_recording.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kRealShare = 1e-3;  // of the value's size
constexpr double kRealFloor = 1e-6;  // near zero
constexpr double kWholeTolerance = 0.5;

// The track's value at ms with key `dropped` left out (it has a key on at least one side).
double ValueWithout(const std::vector<AutomationKey>& keys, size_t dropped, uint32_t ms) {
  if (dropped == 0) return keys[1].Value;
  if (dropped + 1 == keys.size()) return keys[dropped - 1].Value;
  const AutomationTrack around{0, {keys[dropped - 1], keys[dropped + 1]}};
  return TrackValue(around, ms);
}

// Whether the track without key `dropped` still gives every sample around it within its tolerance.
bool Reproduced(int param, const std::vector<AutomationKey>& keys, size_t dropped, const KeySamples& samples) {
  const auto first = dropped == 0 ? samples.begin() : samples.upper_bound(keys[dropped - 1].TimeMs);
  const auto last = dropped + 1 == keys.size() ? samples.end() : samples.lower_bound(keys[dropped + 1].TimeMs);
  for (auto sample = first; sample != last; ++sample)
    if (std::fabs(ValueWithout(keys, dropped, sample->first) - sample->second) > KeyTolerance(param, sample->second))
      return false;
  return true;
}

void WriteSamples(AutomationTrack& track, const KeySamples& samples) {
  const uint32_t fromMs = samples.begin()->first, toMs = samples.rbegin()->first;
  std::erase_if(track.Keys, [&](const AutomationKey& key) { return key.TimeMs > fromMs && key.TimeMs < toMs; });
  for (const auto& [timeMs, value] : samples) SetKey(track, timeMs, value);
  std::vector<AutomationKey>& keys = track.Keys;
  for (size_t i = 0; i < keys.size() && keys.size() > 1;) {
    const bool sampled = samples.contains(keys[i].TimeMs);
    if (sampled && Reproduced(track.Param, keys, i, samples)) keys.erase(keys.begin() + static_cast<ptrdiff_t>(i));
    else ++i;
  }
}

}  // namespace

double KeyTolerance(int param, double value) {
  if (EvaluationType(param) != ParamType::Sing) return kWholeTolerance;
  return std::max(std::fabs(value) * kRealShare, kRealFloor);
}

AutomationTracks RecordedTracks(const AutomationTracks& before, const std::map<int, KeySamples>& samples) {
  AutomationTracks tracks = before;
  for (const auto& [param, paramSamples] : samples)
    if (!paramSamples.empty()) WriteSamples(TrackFor(tracks, param), paramSamples);
  return tracks;
}
