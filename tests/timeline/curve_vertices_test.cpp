// The vertices a lane's curve is drawn through: a gentle curve seen zoomed in still bends, a straight
// stretch stays one line, and the polyline never strays from the curve by more than a pixel.
#include "timeline/curve_vertices.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/automation.h"
#include "scene/param_table.h"
#include "timeline/key_lanes.h"

namespace {

// A real parameter: its lane spans its keys' values.
uint8_t RealParam() {
  uint8_t param = 0;
  while (EvaluationType(param) != ParamType::Sing) ++param;
  return param;
}

// The curve of a track at 1 px per ms, x 0 at local time firstMs, in a lane at the top.
struct ZoomedLane {
  AutomationTrack track;
  int64_t firstMs = 0;
  double YAt(int xPx) const { return LaneYOfValue(0, LaneValueRange(track), TrackValue(track, firstMs + xPx)); }
};

// The polyline's height at xPx.
double PolylineY(const std::vector<CurveVertex>& vertices, int xPx) {
  for (size_t i = 1; i < vertices.size(); ++i) {
    const CurveVertex &a = vertices[i - 1], &b = vertices[i];
    if (xPx <= b.xPx) return a.yPx + (b.yPx - a.yPx) * (xPx - a.xPx) / double(b.xPx - a.xPx);
  }
  return vertices.back().yPx;
}

// The farthest the polyline gets from the curve over every pixel column from leftPx to rightPx.
double WorstStrayPx(const ZoomedLane& lane, const std::vector<CurveVertex>& vertices, int leftPx, int rightPx) {
  double worst = 0;
  for (int xPx = leftPx; xPx <= rightPx; ++xPx)
    worst = std::max(worst, std::fabs(PolylineY(vertices, xPx) - lane.YAt(xPx)));
  return worst;
}

}  // namespace

TEST(CurveVertices, AGentleCurveZoomedInBendsWithinAPixel) {
  for (KeyCurve curve : {KeyCurve::Smooth, KeyCurve::Ramp}) {
    // A 3 s ease over the lane's height, its first second in view at 1 px per ms: neighbouring steps of
    // 3 px bend by less than a hundredth of a pixel, yet the curve strays pixels from its chord.
    const ZoomedLane lane{{RealParam(), {{0, 0.0f, curve}, {3000, 1.0f, KeyCurve::Linear}}}, 0};
    const std::vector<CurveVertex> vertices = CurveVertices(0, 1000, [&](int xPx) { return lane.YAt(xPx); });
    ASSERT_GE(vertices.size(), 3u) << kKeyCurveNames[int(curve)] << ": the curve is drawn bending";
    EXPECT_EQ(vertices.front().xPx, 0);
    EXPECT_EQ(vertices.back().xPx, 1000);
    EXPECT_LT(WorstStrayPx(lane, vertices, 0, 1000), 0.75) << kKeyCurveNames[int(curve)];
    EXPECT_LT(vertices.size(), 100u) << "still far fewer vertices than samples";
  }
}

TEST(CurveVertices, AStraightStretchIsOneLineAndAStepKeepsItsCorners) {
  const ZoomedLane linear{{RealParam(), {{0, 0.0f, KeyCurve::Linear}, {900, 1.0f, KeyCurve::Linear}}}, 0};
  const std::vector<CurveVertex> line = CurveVertices(0, 900, [&](int xPx) { return linear.YAt(xPx); });
  ASSERT_EQ(line.size(), 2u);

  const ZoomedLane step{{RealParam(), {{0, 0.0f, KeyCurve::Step}, {400, 1.0f, KeyCurve::Step}}}, 0};
  const std::vector<CurveVertex> stairs = CurveVertices(0, 800, [&](int xPx) { return step.YAt(xPx); });
  EXPECT_LE(stairs.size(), 4u) << "flat, the jump, flat";
  EXPECT_LT(WorstStrayPx(step, stairs, 0, 396), 1.0);
  EXPECT_LT(WorstStrayPx(step, stairs, 402, 800), 1.0);
}

TEST(CurveVertices, ANarrowSpanHasItsEnds) {
  int asked = 0;
  const auto flat = [&](int) { return ++asked, 5.0; };
  EXPECT_TRUE(CurveVertices(10, 9, flat).empty());
  EXPECT_EQ(CurveVertices(10, 10, flat).size(), 1u);
  const std::vector<CurveVertex> two = CurveVertices(10, 11, flat);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two.back().xPx, 11);
  asked = 0;
  (void)CurveVertices(0, 3000, flat);
  EXPECT_EQ(asked, 1001) << "once per sample";
}
