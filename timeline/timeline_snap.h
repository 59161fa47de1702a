#pragma once
// Where dragged times land: on the grid (beats when a bpm is set, counted from demo time 0, else 10 ms),
// or on a magnet near them (the edges of the other entries, the play cursor, the demo's end), which wins
// over the grid. With snapping off (Alt held) a time lands on the whole ms. Times are ms of demo time.
#include <cstdint>
#include <optional>
#include <vector>

#include "scene/sequence.h"

inline constexpr int kSnapReachPx = 6;  // how near (on screen) a magnet takes a dragged time

double GridStepMs(std::optional<double> bpm);
// The grid point nearest timeMs (negative times snap to 0).
uint32_t SnapMs(double timeMs, std::optional<double> bpm);
// The last grid point at or before timeMs.
uint32_t GridPointAtOrBeforeMs(double timeMs, std::optional<double> bpm);

struct SnapTargets {
  std::optional<double> bpm;
  std::vector<uint32_t> magnetsMs;
  double reachMs = 0;
  bool off = false;
};

// The magnets for dragging entry `dragged`: every other entry's start and end (the ms after EndTime),
// the cursor and the demo's end.
SnapTargets DragTargets(const SceneSequence& sequence, int dragged, uint32_t cursorMs, std::optional<double> bpm,
                        double reachMs, bool off);

// A dragged time: the nearest magnet within reach, else the nearest grid point.
uint32_t SnapTime(double timeMs, const SnapTargets& targets);
// The start of a moved bar spanMs long (start to the ms after its end): its start or its end on the
// nearest magnet within reach, else its start on the grid.
uint32_t SnapMove(double startMs, uint32_t spanMs, const SnapTargets& targets);
