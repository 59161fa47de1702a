// The timeline window as the development layout opens it on 1024x768 and 1280x1024 screens, without a
// window toolkit: every control inside the window, every one of 1, 15 or 255 entries reachable by
// scrolling, and the zoom from the whole demo down to twenty pixels a beat.
#include <gtest/gtest.h>

#include "timeline/timeline_layout.h"
#include "timeline/timeline_view.h"
#include "tweak/tweak_window.h"
#include "ui/dev_window_layout.h"

namespace {

// The drawing area of the timeline window that the development layout opens on a screen.
TimelineGeometry CanvasOnScreen(int screenWidthPx, int screenHeightPx, int entries) {
  const DevWindowLayout windows =
      LayOutDevWindows({0, 0, screenWidthPx, screenHeightPx}, 640, 480, kTweakWindowWidthPx, kTweakWindowHeightPx);
  const TimelineLayout layout = LayOutTimeline(windows.timeline.widthPx, windows.timeline.heightPx);
  return {layout.canvas.widthPx, layout.canvas.heightPx, 96000, entries, {}};
}

SceneSequence Sequence(int entries) {
  SceneSequence sequence;
  sequence.DemoLength = 96000;
  sequence.SequenceEntries.resize(entries);
  for (int i = 0; i < entries; ++i) {
    sequence.SequenceEntries[i].StartTime = i * 300;
    sequence.SequenceEntries[i].EndTime = i * 300 + 3999;
  }
  return sequence;
}

struct Screen {
  int widthPx, heightPx;
};
constexpr Screen kScreens[] = {{1024, 768}, {1280, 1024}};

}  // namespace

TEST(TimelineOnScreen, EveryEntryCanBeScrolledToAndHitOnEachScreen) {
  for (const Screen screen : kScreens) {
    for (const int count : {1, 15, 255}) {
      SCOPED_TRACE(std::to_string(screen.widthPx) + "x" + std::to_string(screen.heightPx) + ", " +
                   std::to_string(count) + " entries");
      TimelineGeometry g = CanvasOnScreen(screen.widthPx, screen.heightPx, count);
      const SceneSequence sequence = Sequence(count);
      EXPECT_GE(RowHeightPx(g), kMinRowHeightPx);
      EXPECT_GE(g.heightPx - kRowsTopPx, 7 * kMinRowHeightPx) << "at least seven short rows show at once";
      for (int entry : {0, count / 2, count - 1, 0}) {
        ScrollRowIntoView(g, entry);
        const int top = RowTopPx(g, entry);
        EXPECT_GE(top, kRowsTopPx);
        EXPECT_LE(top + RowHeightPx(g), g.heightPx);
        const BarSpanPx bar = BarSpan(g, sequence.SequenceEntries[entry]);
        const TimelineHit hit = HitTest(g, sequence, int((bar.leftPx + bar.rightPx) / 2), top + RowHeightPx(g) / 2);
        EXPECT_EQ(hit.entry, entry);
        EXPECT_EQ(hit.spot, TimelineSpot::Bar);
      }
      ScrollRowsTo(g, 1 << 30);
      EXPECT_EQ(g.view.rowsScrolledPx, MaxRowsScrollPx(g)) << "scrolling stops at the last row";
      if (MaxRowsScrollPx(g) > 0) {
        EXPECT_GE(RowTopPx(g, count - 1) + RowHeightPx(g), g.heightPx - RowHeightPx(g)) << "no room left below";
      }
      g.view.tallRows = true;
      EXPECT_TRUE(RowsShowPictures(g));
      EXPECT_GE(RowHeightPx(g) - 4, kThumbnailHeightPx);
    }
  }
}

TEST(TimelineOnScreen, ZoomRunsFromTheWholeDemoToTwentyPixelsABeat) {
  for (const Screen screen : kScreens) {
    SCOPED_TRACE(screen.widthPx);
    TimelineGeometry g = CanvasOnScreen(screen.widthPx, screen.heightPx, 15);
    EXPECT_NEAR(PixelOfTime(g, 96000) - PixelOfTime(g, 0), g.widthPx - 2 * kTimelineMarginPx, 0.5) << "whole demo";
    const int pointerPx = g.widthPx / 3;
    const uint32_t underPointerMs = TimeOfPixel(g, pointerPx);
    for (int notch = 0; notch < 100; ++notch) ZoomAround(g, kZoomStep, pointerPx, 120.0);
    EXPECT_NEAR(PixelOfTime(g, 500) - PixelOfTime(g, 0), kClosestBeatPx, 1e-6) << "a beat of 120 bpm";
    EXPECT_NEAR(TimeOfPixel(g, pointerPx), underPointerMs, 1) << "the time under the pointer stays";
    EXPECT_NEAR(VisibleMs(g), (g.widthPx - 2 * kTimelineMarginPx) * 500.0 / kClosestBeatPx, 1);
    for (int notch = 0; notch < 100; ++notch) ZoomAround(g, 1 / kZoomStep, pointerPx, 120.0);
    EXPECT_FALSE(IsZoomedIn(g));
    EXPECT_EQ(g.view.firstMs, 0);
  }
}

TEST(TimelineOnScreen, EveryControlFitsTheWindowAtBothScreens) {
  for (const Screen screen : kScreens) {
    SCOPED_TRACE(screen.widthPx);
    const DevWindowLayout windows =
        LayOutDevWindows({0, 0, screen.widthPx, screen.heightPx}, 640, 480, kTweakWindowWidthPx, kTweakWindowHeightPx);
    const int widthPx = windows.timeline.widthPx, heightPx = windows.timeline.heightPx;
    const TimelineLayout layout = LayOutTimeline(widthPx, heightPx);
    std::vector<ControlRectPx> controls(layout.fields.begin(), layout.fields.end());
    controls.insert(controls.end(), layout.captions.begin(), layout.captions.end());
    controls.insert(controls.end(), layout.buttons.begin(), layout.buttons.end());
    controls.insert(controls.end(), {layout.preview, layout.tallRows});
    for (const ControlRectPx& c : controls) {
      EXPECT_GE(c.xPx, 0);
      EXPECT_LE(c.xPx + c.widthPx, widthPx);
      EXPECT_LE(c.yPx + c.heightPx, layout.status.yPx) << "above the status line";
    }
    for (size_t a = 0; a < controls.size(); ++a)
      for (size_t b = a + 1; b < controls.size(); ++b) {
        const ControlRectPx &p = controls[a], &q = controls[b];
        EXPECT_FALSE(p.xPx < q.xPx + q.widthPx && q.xPx < p.xPx + p.widthPx && p.yPx < q.yPx + q.heightPx &&
                     q.yPx < p.yPx + p.heightPx)
            << a << " overlaps " << b;
      }
    EXPECT_LE(layout.status.yPx + layout.status.heightPx, layout.canvas.yPx);
    EXPECT_EQ(layout.axisScrollbar.yPx + layout.axisScrollbar.heightPx, heightPx);
    EXPECT_EQ(layout.rowsScrollbar.xPx + layout.rowsScrollbar.widthPx, widthPx);
  }
}
