#include "timeline/timeline_snap.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t ToTime(double timeMs) {
  return static_cast<uint32_t>(std::clamp(std::round(timeMs), 0.0, double(kMaxEffectTime)));
}

// The magnet nearest timeMs within reach.
std::optional<uint32_t> NearestMagnet(double timeMs, const SnapTargets& targets) {
  std::optional<uint32_t> nearest;
  for (uint32_t magnet : targets.magnetsMs) {
    const double distance = std::fabs(magnet - timeMs);
    if (distance <= targets.reachMs && (!nearest || distance < std::fabs(*nearest - timeMs))) nearest = magnet;
  }
  return nearest;
}

}  // namespace

double GridStepMs(std::optional<double> bpm) { return bpm && *bpm > 0 ? 60000.0 / *bpm : 10.0; }

uint32_t SnapMs(double timeMs, std::optional<double> bpm) {
  const double step = GridStepMs(bpm);
  return ToTime(std::round(std::max(timeMs, 0.0) / step) * step);
}

uint32_t GridPointAtOrBeforeMs(double timeMs, std::optional<double> bpm) {
  const double step = GridStepMs(bpm);
  double beats = std::floor(std::max(timeMs, 0.0) / step);
  if (std::round(beats * step) > timeMs && beats > 0) beats -= 1;  // a grid point rounded up past timeMs
  return ToTime(beats * step);
}

SnapTargets DragTargets(const SceneSequence& sequence, int dragged, uint32_t cursorMs, std::optional<double> bpm,
                        double reachMs, bool off) {
  SnapTargets targets{bpm, {cursorMs, sequence.DemoLength}, reachMs, off};
  for (int i = 0; i < static_cast<int>(sequence.SequenceEntries.size()); ++i) {
    if (i == dragged) continue;
    const TSceneSeqEntry& entry = sequence.SequenceEntries[i];
    targets.magnetsMs.push_back(entry.StartTime);
    targets.magnetsMs.push_back(std::min(entry.EndTime, kMaxEffectTime - 1) + 1);
  }
  return targets;
}

uint32_t SnapTime(double timeMs, const SnapTargets& targets) {
  if (targets.off) return ToTime(timeMs);
  if (const std::optional<uint32_t> magnet = NearestMagnet(timeMs, targets)) return *magnet;
  return SnapMs(timeMs, targets.bpm);
}

uint32_t SnapMove(double startMs, uint32_t spanMs, const SnapTargets& targets) {
  if (targets.off) return ToTime(startMs);
  const std::optional<uint32_t> startMagnet = NearestMagnet(startMs, targets);
  const std::optional<uint32_t> endMagnet = NearestMagnet(startMs + spanMs, targets);
  const bool endNearer =
      endMagnet && *endMagnet >= spanMs &&
      (!startMagnet || std::fabs(*endMagnet - (startMs + spanMs)) < std::fabs(*startMagnet - startMs));
  if (endNearer) return *endMagnet - spanMs;
  if (startMagnet) return *startMagnet;
  return SnapMs(startMs, targets.bpm);
}
