#include "timeline/timeline_geometry.h"

#include <algorithm>
#include <cmath>

namespace {
double AxisWidthPx(const TimelineGeometry& geometry) {
  return std::max(1, geometry.widthPx - 2 * kTimelineMarginPx);
}
}  // namespace

double PixelOfTime(const TimelineGeometry& geometry, double timeMs) {
  return kTimelineMarginPx + timeMs * AxisWidthPx(geometry) / std::max<uint32_t>(geometry.lengthMs, 1);
}

uint32_t TimeOfPixel(const TimelineGeometry& geometry, int xPx) {
  const double timeMs = (xPx - kTimelineMarginPx) * double(std::max<uint32_t>(geometry.lengthMs, 1)) / AxisWidthPx(geometry);
  return static_cast<uint32_t>(std::clamp(std::round(timeMs), 0.0, double(geometry.lengthMs)));
}

int RowHeightPx(const TimelineGeometry& geometry) {
  const int roomPx = geometry.heightPx - kRowsTopPx;
  if (geometry.entryCount <= 0) return kMaxRowHeightPx;
  return std::clamp(roomPx / geometry.entryCount, kMinRowHeightPx, kMaxRowHeightPx);
}

int RowTopPx(const TimelineGeometry& geometry, int entry) { return kRowsTopPx + entry * RowHeightPx(geometry); }

BarSpanPx BarSpan(const TimelineGeometry& geometry, const TSceneSeqEntry& entry) {
  return {PixelOfTime(geometry, entry.StartTime), PixelOfTime(geometry, double(entry.EndTime) + 1)};
}

TimelineHit HitTest(const TimelineGeometry& geometry, const SceneSequence& sequence, int xPx, int yPx) {
  if (xPx < 0 || yPx < 0 || xPx >= geometry.widthPx || yPx >= geometry.heightPx) return {};
  if (yPx < kRowsTopPx) return {TimelineSpot::Axis, -1};
  const int entry = (yPx - kRowsTopPx) / RowHeightPx(geometry);
  if (entry >= static_cast<int>(sequence.SequenceEntries.size())) return {};
  const BarSpanPx bar = BarSpan(geometry, sequence.SequenceEntries[entry]);
  // Narrow bars: the middle third stays the body, so a short entry can still be moved.
  const double grabPx = std::min<double>(kEdgeGrabPx, (bar.rightPx - bar.leftPx) / 3);
  if (xPx < bar.leftPx - kEdgeGrabPx || xPx > bar.rightPx + kEdgeGrabPx) return {TimelineSpot::Row, entry};
  if (xPx < bar.leftPx + grabPx) return {TimelineSpot::BarStart, entry};
  if (xPx > bar.rightPx - grabPx) return {TimelineSpot::BarEnd, entry};
  return {TimelineSpot::Bar, entry};
}

double GridStepMs(std::optional<double> bpm) { return bpm && *bpm > 0 ? 60000.0 / *bpm : 10.0; }

uint32_t SnapMs(double timeMs, std::optional<double> bpm) {
  const double step = GridStepMs(bpm);
  const double snapped = std::round(std::max(timeMs, 0.0) / step) * step;
  return static_cast<uint32_t>(std::min(std::round(snapped), double(kMaxEffectTime)));
}
