#include "engine/stats_caption.h"

#include "scene/round.h"

namespace {
constexpr const char* kDegree = "\xC2\xB0";  // the degree sign in UTF-8

std::string Dec(double value) { return std::to_string(static_cast<long long>(value)); }
}  // namespace

std::string StatsCaption(const CaptionSizes& sizes, const DemoClock& clock, uint32_t demoLengthMs) {
  const std::string degree = kDegree;
  const double progressPercent = Round(static_cast<double>(clock.DemoTime) / demoLengthMs * 100);
  return "F.c: " + Dec(sizes.clientWidthPx) + "/" + Dec(sizes.clientHeightPx) + " A.s: " + Dec(sizes.ViewWidth) + "/" +
         Dec(sizes.ViewHeight) + " f: " + Dec(clock.FrameCount) + " " + degree + " t: " + Dec(clock.DemoTime) + " (" +
         Dec(progressPercent) + "%) " + "ms " + degree + " fx-t: " + Dec(clock.FxTime) + "ms " + degree +
         " fps: " + Dec(clock.Fps) + " " + degree + " afps: " + Dec(clock.AvgFps);
}

std::string WithMusicCpu(const std::string& caption, float cpuPercent) {
  return caption + " " + kDegree + " mcpu: " + Dec(Round(cpuPercent)) + "%";
}
