#include "timeline/timeline_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

int LanesHeightPx(const TimelineGeometry& geometry) {
  return geometry.lanesEntry >= 0 ? geometry.laneCount * kLaneHeightPx : 0;
}

int RowContentTopPx(const TimelineGeometry& geometry, int entry) {
  const bool belowLanes = geometry.lanesEntry >= 0 && entry > geometry.lanesEntry;
  return entry * RowHeightPx(geometry) + (belowLanes ? LanesHeightPx(geometry) : 0);
}

int RowTopPx(const TimelineGeometry& geometry, int entry) {
  return kRowsTopPx + RowContentTopPx(geometry, entry) - geometry.view.rowsScrolledPx;
}

int LaneTopPx(const TimelineGeometry& geometry, int lane) {
  return RowTopPx(geometry, geometry.lanesEntry) + RowHeightPx(geometry) + lane * kLaneHeightPx;
}

namespace {
// The entry whose row or lanes hold contentYPx (from the first row's top), and the lane there (-1: the row).
std::pair<int, int> EntryAtContentY(const TimelineGeometry& geometry, int contentYPx) {
  const int rowHeightPx = RowHeightPx(geometry);
  const int lanesEntry = geometry.lanesEntry;
  if (lanesEntry < 0 || contentYPx < RowContentTopPx(geometry, lanesEntry) + rowHeightPx)
    return {contentYPx / rowHeightPx, -1};
  const int belowRowPx = contentYPx - RowContentTopPx(geometry, lanesEntry) - rowHeightPx;
  if (belowRowPx < LanesHeightPx(geometry)) return {lanesEntry, belowRowPx / kLaneHeightPx};
  return {lanesEntry + 1 + (belowRowPx - LanesHeightPx(geometry)) / rowHeightPx, -1};
}
}  // namespace

VisibleEntries EntriesInView(const TimelineGeometry& geometry) {
  const int scrolledPx = geometry.view.rowsScrolledPx;
  const int first = EntryAtContentY(geometry, scrolledPx).first;
  const int last = EntryAtContentY(geometry, scrolledPx + std::max(0, geometry.heightPx - kRowsTopPx)).first;
  return {first, std::min(last, geometry.entryCount - 1)};
}

int MaxRowsScrollPx(const TimelineGeometry& geometry) {
  const int roomPx = std::max(0, geometry.heightPx - kRowsTopPx);
  return std::max(0, geometry.entryCount * RowHeightPx(geometry) + LanesHeightPx(geometry) - roomPx);
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
  const auto [entry, lane] = EntryAtContentY(geometry, yPx - kRowsTopPx + geometry.view.rowsScrolledPx);
  if (entry >= static_cast<int>(sequence.SequenceEntries.size())) return {};
  if (lane >= 0) return {TimelineSpot::Lane, entry, lane};
  const BarSpanPx bar = BarSpan(geometry, sequence.SequenceEntries[entry]);
  // Narrow bars: the middle third stays the body, so a short entry can still be moved.
  const double grabPx = std::min<double>(kEdgeGrabPx, (bar.rightPx - bar.leftPx) / 3);
  if (xPx < bar.leftPx - kEdgeGrabPx || xPx > bar.rightPx + kEdgeGrabPx) return {TimelineSpot::Row, entry};
  if (xPx < bar.leftPx + grabPx) return {TimelineSpot::BarStart, entry};
  if (xPx > bar.rightPx - grabPx) return {TimelineSpot::BarEnd, entry};
  return {TimelineSpot::Bar, entry};
}
