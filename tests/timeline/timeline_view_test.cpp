// The timeline's view (scrolling, following the cursor), the places of labels and pictures on a row, and
// the snapping of dragged times, without a window.
#include <gtest/gtest.h>

#include "timeline/timeline_snap.h"
#include "timeline/timeline_view.h"

namespace {

TSceneSeqEntry Entry(uint32_t startMs, uint32_t endMs) {
  TSceneSeqEntry entry;
  entry.StartTime = startMs;
  entry.EndTime = endMs;
  return entry;
}

// The drawing area of a 1024-pixel-wide timeline window, 96 s of demo.
TimelineGeometry Canvas(int entries) { return {1010, 240, 96000, entries, {}}; }

}  // namespace

TEST(TimelineView, ScrollStaysWithinTheDemoAndTheViewFollowsTheCursor) {
  TimelineGeometry g = Canvas(15);
  ZoomAroundCursor(g, 8, 0, 120.0);
  const double visibleMs = VisibleMs(g);
  ASSERT_LT(visibleMs, 30000);
  ScrollAxisTo(g, -500);
  EXPECT_EQ(g.view.firstMs, 0);
  ScrollAxisTo(g, 1e9);
  EXPECT_NEAR(g.view.firstMs + visibleMs, 96000, 1e-6) << "the last view ends at the demo's end";

  ScrollAxisTo(g, 0);
  AuthorMovedView(g, 1000);
  EXPECT_TRUE(g.view.followCursor);
  FollowCursor(g, uint32_t(visibleMs) + 100);  // the cursor ran off the right edge: a page turn
  EXPECT_TRUE(CursorInView(g, uint32_t(visibleMs) + 100));
  EXPECT_NEAR(g.view.firstMs, visibleMs + 100 - kFollowLeadIn * visibleMs, 1e-6);
  FollowCursor(g, 0);  // the loop went back to the start
  EXPECT_EQ(g.view.firstMs, 0);

  ScrollAxisTo(g, 50000);
  AuthorMovedView(g, 1000);  // scrolled away from the cursor: the view stays where the author put it
  EXPECT_FALSE(g.view.followCursor);
  FollowCursor(g, 30000);
  EXPECT_EQ(g.view.firstMs, 50000);
  ZoomAroundCursor(g, kZoomStep, 30000, 120.0);  // the zoom keys bring the cursor back and follow it
  EXPECT_TRUE(g.view.followCursor);
  EXPECT_TRUE(CursorInView(g, 30000));

  g.lengthMs = 10000;  // a shorter demo typed in
  KeepViewInRange(g);
  EXPECT_LE(g.view.firstMs + VisibleMs(g), 10000 + 1e-6);
}

TEST(TimelineView, LabelsStayReadableAndPicturesNeverCoverThem) {
  const RowLayoutPx wide = LayOutRow({100, 400}, 60, kThumbnailWidthPx, 1000);
  EXPECT_TRUE(wide.labelInside);
  EXPECT_EQ(wide.labelXPx, 103);
  EXPECT_EQ(wide.pictureXPx, 250 - kThumbnailWidthPx / 2) << "at the bar's middle";
  const RowLayoutPx narrow = LayOutRow({100, 180}, 60, kThumbnailWidthPx, 1000);
  EXPECT_TRUE(narrow.labelInside);
  EXPECT_GE(narrow.pictureXPx, narrow.labelXPx + 60) << "right of the label";
  const RowLayoutPx shortBar = LayOutRow({100, 140}, 60, kThumbnailWidthPx, 1000);
  EXPECT_FALSE(shortBar.labelInside);
  EXPECT_GE(shortBar.labelXPx, 140) << "beside the bar";
  const RowLayoutPx atTheEdge = LayOutRow({950, 990}, 60, kThumbnailWidthPx, 1000);
  EXPECT_FALSE(atTheEdge.labelInside);
  EXPECT_LE(atTheEdge.labelXPx + 60, 950) << "left of the bar: the right side has no room";
  const RowLayoutPx nowhere = LayOutRow({0, 40}, 60, kThumbnailWidthPx, 80);
  EXPECT_TRUE(nowhere.labelInside) << "no room on either side: inside, cut";
}

TEST(TimelineSnap, GridPoints) {
  EXPECT_EQ(SnapMs(1234, std::nullopt), 1230u);
  EXPECT_EQ(SnapMs(1235.2, std::nullopt), 1240u);
  EXPECT_EQ(SnapMs(-40, std::nullopt), 0u);
  EXPECT_EQ(SnapMs(1234, 120.0), 1000u);  // a beat is 500 ms
  EXPECT_EQ(SnapMs(1260, 120.0), 1500u);
  EXPECT_EQ(SnapMs(1000, 140.0), 857u);  // 428.57 ms beats, rounded to the ms
  EXPECT_EQ(GridPointAtOrBeforeMs(1499, 120.0), 1000u);
  EXPECT_EQ(GridPointAtOrBeforeMs(1500, 120.0), 1500u);
  EXPECT_EQ(GridPointAtOrBeforeMs(1285, 140.0), 857u) << "1285.7 rounds to 1286, after the cursor";
  EXPECT_EQ(GridPointAtOrBeforeMs(1286, 140.0), 1286u);
  EXPECT_EQ(GridPointAtOrBeforeMs(4321, std::nullopt), 4320u);
}

TEST(TimelineSnap, EdgesAndTheCursorWinOverTheGridWithinReach) {
  SceneSequence sequence;
  sequence.DemoLength = 20000;
  sequence.SequenceEntries = {Entry(1000, 2999), Entry(5230, 7999), Entry(4000, 4999)};
  const SnapTargets targets = DragTargets(sequence, 2, 9870, 120.0, 60, false);
  EXPECT_EQ(SnapTime(5200, targets), 5230u) << "another entry's start";
  EXPECT_EQ(SnapTime(3040, targets), 3000u) << "just past another entry's end";
  EXPECT_EQ(SnapTime(9900, targets), 9870u) << "the cursor";
  EXPECT_EQ(SnapTime(19950, targets), 20000u) << "the demo's end";
  EXPECT_EQ(SnapTime(4400, targets), 4500u) << "nothing near: the beat";
  EXPECT_EQ(SnapTime(4020, targets), 4000u) << "the dragged entry's own edges are no magnets";

  // A moved bar of 1000 ms: its end lands on a magnet as well as its start.
  EXPECT_EQ(SnapMove(4210, 1000, targets), 4230u) << "its end on the next entry's start";
  EXPECT_EQ(SnapMove(2980, 1000, targets), 3000u) << "its start after the previous entry";
  EXPECT_EQ(SnapMove(6400, 1000, targets), 6500u) << "nothing near: its start on the beat";

  SnapTargets off = targets;
  off.off = true;  // Alt held
  EXPECT_EQ(SnapTime(5201.4, off), 5201u);
  EXPECT_EQ(SnapMove(4211, 1000, off), 4211u);
}
