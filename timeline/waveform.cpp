#include "timeline/waveform.h"

#include <algorithm>
#include <cmath>

#include "audio/mp3_decoder.h"

namespace {
constexpr uint64_t kFramesPerPeak = uint64_t(kMp3RateHz) * kPeakMs / 1000;
constexpr uint64_t kChunkFrames = kFramesPerPeak * 100;  // one second at a time
}  // namespace

WavePeaks DecodeWavePeaks(const std::string& mp3Path, const std::atomic<bool>& cancel) {
  WavePeaks peaks;
  Mp3Decoder decoder;
  if (!OpenMp3(decoder, mp3Path).empty()) return peaks;
  float low = 1, high = -1;
  uint64_t inPeak = 0;
  // The decoder keeps what it decoded; the peaks need each chunk once, so it is dropped as it goes.
  while (!cancel.load(std::memory_order_relaxed)) {
    decoder.samples.clear();
    const uint64_t frames = DecodeMp3Frames(decoder, kChunkFrames);
    if (frames == 0) break;
    const int16_t* sample = decoder.samples.data();
    for (uint64_t frame = 0; frame < frames; ++frame, sample += kMp3Channels) {
      const float mixed = (float(sample[0]) + float(sample[1])) / 65536.0f;
      low = std::min(low, mixed);
      high = std::max(high, mixed);
      if (++inPeak == kFramesPerPeak) {
        peaks.low.push_back(low);
        peaks.high.push_back(high);
        low = 1, high = -1, inPeak = 0;
      }
    }
  }
  if (inPeak > 0) {
    peaks.low.push_back(low);
    peaks.high.push_back(high);
  }
  CloseMp3(decoder);
  if (cancel.load()) return {};
  return peaks;
}

std::vector<ColumnPeak> PeaksPerColumn(const WavePeaks& peaks, const TimelineGeometry& geometry) {
  std::vector<ColumnPeak> columns(std::max(geometry.widthPx, 0));
  const size_t count = peaks.low.size();
  for (int x = 0; x < geometry.widthPx; ++x) {
    const double fromMs = std::max(0.0, (double(TimeOfPixel(geometry, x)) + TimeOfPixel(geometry, x - 1)) / 2);
    const double toMs = (double(TimeOfPixel(geometry, x)) + TimeOfPixel(geometry, x + 1)) / 2;
    size_t first = static_cast<size_t>(fromMs / kPeakMs);
    const size_t last = std::max(first + 1, static_cast<size_t>(std::ceil(toMs / kPeakMs)));
    if (first >= count) continue;
    ColumnPeak& column = columns[x];
    column = {peaks.low[first], peaks.high[first]};
    for (size_t i = first + 1; i < std::min(last, count); ++i) {
      column.low = std::min(column.low, peaks.low[i]);
      column.high = std::max(column.high, peaks.high[i]);
    }
  }
  return columns;
}

Waveform::Waveform(const std::string& mp3Path)
    : worker_([this, mp3Path] {
        peaks_ = DecodeWavePeaks(mp3Path, cancel_);
        ready_.store(true, std::memory_order_release);
      }) {}

Waveform::~Waveform() {
  cancel_.store(true);
  worker_.join();
}

const std::vector<ColumnPeak>& Waveform::Columns(const TimelineGeometry& geometry) {
  if (!Ready()) {
    columns_.clear();
    return columns_;
  }
  const bool sameAxis = geometry.widthPx == columnsFor_.widthPx && geometry.lengthMs == columnsFor_.lengthMs &&
                        geometry.view.firstMs == columnsFor_.view.firstMs &&
                        ScalePxPerMs(geometry) == ScalePxPerMs(columnsFor_);
  if (!sameAxis) {
    columns_ = PeaksPerColumn(peaks_, geometry);
    columnsFor_ = geometry;
  }
  return columns_;
}
