#pragma once
// Where development mode puts its windows on the screen: the output at the top left, the tweak window
// to its right, the timeline below both across the screen's width. On a screen too low for that (1024x768)
// the timeline goes below the output only, left of the tweak window, and the output shrinks so the
// timeline keeps kTimelineMinHeightPx. No window covers another; on a screen too narrow for both side by
// side the output shrinks (aspect kept) instead of overlapping.
// All values are screen pixels; a window's rectangle is its client area, and the gaps leave room for
// a window manager's frame and title bar.

struct ScreenRectPx {
  int xPx = 0, yPx = 0, widthPx = 0, heightPx = 0;
};

struct DevWindowLayout {
  ScreenRectPx output;    // size chosen so the picture keeps the wanted aspect
  ScreenRectPx tweak;     // always the tweak window's own size
  ScreenRectPx timeline;  // the rest of the screen below; at least kTimelineMinHeightPx high
};

constexpr int kDevWindowGapPx = 8;         // between windows side by side
constexpr int kDevWindowTitleGapPx = 32;   // above a window placed below another (its title bar)
constexpr int kOutputMinWidthPx = 160;     // the output never shrinks below this
constexpr int kTimelineMinHeightPx = 320;  // room for the controls and a few rows
constexpr int kTimelineMaxHeightPx = 400;

// screen: the work area of the monitor the output goes to. wanted*: the output size the author chose.
DevWindowLayout LayOutDevWindows(ScreenRectPx screen, int wantedOutputWidthPx, int wantedOutputHeightPx,
                                 int tweakWidthPx, int tweakHeightPx);
