#pragma once
// The program's frame step for a window tested alone: while a FrameTimer lives, the event loop runs
// frame (a window showing its model) about 60 times a second, as the program's frames do.
#include <FL/Fl.H>

#include <functional>
#include <utility>

class FrameTimer {
 public:
  explicit FrameTimer(std::function<void()> frame) : frame_(std::move(frame)) {
    Fl::add_timeout(kFrameSeconds, Tick, this);
  }
  ~FrameTimer() { Fl::remove_timeout(Tick, this); }
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

 private:
  static constexpr double kFrameSeconds = 1 / 60.0;
  static void Tick(void* data) {
    static_cast<FrameTimer*>(data)->frame_();
    Fl::repeat_timeout(kFrameSeconds, Tick, data);
  }
  std::function<void()> frame_;
};
