#include "timeline/timeline_geometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kLabelPaddingPx = 3;

double AxisWidthPx(const TimelineGeometry& geometry) { return std::max(1, geometry.widthPx - 2 * kTimelineMarginPx); }
}  // namespace

double WholeDemoPxPerMs(const TimelineGeometry& geometry) {
  return AxisWidthPx(geometry) / std::max<uint32_t>(geometry.lengthMs, 1);
}

double ScalePxPerMs(const TimelineGeometry& geometry) {
  return std::max(geometry.view.pxPerMs, WholeDemoPxPerMs(geometry));
}

double VisibleMs(const TimelineGeometry& geometry) { return AxisWidthPx(geometry) / ScalePxPerMs(geometry); }

double PixelOfTime(const TimelineGeometry& geometry, double timeMs) {
  return kTimelineMarginPx + (timeMs - geometry.view.firstMs) * ScalePxPerMs(geometry);
}

uint32_t TimeOfPixel(const TimelineGeometry& geometry, int xPx) {
  const double timeMs = geometry.view.firstMs + (xPx - kTimelineMarginPx) / ScalePxPerMs(geometry);
  return static_cast<uint32_t>(std::clamp(std::round(timeMs), 0.0, double(geometry.lengthMs)));
}

int RowHeightPx(const TimelineGeometry& geometry) {
  if (geometry.view.tallRows) return kTallRowHeightPx;
  const int roomPx = geometry.heightPx - kRowsTopPx;
  if (geometry.entryCount <= 0) return kMinRowHeightPx;
  return std::clamp(roomPx / geometry.entryCount, kMinRowHeightPx, kTallRowHeightPx);
}

bool RowsShowPictures(const TimelineGeometry& geometry) { return RowHeightPx(geometry) - 4 >= kThumbnailHeightPx; }

int RowTopPx(const TimelineGeometry& geometry, int entry) {
  return kRowsTopPx + entry * RowHeightPx(geometry) - geometry.view.rowsScrolledPx;
}

int MaxRowsScrollPx(const TimelineGeometry& geometry) {
  const int roomPx = std::max(0, geometry.heightPx - kRowsTopPx);
  return std::max(0, geometry.entryCount * RowHeightPx(geometry) - roomPx);
}

BarSpanPx BarSpan(const TimelineGeometry& geometry, const TSceneSeqEntry& entry) {
  return {PixelOfTime(geometry, entry.StartTime), PixelOfTime(geometry, double(entry.EndTime) + 1)};
}

RowLayoutPx LayOutRow(BarSpanPx bar, int labelWidthPx, int pictureWidthPx, int areaWidthPx) {
  const int leftPx = static_cast<int>(std::floor(bar.leftPx)), rightPx = static_cast<int>(std::ceil(bar.rightPx));
  const int labelRoomPx = labelWidthPx + 2 * kLabelPaddingPx;
  RowLayoutPx layout;
  const bool besideRight = rightPx + labelRoomPx <= areaWidthPx, besideLeft = leftPx - labelRoomPx >= 0;
  layout.labelInside = labelRoomPx <= rightPx - leftPx || (!besideRight && !besideLeft);
  if (!layout.labelInside) {
    layout.labelXPx = besideRight ? rightPx + kLabelPaddingPx : leftPx - kLabelPaddingPx - labelWidthPx;
    layout.pictureXPx = leftPx + 2;
    return layout;
  }
  layout.labelXPx = leftPx + kLabelPaddingPx;
  const int labelEndPx = layout.labelXPx + labelWidthPx + kLabelPaddingPx;
  const int middlePx = (leftPx + rightPx) / 2;
  layout.pictureXPx = std::max(middlePx - pictureWidthPx / 2, labelEndPx);
  return layout;
}

TimelineHit HitTest(const TimelineGeometry& geometry, const SceneSequence& sequence, int xPx, int yPx) {
  if (xPx < 0 || yPx < 0 || xPx >= geometry.widthPx || yPx >= geometry.heightPx) return {};
  if (yPx < kRowsTopPx) return {TimelineSpot::Axis, -1};
  const int entry = (yPx - kRowsTopPx + geometry.view.rowsScrolledPx) / RowHeightPx(geometry);
  if (entry >= static_cast<int>(sequence.SequenceEntries.size())) return {};
  const BarSpanPx bar = BarSpan(geometry, sequence.SequenceEntries[entry]);
  // Narrow bars: the middle third stays the body, so a short entry can still be moved.
  const double grabPx = std::min<double>(kEdgeGrabPx, (bar.rightPx - bar.leftPx) / 3);
  if (xPx < bar.leftPx - kEdgeGrabPx || xPx > bar.rightPx + kEdgeGrabPx) return {TimelineSpot::Row, entry};
  if (xPx < bar.leftPx + grabPx) return {TimelineSpot::BarStart, entry};
  if (xPx > bar.rightPx - grabPx) return {TimelineSpot::BarEnd, entry};
  return {TimelineSpot::Bar, entry};
}
