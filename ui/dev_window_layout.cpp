#include "ui/dev_window_layout.h"

#include <algorithm>

DevWindowLayout LayOutDevWindows(ScreenRectPx screen, int wantedOutputWidthPx, int wantedOutputHeightPx,
                                 int tweakWidthPx, int tweakHeightPx) {
  DevWindowLayout layout;
  const int roomPx = screen.widthPx - tweakWidthPx - kDevWindowGapPx;
  const int outputWidthPx = std::max(kOutputMinWidthPx, std::min(wantedOutputWidthPx, roomPx));
  const int outputHeightPx =
      wantedOutputWidthPx > 0 ? wantedOutputHeightPx * outputWidthPx / wantedOutputWidthPx : wantedOutputHeightPx;
  layout.output = {screen.xPx, screen.yPx, outputWidthPx, outputHeightPx};
  layout.tweak = {screen.xPx + outputWidthPx + kDevWindowGapPx, screen.yPx, tweakWidthPx, tweakHeightPx};

  const int timelineYPx = screen.yPx + std::max(outputHeightPx, tweakHeightPx) + kDevWindowTitleGapPx;
  const int roomBelowPx = screen.yPx + screen.heightPx - timelineYPx;
  layout.timeline = {screen.xPx, timelineYPx, screen.widthPx,
                     std::clamp(roomBelowPx, kTimelineMinHeightPx, kTimelineMaxHeightPx)};
  return layout;
}
