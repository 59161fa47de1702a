#pragma once
// Where things are in the timeline's drawing area: the time axis across its width, a band for the
// soundtrack's waveform under it, then one row per sequence entry in file order, the open entry's
// automation lanes (one per track) right under its row. The axis shows a window of the demo (zoom and
// horizontal scroll) and the rows scroll under the waveform band. Pure arithmetic,
// no window toolkit. Coordinates are pixels from the area's top left corner; times are ms of demo time.
#include <cstdint>
#include <optional>

#include "scene/sequence.h"

// What part of the demo and of the rows the area shows.
struct TimelineView {
  double pxPerMs = 0;        // the zoom; 0 (or anything below the whole demo's scale) shows the whole demo
  double firstMs = 0;        // the demo time at the axis's left end
  int rowsScrolledPx = 0;    // how far the rows are scrolled up under the waveform band
  bool tallRows = false;     // rows high enough for the entries' pictures
  bool followCursor = true;  // the axis keeps the play cursor in view
};

struct TimelineGeometry {
  int widthPx = 0;
  int heightPx = 0;
  uint32_t lengthMs = 1;  // the demo length: the axis runs from 0 to it
  int entryCount = 0;
  TimelineView view;
  int lanesEntry = -1;  // the entry whose lanes show under its row; -1: none
  int laneCount = 0;    // its tracks
};

inline constexpr int kTimelineMarginPx = 6;  // left and right of the axis
inline constexpr int kAxisHeightPx = 18;     // the ruler with the seconds
inline constexpr int kWaveHeightPx = 36;     // the waveform band under it
inline constexpr int kRowsTopPx = kAxisHeightPx + kWaveHeightPx;
inline constexpr int kMinRowHeightPx = 20;   // a row for a label
inline constexpr int kTallRowHeightPx = 40;  // a row for a label and a picture
inline constexpr int kThumbnailWidthPx = 64, kThumbnailHeightPx = 36;
inline constexpr int kEdgeGrabPx = 6;  // how near a bar's end the pointer takes the end
inline constexpr int kLaneHeightPx = 34;  // one automation lane
inline constexpr int kLanePaddingPx = 4;  // above and below the curve in a lane
inline constexpr int kKeyGrabPx = 5;      // how near a key's handle the pointer takes the key

// Pixels per ms of the axis: the view's zoom, at least the scale that shows the whole demo.
double ScalePxPerMs(const TimelineGeometry& geometry);
double WholeDemoPxPerMs(const TimelineGeometry& geometry);
// How many ms the axis shows.
double VisibleMs(const TimelineGeometry& geometry);

// The x of a demo time, and the demo time under an x (clamped into 0..lengthMs).
double PixelOfTime(const TimelineGeometry& geometry, double timeMs);
uint32_t TimeOfPixel(const TimelineGeometry& geometry, int xPx);

// The height of one entry row: tall rows, or the rows share the room below the waveform between the
// short and the tall height.
int RowHeightPx(const TimelineGeometry& geometry);
int RowTopPx(const TimelineGeometry& geometry, int entry);
// The top of entry's row from the first row's top (the lanes above it count).
int RowContentTopPx(const TimelineGeometry& geometry, int entry);
// The height of the open entry's lanes together.
int LanesHeightPx(const TimelineGeometry& geometry);
int LaneTopPx(const TimelineGeometry& geometry, int lane);
// The entries whose rows (or lanes) show, first to last (none: last < first).
struct VisibleEntries {
  int first = 0, last = -1;
};
VisibleEntries EntriesInView(const TimelineGeometry& geometry);
// How far the rows can scroll: the part of all rows and lanes that does not fit under the waveform band.
int MaxRowsScrollPx(const TimelineGeometry& geometry);
// Rows of this height show the entries' pictures.
bool RowsShowPictures(const TimelineGeometry& geometry);

// An entry's bar: from StartTime to just past EndTime (the end time is the last ms it is drawn).
struct BarSpanPx {
  double leftPx, rightPx;
};
BarSpanPx BarSpan(const TimelineGeometry& geometry, const TSceneSeqEntry& entry);

// Where a row's label and picture go on a bar (the part of it that shows): the label inside at its left
// when it fits, else beside the bar, on its right or, at the area's right edge, on its left (inside,
// cut, when neither side has room); the picture right of an inside label (never over it), at the bar's
// middle when there is room. pictureXPx is where the picture's left edge goes (drawn clipped to the bar).
struct RowLayoutPx {
  int labelXPx = 0;
  bool labelInside = true;
  int pictureXPx = 0;
};
RowLayoutPx LayOutRow(BarSpanPx bar, int labelWidthPx, int pictureWidthPx, int areaWidthPx);

enum class TimelineSpot { None, Axis, Row, Bar, BarStart, BarEnd, Lane };
struct TimelineHit {
  TimelineSpot spot = TimelineSpot::None;
  int entry = -1;  // for Row, Lane and the Bar spots
  int lane = -1;   // for Lane
};
// What lies under the pointer: the axis (ruler or waveform band), an entry's row outside its bar, its bar,
// one of the bar's ends, or one of the open entry's lanes.
TimelineHit HitTest(const TimelineGeometry& geometry, const SceneSequence& sequence, int xPx, int yPx);
