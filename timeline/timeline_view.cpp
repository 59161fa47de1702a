#include "timeline/timeline_view.h"

#include <algorithm>
#include <cmath>

#include "timeline/timeline_snap.h"

double ClosestPxPerMs(const TimelineGeometry& geometry, std::optional<double> bpm) {
  const double beatMs = bpm && *bpm > 0 ? GridStepMs(bpm) : kBeatWithoutBpmMs;
  return std::max(kClosestBeatPx / beatMs, WholeDemoPxPerMs(geometry));
}

void ZoomAround(TimelineGeometry& geometry, double factor, int xPx, std::optional<double> bpm) {
  const double oldScale = ScalePxPerMs(geometry);
  const double pointerMs = geometry.view.firstMs + (xPx - kTimelineMarginPx) / oldScale;
  const double scale = std::clamp(oldScale * factor, WholeDemoPxPerMs(geometry), ClosestPxPerMs(geometry, bpm));
  geometry.view.pxPerMs = scale;
  ScrollAxisTo(geometry, pointerMs - (xPx - kTimelineMarginPx) / scale);
}

void ZoomAroundCursor(TimelineGeometry& geometry, double factor, uint32_t cursorMs, std::optional<double> bpm) {
  if (!CursorInView(geometry, cursorMs)) ScrollAxisTo(geometry, cursorMs - VisibleMs(geometry) / 2);
  ZoomAround(geometry, factor, static_cast<int>(std::lround(PixelOfTime(geometry, cursorMs))), bpm);
  geometry.view.followCursor = true;
}

void ShowWholeDemo(TimelineGeometry& geometry) {
  geometry.view.pxPerMs = 0;
  geometry.view.firstMs = 0;
  geometry.view.followCursor = true;
}

bool IsZoomedIn(const TimelineGeometry& geometry) { return ScalePxPerMs(geometry) > WholeDemoPxPerMs(geometry); }

void ScrollAxisTo(TimelineGeometry& geometry, double firstMs) {
  const double lastFirstMs = std::max(0.0, double(geometry.lengthMs) - VisibleMs(geometry));
  geometry.view.firstMs = std::clamp(firstMs, 0.0, lastFirstMs);
}

void ScrollRowsTo(TimelineGeometry& geometry, int rowsScrolledPx) {
  geometry.view.rowsScrolledPx = std::clamp(rowsScrolledPx, 0, MaxRowsScrollPx(geometry));
}

void ScrollRowIntoView(TimelineGeometry& geometry, int entry) {
  if (entry < 0 || entry >= geometry.entryCount) return;
  // The row with its open lanes, as much of them as fits under the row.
  const int roomPx = std::max(RowHeightPx(geometry), geometry.heightPx - kRowsTopPx);
  const int heightPx =
      std::min(roomPx, RowHeightPx(geometry) + (entry == geometry.lanesEntry ? LanesHeightPx(geometry) : 0));
  const int topPx = RowContentTopPx(geometry, entry);
  int scrolledPx = geometry.view.rowsScrolledPx;
  if (topPx < scrolledPx) scrolledPx = topPx;
  if (topPx + heightPx > scrolledPx + roomPx) scrolledPx = topPx + heightPx - roomPx;
  ScrollRowsTo(geometry, scrolledPx);
}

void KeepViewInRange(TimelineGeometry& geometry) {
  if (geometry.view.pxPerMs <= WholeDemoPxPerMs(geometry)) geometry.view.pxPerMs = 0;
  ScrollAxisTo(geometry, geometry.view.firstMs);
  ScrollRowsTo(geometry, geometry.view.rowsScrolledPx);
}

bool CursorInView(const TimelineGeometry& geometry, uint32_t cursorMs) {
  return cursorMs >= geometry.view.firstMs && cursorMs <= geometry.view.firstMs + VisibleMs(geometry);
}

void AuthorMovedView(TimelineGeometry& geometry, uint32_t cursorMs) {
  geometry.view.followCursor = CursorInView(geometry, cursorMs);
}

void FollowCursor(TimelineGeometry& geometry, uint32_t cursorMs) {
  if (!geometry.view.followCursor || CursorInView(geometry, cursorMs)) return;
  ScrollAxisTo(geometry, cursorMs - kFollowLeadIn * VisibleMs(geometry));
}
