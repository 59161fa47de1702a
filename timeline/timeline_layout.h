#pragma once
// Where the timeline window's controls go, without a window toolkit: the fields (caption and box), the
// buttons and the switches flow left to right in rows as wide as the window, a one-line status text under
// them, then the drawing area with a scroll bar for the rows at its right and one for the axis under it.
// Every control stays inside the window's width. Positions are window pixels.
#include <array>

#include "timeline/timeline_form.h"

struct ControlRectPx {
  int xPx = 0, yPx = 0, widthPx = 0, heightPx = 0;
};

inline constexpr int kTimelineControlHeightPx = 20;
inline constexpr int kTimelineRowGapPx = 4;
inline constexpr int kTimelineFieldCaptionPx = 38, kTimelineFieldBoxPx = 52;
inline constexpr int kTimelineScrollbarPx = 14;
inline constexpr int kTimelineStatusHeightPx = 16;

struct TimelineLayout {
  std::array<ControlRectPx, kTimelineFieldCount> captions, fields;
  std::array<ControlRectPx, kTimelineButtonCount> buttons;
  ControlRectPx preview, tallRows;
  ControlRectPx status;         // a line of text across the window
  ControlRectPx canvas;         // the drawing area
  ControlRectPx rowsScrollbar;  // beside the rows, below the waveform band
  ControlRectPx axisScrollbar;  // under the drawing area
  int controlRows = 0;
};

TimelineLayout LayOutTimeline(int widthPx, int heightPx);
