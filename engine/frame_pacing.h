#pragma once
// The frame loop's pace: frames start at most maxFps times a second (the display's refresh, or
// --max-fps), so playback does not draw frames no one sees. Times are seconds of a monotonic clock.
#include <limits>

class FramePacer {
 public:
  // maxFps 0 (or below): no cap.
  explicit FramePacer(double maxFps) : intervalS_(maxFps > 0 ? 1.0 / maxFps : 0.0) {}

  // A frame starts at nowS. One that starts less than a frame's interval after it was due keeps the
  // rhythm (the next one is due an interval after this one was); a later one starts the rhythm anew,
  // so a slow frame is not followed by a burst of quick ones.
  void FrameStarted(double nowS) { dueS_ = nowS - dueS_ < intervalS_ ? dueS_ + intervalS_ : nowS + intervalS_; }
  // How long to wait from nowS on before the next frame; 0 when it is due.
  double SecondsToNext(double nowS) const { return dueS_ > nowS ? dueS_ - nowS : 0.0; }

 private:
  double intervalS_;
  double dueS_ = -std::numeric_limits<double>::infinity();  // when the next frame is due
};
