#pragma once
// The vertices of a lane's curve: the curve is sampled every kCurveStepPx and a vertex is kept only
// where the line through the kept ones would stray more than kCurveSlackPx from a sample, so a straight
// stretch (linear, step) is one line and a gentle bend gets as many vertices as it needs at any zoom.
#include <functional>
#include <vector>

inline constexpr int kCurveStepPx = 3;
inline constexpr double kCurveSlackPx = 0.5;

struct CurveVertex {
  int xPx = 0;
  double yPx = 0;
};

// From leftPx to rightPx (both ends always kept; none when rightPx < leftPx); yAt gives the curve's
// height at a pixel column and is asked once per sample.
std::vector<CurveVertex> CurveVertices(int leftPx, int rightPx, const std::function<double(int xPx)>& yAt);
