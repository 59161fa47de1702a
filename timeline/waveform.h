#pragma once
// The soundtrack's waveform under the timeline's axis. The MP3 is decoded once, with the music's own
// decoder, in a thread of its own; what is kept is the lowest and highest sample of every 10 ms. The
// drawing asks for one low/high pair per pixel column, worked out again only when the width, the zoom
// or the scroll of the axis changes.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "timeline/timeline_geometry.h"

inline constexpr uint32_t kPeakMs = 10;

// Low and high sample (-1..1, left and right mixed) of each kPeakMs of sound, in order.
struct WavePeaks {
  std::vector<float> low, high;
};

// Decodes the whole file; empty peaks when it cannot be read. cancel stops it early (empty peaks).
WavePeaks DecodeWavePeaks(const std::string& mp3Path, const std::atomic<bool>& cancel);

struct ColumnPeak {
  float low = 1, high = -1;  // as it stays where there is no sound: nothing to draw
};
// One pair per pixel column from x = 0 to geometry.widthPx - 1.
std::vector<ColumnPeak> PeaksPerColumn(const WavePeaks& peaks, const TimelineGeometry& geometry);

class Waveform {
 public:
  // Starts decoding mp3Path in the background.
  explicit Waveform(const std::string& mp3Path);
  ~Waveform();  // stops the decoding
  Waveform(const Waveform&) = delete;
  Waveform& operator=(const Waveform&) = delete;

  bool Ready() const { return ready_.load(std::memory_order_acquire); }
  // The columns for geometry; empty until Ready().
  const std::vector<ColumnPeak>& Columns(const TimelineGeometry& geometry);

 private:
  WavePeaks peaks_;  // written by the thread before ready_ is set, read-only afterwards
  std::atomic<bool> ready_{false};
  std::atomic<bool> cancel_{false};
  std::thread worker_;
  TimelineGeometry columnsFor_{-1, 0, 0, 0, {}};  // the axis the columns were worked out for
  std::vector<ColumnPeak> columns_;
};
