#pragma once
// Where things are in the timeline's drawing area: the time axis across its width, a band for the
// soundtrack's waveform under it, then one row per sequence entry in file order. Pure arithmetic, no
// window toolkit. Coordinates are pixels from the area's top left corner; times are ms of demo time.
#include <cstdint>
#include <optional>

#include "scene/sequence.h"

struct TimelineGeometry {
  int widthPx = 0;
  int heightPx = 0;
  uint32_t lengthMs = 1;  // the demo length: the axis runs from 0 to it
  int entryCount = 0;
};

inline constexpr int kTimelineMarginPx = 6;    // left and right of the axis
inline constexpr int kAxisHeightPx = 18;       // the ruler with the seconds
inline constexpr int kWaveHeightPx = 36;       // the waveform band under it
inline constexpr int kRowsTopPx = kAxisHeightPx + kWaveHeightPx;
inline constexpr int kMaxRowHeightPx = 22;
inline constexpr int kMinRowHeightPx = 6;
inline constexpr int kEdgeGrabPx = 4;          // how near a bar's end the pointer takes the end

// The x of a demo time, and the demo time under an x (clamped into 0..lengthMs).
double PixelOfTime(const TimelineGeometry& geometry, double timeMs);
uint32_t TimeOfPixel(const TimelineGeometry& geometry, int xPx);

// The height of one entry row: the rows share the room below the waveform, within the limits above.
int RowHeightPx(const TimelineGeometry& geometry);
int RowTopPx(const TimelineGeometry& geometry, int entry);

// An entry's bar: from StartTime to just past EndTime (the end time is the last ms it is drawn).
struct BarSpanPx {
  double leftPx, rightPx;
};
BarSpanPx BarSpan(const TimelineGeometry& geometry, const TSceneSeqEntry& entry);

enum class TimelineSpot { None, Axis, Row, Bar, BarStart, BarEnd };
struct TimelineHit {
  TimelineSpot spot = TimelineSpot::None;
  int entry = -1;  // for Row and the Bar spots
};
// What lies under the pointer: the axis (ruler or waveform band), an entry's row outside its bar, its bar,
// or one of the bar's ends.
TimelineHit HitTest(const TimelineGeometry& geometry, const SceneSequence& sequence, int xPx, int yPx);

// The grid times snap to: beats when bpm is set (from demo time 0), else 10 ms.
double GridStepMs(std::optional<double> bpm);
// The grid point nearest timeMs (negative times snap to 0).
uint32_t SnapMs(double timeMs, std::optional<double> bpm);
