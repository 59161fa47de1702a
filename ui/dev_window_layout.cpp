#include "ui/dev_window_layout.h"

#include <algorithm>

namespace {

// The output at the top left, at most maxWidthPx x maxHeightPx, keeping the wanted aspect.
ScreenRectPx FitOutput(ScreenRectPx screen, int wantedWidthPx, int wantedHeightPx, int maxWidthPx, int maxHeightPx) {
  int widthPx = std::max(kOutputMinWidthPx, std::min(wantedWidthPx, maxWidthPx));
  const auto heightOf = [&](int w) { return wantedWidthPx > 0 ? wantedHeightPx * w / wantedWidthPx : wantedHeightPx; };
  if (heightOf(widthPx) > maxHeightPx && wantedHeightPx > 0)
    widthPx = std::max(kOutputMinWidthPx, wantedWidthPx * maxHeightPx / wantedHeightPx);
  return {screen.xPx, screen.yPx, widthPx, heightOf(widthPx)};
}

}  // namespace

DevWindowLayout LayOutDevWindows(ScreenRectPx screen, int wantedOutputWidthPx, int wantedOutputHeightPx,
                                 int tweakWidthPx, int tweakHeightPx) {
  DevWindowLayout layout;
  const int roomBesideTweakPx = screen.widthPx - tweakWidthPx - kDevWindowGapPx;
  const int screenBottomPx = screen.yPx + screen.heightPx;
  layout.output = FitOutput(screen, wantedOutputWidthPx, wantedOutputHeightPx, roomBesideTweakPx, screen.heightPx);
  layout.tweak = {screen.xPx + layout.output.widthPx + kDevWindowGapPx, screen.yPx, tweakWidthPx, tweakHeightPx};
  const int belowBothYPx = screen.yPx + std::max(layout.output.heightPx, tweakHeightPx) + kDevWindowTitleGapPx;
  if (screenBottomPx - belowBothYPx >= kTimelineMinHeightPx) {
    layout.timeline = {screen.xPx, belowBothYPx, screen.widthPx,
                       std::min(screenBottomPx - belowBothYPx, kTimelineMaxHeightPx)};
    return layout;
  }
  // Below the output only, up to the tweak window at the screen's right edge: the output gives up
  // height for the timeline.
  const int outputMaxHeightPx = screen.heightPx - kDevWindowTitleGapPx - kTimelineMinHeightPx;
  layout.output =
      FitOutput(screen, wantedOutputWidthPx, wantedOutputHeightPx, roomBesideTweakPx, std::max(outputMaxHeightPx, 1));
  const int timelineWidthPx = std::max(layout.output.widthPx, roomBesideTweakPx);
  layout.tweak.xPx = screen.xPx + timelineWidthPx + kDevWindowGapPx;
  const int timelineYPx = screen.yPx + layout.output.heightPx + kDevWindowTitleGapPx;
  layout.timeline = {screen.xPx, timelineYPx, timelineWidthPx,
                     std::clamp(screenBottomPx - timelineYPx, kTimelineMinHeightPx, kTimelineMaxHeightPx)};
  return layout;
}
