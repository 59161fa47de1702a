#include "timeline/curve_vertices.h"

#include <algorithm>
#include <limits>

std::vector<CurveVertex> CurveVertices(int leftPx, int rightPx, const std::function<double(int xPx)>& yAt) {
  std::vector<CurveVertex> vertices;
  if (rightPx < leftPx) return vertices;
  CurveVertex anchor{leftPx, yAt(leftPx)};
  vertices.push_back(anchor);
  // The slopes from the anchor that pass within the slack of every sample since it; a line to a later
  // sample whose slope lies within them passes them all.
  double lowest = -std::numeric_limits<double>::infinity(), highest = std::numeric_limits<double>::infinity();
  CurveVertex last = anchor;
  for (int xPx = leftPx; xPx < rightPx;) {
    xPx = std::min(xPx + kCurveStepPx, rightPx);
    const CurveVertex sample{xPx, yAt(xPx)};
    double dx = sample.xPx - anchor.xPx;
    double slope = (sample.yPx - anchor.yPx) / dx;
    if (slope < lowest || slope > highest) {  // the line would miss a sample on the way: bend at the last
      anchor = last;
      vertices.push_back(anchor);
      lowest = -std::numeric_limits<double>::infinity(), highest = std::numeric_limits<double>::infinity();
      dx = sample.xPx - anchor.xPx;
      slope = (sample.yPx - anchor.yPx) / dx;
    }
    lowest = std::max(lowest, slope - kCurveSlackPx / dx);
    highest = std::min(highest, slope + kCurveSlackPx / dx);
    last = sample;
  }
  if (last.xPx != anchor.xPx) vertices.push_back(last);
  return vertices;
}
