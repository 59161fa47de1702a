#include "timeline/key_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The keys of track with times (from the entry's start) within fromMs..toMs, as a range of indices.
std::pair<size_t, size_t> KeysBetween(const AutomationTrack& track, double fromMs, double toMs) {
  const auto& keys = track.Keys;
  const auto first = std::lower_bound(keys.begin(), keys.end(), fromMs,
                                      [](const AutomationKey& key, double ms) { return key.TimeMs < ms; });
  const auto last = std::upper_bound(first, keys.end(), toMs,
                                     [](double ms, const AutomationKey& key) { return ms < key.TimeMs; });
  return {size_t(first - keys.begin()), size_t(last - keys.begin())};
}

}  // namespace

LaneRange LaneValueRange(const AutomationTrack& track) {
  if (EvaluationType(track.Param) != ParamType::Sing) {
    const KeyRange range = ParamKeyRange(track.Param);
    return {range.minimum, range.maximum};
  }
  LaneRange range{track.Keys.empty() ? 0 : track.Keys.front().Value, track.Keys.empty() ? 0 : track.Keys.front().Value};
  for (const AutomationKey& key : track.Keys) {
    range.low = std::min<double>(range.low, key.Value);
    range.high = std::max<double>(range.high, key.Value);
  }
  if (range.high - range.low < 1e-6 * std::max(1.0, std::fabs(range.high))) {  // one value: in the middle
    range.low -= 1;
    range.high += 1;
  }
  return range;
}

double LaneYOfValue(int laneTopPx, LaneRange range, double value) {
  const double spanPx = kLaneHeightPx - 2 * kLanePaddingPx - 1;
  const double share = std::clamp((value - range.low) / (range.high - range.low), 0.0, 1.0);
  return laneTopPx + kLanePaddingPx + (1 - share) * spanPx;
}

double KeyXPx(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, const AutomationKey& key) {
  return PixelOfTime(geometry, double(entry.StartTime) + key.TimeMs);
}

uint32_t LastLocalMs(const TSceneSeqEntry& entry) {
  return entry.EndTime > entry.StartTime ? entry.EndTime - entry.StartTime : 0;
}

uint32_t LocalTimeOfPixel(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int xPx) {
  const double localMs = double(TimeOfPixel(geometry, xPx)) - entry.StartTime;
  return static_cast<uint32_t>(std::clamp(localMs, 0.0, double(LastLocalMs(entry))));
}

std::optional<size_t> KeyAt(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int lane, int xPx, int yPx) {
  if (lane < 0 || lane >= static_cast<int>(entry.Tracks.size())) return std::nullopt;
  const AutomationTrack& track = entry.Tracks[lane];
  const double pxPerMs = ScalePxPerMs(geometry);
  const double pointerMs = geometry.view.firstMs + (xPx - kTimelineMarginPx) / pxPerMs - entry.StartTime;
  const auto [first, last] = KeysBetween(track, pointerMs - kKeyGrabPx / pxPerMs, pointerMs + kKeyGrabPx / pxPerMs);
  const LaneRange range = LaneValueRange(track);
  const int laneTopPx = LaneTopPx(geometry, lane);
  std::optional<size_t> nearest;
  double nearestPx = 0;
  for (size_t i = first; i < last; ++i) {
    const double dx = std::fabs(KeyXPx(geometry, entry, track.Keys[i]) - xPx);
    const double dy = std::fabs(LaneYOfValue(laneTopPx, range, track.Keys[i].Value) - yPx);
    if (dx > kKeyGrabPx || dy > kKeyGrabPx) continue;
    if (!nearest || dx + dy < nearestPx) nearest = i, nearestPx = dx + dy;
  }
  return nearest;
}

std::vector<KeyRef> KeysInBox(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int x1Px, int y1Px,
                              int x2Px, int y2Px) {
  const int leftPx = std::min(x1Px, x2Px), rightPx = std::max(x1Px, x2Px);
  const int topPx = std::min(y1Px, y2Px), bottomPx = std::max(y1Px, y2Px);
  const double pxPerMs = ScalePxPerMs(geometry);
  const double fromMs = geometry.view.firstMs + (leftPx - kTimelineMarginPx) / pxPerMs - entry.StartTime;
  const double toMs = geometry.view.firstMs + (rightPx - kTimelineMarginPx) / pxPerMs - entry.StartTime;
  std::vector<KeyRef> inside;
  for (int lane = 0; lane < static_cast<int>(entry.Tracks.size()); ++lane) {
    const int laneTopPx = LaneTopPx(geometry, lane);
    if (laneTopPx + kLaneHeightPx <= topPx || laneTopPx > bottomPx) continue;
    const AutomationTrack& track = entry.Tracks[lane];
    const LaneRange range = LaneValueRange(track);
    const auto [first, last] = KeysBetween(track, fromMs, toMs);
    for (size_t i = first; i < last; ++i) {
      const double yPx = LaneYOfValue(laneTopPx, range, track.Keys[i].Value);
      if (yPx >= topPx && yPx <= bottomPx) inside.push_back({track.Param, i});
    }
  }
  return inside;
}
