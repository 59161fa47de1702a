#pragma once
// The export's frames in flight: while frame n+1 is drawn, frame n's pixels are copied out of the
// device, and a writer thread hands the frames before it to their destination (ffmpeg's pipe or PNG
// files), at most two waiting. So rendering, the copy and the encoder work at the same time.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "gpu/d3d8.h"
#include "gpu/rgba_image.h"

// Writes one frame; false when it could not (the export stops).
using FrameWrite = std::function<bool(uint32_t frameIndex, const RgbaImage& image)>;

// Runs write on a thread of its own, frame after frame in the order they were pushed.
class FrameWriterThread {
 public:
  explicit FrameWriterThread(FrameWrite write);
  ~FrameWriterThread();  // stops after the frame being written; the waiting ones are dropped

  // Queues a frame, waiting while two are queued. False once a write failed: nothing more is written.
  bool Push(uint32_t frameIndex, RgbaImage image);
  // Waits until every queued frame is written; false when a write failed.
  bool Finish();

 private:
  void Run();

  static constexpr size_t kMaxQueued = 2;
  FrameWrite write_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<uint32_t, RgbaImage>> queued_;
  bool writing_ = false, failed_ = false, stopping_ = false;
  std::thread thread_;
};

// The read-back side: Add after each drawn frame queues its copy on the device and passes the frame
// before it to the writer.
class OverlappedFrames {
 public:
  OverlappedFrames(IDirect3DDevice8* device, FrameWrite write) : device_(device), writer_(std::move(write)) {}

  // False when the device cannot read its pixels or a write failed.
  bool Add(uint32_t frameIndex);
  // Passes the last frame on and waits for the writer; false when anything failed.
  bool Finish();

 private:
  bool PassOldest();

  IDirect3DDevice8* device_;
  FrameWriterThread writer_;
  std::deque<uint32_t> inFlight_;  // frames whose copies are queued on the device, oldest first
};
