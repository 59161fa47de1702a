#pragma once
// Zoom and scroll of the timeline's drawing area, without a window toolkit: the axis zooms from the
// whole demo down to kClosestBeatPx per beat, scrolls across the demo and follows the play cursor
// unless the author moved the view away from it; the rows scroll so every entry can be reached.
// Every operation leaves the view within the demo and the rows. Times are ms, positions pixels.
#include <cstdint>
#include <optional>

#include "timeline/timeline_geometry.h"

inline constexpr double kClosestBeatPx = 20;      // the closest zoom: a beat this wide
inline constexpr double kBeatWithoutBpmMs = 500;  // the beat the zoom assumes when no bpm is set
inline constexpr double kZoomStep = 1.25;         // one wheel notch or key press
inline constexpr double kFollowLeadIn = 0.1;      // after a page turn the cursor stands at this part of the axis

// The largest scale: kClosestBeatPx per beat (the whole demo when that is wider still).
double ClosestPxPerMs(const TimelineGeometry& geometry, std::optional<double> bpm);

// Zooms by factor (above 1 closer), keeping the time under xPx where it is.
void ZoomAround(TimelineGeometry& geometry, double factor, int xPx, std::optional<double> bpm);
// Zooms by factor around the play cursor, which stays in view.
void ZoomAroundCursor(TimelineGeometry& geometry, double factor, uint32_t cursorMs, std::optional<double> bpm);
void ShowWholeDemo(TimelineGeometry& geometry);
bool IsZoomedIn(const TimelineGeometry& geometry);

// The axis starts at firstMs (kept within the demo).
void ScrollAxisTo(TimelineGeometry& geometry, double firstMs);
// The rows scroll to rowsScrolledPx (kept within the rows).
void ScrollRowsTo(TimelineGeometry& geometry, int rowsScrolledPx);
// The rows scroll the least that shows the whole row of entry, with its open lanes as far as they fit.
void ScrollRowIntoView(TimelineGeometry& geometry, int entry);
// After a change of size, length or entry count: the view back within the demo and the rows.
void KeepViewInRange(TimelineGeometry& geometry);

bool CursorInView(const TimelineGeometry& geometry, uint32_t cursorMs);
// After the author zoomed or scrolled: the view follows the cursor again only when it shows it.
void AuthorMovedView(TimelineGeometry& geometry, uint32_t cursorMs);
// Once a frame: when following and the cursor left the axis, the axis turns a page to it.
void FollowCursor(TimelineGeometry& geometry, uint32_t cursorMs);
