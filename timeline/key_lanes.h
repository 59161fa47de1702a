#pragma once
// Where an entry's keys go in its automation lanes, without a window toolkit: a key stands at its
// entry's start plus its time on the axis, and at its value's height in the lane, the lane spanning the
// keys' lowest to highest value (the parameter's whole range for whole numbers and switches). Positions
// are pixels of the drawing area, as timeline_geometry.h has them.
#include <optional>
#include <vector>

#include "scene/automation.h"
#include "timeline/timeline_geometry.h"

// The values a lane spans from its bottom to its top.
struct LaneRange {
  double low = 0, high = 1;
};
LaneRange LaneValueRange(const AutomationTrack& track);

// The y of a value in the lane whose top is laneTopPx (the range's ends kLanePaddingPx inside it).
double LaneYOfValue(int laneTopPx, LaneRange range, double value);

// The x of a key of entry.
double KeyXPx(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, const AutomationKey& key);

// The entry's local time (ms from its start) under xPx, within 0..the entry's last ms.
uint32_t LocalTimeOfPixel(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int xPx);
// The entry's last ms from its start: the latest a key can be put (0 for an entry that is never drawn).
uint32_t LastLocalMs(const TSceneSeqEntry& entry);

// The key of the track whose handle is within kKeyGrabPx of the pointer (the nearest); lane is the
// track's lane of the open entry.
std::optional<size_t> KeyAt(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int lane, int xPx, int yPx);

// The keys of the open entry's lanes whose handles lie inside the rectangle between two corners.
struct KeyRef {
  int param = 0;     // the track's parameter
  size_t index = 0;  // the key's place in the track
  auto operator<=>(const KeyRef&) const = default;
};
std::vector<KeyRef> KeysInBox(const TimelineGeometry& geometry, const TSceneSeqEntry& entry, int x1Px, int y1Px,
                              int x2Px, int y2Px);
