#include "cli/overlapped_frames.h"

#include "gpu/device_extras.h"

FrameWriterThread::FrameWriterThread(FrameWrite write) : write_(std::move(write)), thread_([this] { Run(); }) {}

FrameWriterThread::~FrameWriterThread() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool FrameWriterThread::Push(uint32_t frameIndex, RgbaImage image) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return failed_ || queued_.size() < kMaxQueued; });
  if (failed_) return false;
  queued_.emplace_back(frameIndex, std::move(image));
  changed_.notify_all();
  return true;
}

bool FrameWriterThread::Finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return failed_ || (queued_.empty() && !writing_); });
  return !failed_;
}

void FrameWriterThread::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
    if (stopping_) return;
    auto [frameIndex, image] = std::move(queued_.front());
    queued_.pop_front();
    writing_ = true;
    lock.unlock();
    const bool written = write_(frameIndex, image);
    lock.lock();
    writing_ = false;
    if (!written) {
      failed_ = true;
      queued_.clear();
    }
    changed_.notify_all();
  }
}

bool OverlappedFrames::PassOldest() {
  DeviceExtras* extras = ExtrasOf(device_);
  RgbaImage image;
  if (extras == nullptr || !extras->TakeReadBack(image)) return false;
  const uint32_t frameIndex = inFlight_.front();
  inFlight_.pop_front();
  return writer_.Push(frameIndex, std::move(image));
}

bool OverlappedFrames::Add(uint32_t frameIndex) {
  DeviceExtras* extras = ExtrasOf(device_);
  if (extras == nullptr || !extras->QueueReadBack()) return false;
  inFlight_.push_back(frameIndex);
  return inFlight_.size() < 2 || PassOldest();
}

bool OverlappedFrames::Finish() {
  while (!inFlight_.empty())
    if (!PassOldest()) return false;
  return writer_.Finish();
}
