#include "scene/automation.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "scene/scene_messages.h"

KeyRange ParamKeyRange(int index) {
  switch (EvaluationType(index)) {
    case ParamType::Bool: return {0, 1};
    case ParamType::Byte: return {0, UINT8_MAX};
    case ParamType::Word: return {0, UINT16_MAX};
    default: return {-FLT_MAX, FLT_MAX};
  }
}

bool ValueInKeyRange(int index, double value) {
  // A real's text may lie a little beyond FLT_MAX and still round to it ("3.4028235e+38").
  if (EvaluationType(index) == ParamType::Sing) return std::isfinite(static_cast<float>(value));
  const KeyRange range = ParamKeyRange(index);
  return value >= range.minimum && value <= range.maximum;
}

double CurveShare(KeyCurve curve, double t) {
  t = std::clamp(t, 0.0, 1.0);
  switch (curve) {
    case KeyCurve::Step: return t >= 1 ? 1 : 0;
    case KeyCurve::Smooth: return t * t * (3 - 2 * t);
    case KeyCurve::Ramp: return t * t;
    default: return t;
  }
}

std::optional<KeyCurve> CurveNamed(std::string_view name) {
  for (int i = 0; i < kKeyCurveCount; ++i)
    if (name == kKeyCurveNames[i]) return static_cast<KeyCurve>(i);
  return std::nullopt;
}

KeyCurve NextCurve(KeyCurve curve) { return static_cast<KeyCurve>((static_cast<int>(curve) + 1) % kKeyCurveCount); }

float TrackValue(const AutomationTrack& track, int64_t localMs) {
  const std::vector<AutomationKey>& keys = track.Keys;
  // The first key after localMs; the one before it leads there.
  const auto next = std::upper_bound(keys.begin(), keys.end(), localMs,
                                     [](int64_t ms, const AutomationKey& key) { return ms < int64_t{key.TimeMs}; });
  if (next == keys.begin()) return keys.front().Value;
  if (next == keys.end()) return keys.back().Value;
  const AutomationKey& from = *(next - 1);
  const double t = double(localMs - int64_t{from.TimeMs}) / double(next->TimeMs - from.TimeMs);
  const double share = CurveShare(from.Curve, t);
  return static_cast<float>(from.Value + (double(next->Value) - from.Value) * share);
}

void ApplyTracks(const AutomationTracks& tracks, int64_t localMs, TScene1ParamIArray& params) {
  for (const AutomationTrack& track : tracks)
    if (track.Param < kParamCount && !track.Keys.empty()) params[track.Param].BaseVal = TrackValue(track, localMs);
}

TScene1ParamInterface TrackedParam(const TScene1ParamInterface& param, const AutomationTrack& track, int64_t localMs) {
  TScene1ParamInterface tracked = param;
  tracked.BaseVal = TrackValue(track, localMs);
  return tracked;
}

namespace {
template <typename Tracks>
auto* FindIn(Tracks& tracks, int param) {
  const auto track = std::find_if(tracks.begin(), tracks.end(), [param](const auto& t) { return t.Param == param; });
  return track == tracks.end() ? nullptr : &*track;
}
}  // namespace

const AutomationTrack* FindTrack(const AutomationTracks& tracks, int param) { return FindIn(tracks, param); }
AutomationTrack* FindTrack(AutomationTracks& tracks, int param) { return FindIn(tracks, param); }

AutomationTrack& TrackFor(AutomationTracks& tracks, int param) {
  if (AutomationTrack* track = FindTrack(tracks, param)) return *track;
  const auto place = std::find_if(tracks.begin(), tracks.end(), [param](const auto& t) { return t.Param > param; });
  return *tracks.insert(place, AutomationTrack{static_cast<uint8_t>(param), {}});
}

size_t SetKey(AutomationTrack& track, uint32_t timeMs, float value) {
  std::vector<AutomationKey>& keys = track.Keys;
  const auto place = std::lower_bound(keys.begin(), keys.end(), timeMs,
                                      [](const AutomationKey& key, uint32_t ms) { return key.TimeMs < ms; });
  if (place != keys.end() && place->TimeMs == timeMs) {
    place->Value = value;
    return size_t(place - keys.begin());
  }
  const KeyCurve curve = place == keys.begin() ? KeyCurve::Linear : (place - 1)->Curve;
  return size_t(keys.insert(place, AutomationKey{timeMs, value, curve}) - keys.begin());
}

void SortKeys(AutomationTrack& track) {
  std::stable_sort(track.Keys.begin(), track.Keys.end(),
                   [](const AutomationKey& a, const AutomationKey& b) { return a.TimeMs < b.TimeMs; });
}

void DropEmptyTracks(AutomationTracks& tracks) {
  std::erase_if(tracks, [](const AutomationTrack& track) { return track.Keys.empty(); });
}

std::string TracksFault(const AutomationTracks& tracks) {
  for (size_t t = 0; t < tracks.size(); ++t) {
    const AutomationTrack& track = tracks[t];
    if (track.Param >= kParamCount || (t > 0 && tracks[t - 1].Param >= track.Param)) return kMsgTracksOutOfOrder;
    const std::string param = kMsgTrackOfParam + std::to_string(track.Param);
    for (size_t k = 0; k < track.Keys.size(); ++k) {
      const AutomationKey& key = track.Keys[k];
      if (k > 0 && key.TimeMs < track.Keys[k - 1].TimeMs) return param + kMsgTrackKeysOutOfOrder;
      if (key.TimeMs > uint32_t{INT32_MAX}) return param + kMsgTrackKeyTooLate;
      if (!ValueInKeyRange(track.Param, key.Value)) return param + kMsgTrackValueOutOfRange;
    }
  }
  return {};
}

size_t KeyCount(const AutomationTracks& tracks) {
  size_t count = 0;
  for (const AutomationTrack& track : tracks) count += track.Keys.size();
  return count;
}
